#include "hosts/win32/win32_event_loop.h"

#include "hosts/win32/system_dialog.h"

namespace pictavo::platform::win32 {

Win32EventLoop::Win32EventLoop(OpenWindows& windows, const Clock& clock)
    : windows_(windows),
      clock_(clock),
      wakeEvent_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      timer_(CreateWaitableTimerW(nullptr, TRUE, nullptr)) {}

Win32EventLoop::~Win32EventLoop() {
    if (wakeEvent_ != nullptr) CloseHandle(wakeEvent_);
    if (timer_ != nullptr) CloseHandle(timer_);
}

namespace {

// A message box whose own loop waits for a tick of ours to finish: a
// transition pumps its messages here.
HWND systemDialogOf(const MSG& message) {
    HWND root = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    return isSystemDialog(root) ? root : nullptr;
}

}  // namespace

void Win32EventLoop::dispatch(MSG& message) {
    MessageFilter* filter = windows_.filterFor(message);
    if (filter != nullptr && filter->preTranslate(message)) return;
    // Its keys go through the dialog manager as in its own loop, or Enter
    // and Esc would do nothing until the transition ends.
    HWND dialog = filter == nullptr ? systemDialogOf(message) : nullptr;
    if (dialog != nullptr && IsDialogMessageW(dialog, &message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

void Win32EventLoop::doEvents() {
    const int64_t now = clock_.nowMicros();
    if (now - lastLookMicros_ < kQueueLookMicros) return;
    lastLookMicros_ = now;
    dispatchWaiting();
}

void Win32EventLoop::dispatchWaiting() {
    MSG message;
    while (!endRequested_ && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            endRequested_ = true;
            break;
        }
        dispatch(message);
    }
}

void Win32EventLoop::waitFor(int64_t micros) {
    HANDLE handles[2];
    DWORD count = 0;
    if (wakeEvent_ != nullptr) handles[count++] = wakeEvent_;
    // The timer keeps sub-millisecond pauses on time; without it the wait
    // is rounded up to whole milliseconds.
    DWORD timeout = static_cast<DWORD>((micros + 999) / 1000);
    LARGE_INTEGER due;
    due.QuadPart = -micros * 10;  // relative, in 100 ns units
    const bool timed =
        timer_ != nullptr && SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE) != FALSE;
    if (timed) {
        handles[count++] = timer_;
        timeout = INFINITE;
    }
    const DWORD woke = MsgWaitForMultipleObjectsEx(count, count > 0 ? handles : nullptr, timeout,
                                                   QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (timed) CancelWaitableTimer(timer_);
    if (woke == WAIT_OBJECT_0 + count) dispatchWaiting();
}

void Win32EventLoop::waitForEvents(int64_t deadlineMicros) {
    const int64_t left = deadlineMicros - clock_.nowMicros();
    if (left <= 0) {
        doEvents();
        return;
    }
    waitFor(left);
}

void Win32EventLoop::presentDrawing(Present when) {
    if (when == Present::Now || frameGate_.frameDue()) frameGate_.presentHeld();
}

void Win32EventLoop::awaitWake(int64_t maxMicros) {
    presentDrawing(Present::Now);
    waitFor(maxMicros > 0 ? maxMicros : 0);
}

void Win32EventLoop::wake() {
    if (wakeEvent_ != nullptr) SetEvent(wakeEvent_);
}

void Win32EventLoop::pumpWhile(const std::function<bool()>& keepGoing) {
    MSG message;
    while (!endRequested_ && keepGoing()) {
        BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            endRequested_ = true;  // WM_QUIT, or a queue we can no longer read
            break;
        }
        dispatch(message);
    }
}

void Win32EventLoop::run() {
    presentDrawing(Present::Now);
    pumpWhile([this] { return windows_.count() > 0; });
}

void Win32EventLoop::requestEnd() {
    if (endRequested_) return;
    endRequested_ = true;
    // Wakes a GetMessage that is waiting, so the loop sees the request.
    PostQuitMessage(0);
}

}  // namespace pictavo::platform::win32
