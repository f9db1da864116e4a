#pragma once
// The thread's message queue. Modal forms and the input box pump it too,
// through pumpWhile, so an end requested inside them ends every loop.

#include <functional>

#include "platform/event_loop.h"
#include "platform/win32/open_windows.h"

namespace pictavo::platform::win32 {

class Win32EventLoop : public EventLoop {
  public:
    explicit Win32EventLoop(OpenWindows& windows) : windows_(windows) {}

    void doEvents() override;
    void run() override;
    void requestEnd() override;
    bool endRequested() const override { return endRequested_; }

    // Waits for and dispatches messages while keepGoing() holds and no end
    // was requested.
    void pumpWhile(const std::function<bool()>& keepGoing);

  private:
    void dispatch(MSG& message);

    OpenWindows& windows_;
    bool endRequested_ = false;
};

}  // namespace pictavo::platform::win32
