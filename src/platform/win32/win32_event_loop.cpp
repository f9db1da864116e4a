#include "platform/win32/win32_event_loop.h"

namespace pictavo::platform::win32 {

void Win32EventLoop::dispatch(MSG& message) {
    MessageFilter* filter = windows_.filterFor(message);
    if (filter != nullptr && filter->preTranslate(message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

void Win32EventLoop::doEvents() {
    MSG message;
    while (!endRequested_ && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            endRequested_ = true;
            break;
        }
        dispatch(message);
    }
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
    pumpWhile([this] { return windows_.count() > 0; });
}

void Win32EventLoop::requestEnd() {
    if (endRequested_) return;
    endRequested_ = true;
    // Wakes a GetMessage that is waiting, so the loop sees the request.
    PostQuitMessage(0);
}

}  // namespace pictavo::platform::win32
