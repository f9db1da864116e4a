#pragma once
// The thread's message queue. Modal forms and the input box pump it too,
// through pumpWhile, so an end requested inside them ends every loop.

#include <windows.h>

#include <cstdint>
#include <functional>

#include "hosts/win32/frame_gate.h"
#include "hosts/win32/open_windows.h"
#include "platform/clock.h"
#include "platform/event_loop.h"

namespace pictavo::platform::win32 {

class Win32EventLoop : public EventLoop {
  public:
    Win32EventLoop(OpenWindows& windows, const Clock& clock);
    ~Win32EventLoop() override;
    Win32EventLoop(const Win32EventLoop&) = delete;
    Win32EventLoop& operator=(const Win32EventLoop&) = delete;

    // Looks at the queue at most once per kQueueLookMicros: each look is
    // a round trip to the window server under Wine (16-26 us), and the
    // many-step effects pause every 70 us. Input still comes within a
    // millisecond.
    void doEvents() override;
    // MsgWaitForMultipleObjects on a waitable timer for the deadline and
    // the wake event: a message, the deadline or a wake() ends the wait.
    void waitForEvents(int64_t deadlineMicros) override;
    void awaitWake(int64_t maxMicros) override;
    // Sets the wake event; safe from any thread.
    void wake() override;
    void run() override;
    void requestEnd() override;
    bool endRequested() const override { return endRequested_; }
    // Presents the picture boxes' held changes: IfFrameDue once a display
    // frame has passed since the last present.
    void presentDrawing(Present when) override;
    FrameGate& frameGate() { return frameGate_; }
    // A waitable timer and a wait for messages: three round trips to the
    // window server under Wine, dear at the pace of the many-step effects.
    int64_t shortestSleepMicros() const override { return kQueueLookMicros; }
    static constexpr int64_t kQueueLookMicros = 1000;

    // Waits for and dispatches messages while keepGoing() holds and no end
    // was requested.
    void pumpWhile(const std::function<bool()>& keepGoing);

  private:
    void dispatch(MSG& message);
    void dispatchWaiting();
    void waitFor(int64_t micros);

    OpenWindows& windows_;
    const Clock& clock_;
    HANDLE wakeEvent_ = nullptr;
    HANDLE timer_ = nullptr;
    bool endRequested_ = false;
    int64_t lastLookMicros_ = INT64_MIN / 2;
    FrameGate frameGate_;
};

}  // namespace pictavo::platform::win32
