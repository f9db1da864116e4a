#include "slideshow/message_hook.h"

namespace pictavo::slideshow {

MessageHook::MessageHook(platform::WindowSystem& windows, Report report)
    : windows_(windows), report_(std::move(report)) {}

void MessageHook::setHookedWindow(platform::WindowHandle window) {
    window_ = window;
    for (auto& [message, watch] : watches_) {
        watch.reset();
        if (window_ != 0) watch = windows_.hookMessage(window_, message, report_);
    }
}

void MessageHook::setMessage(uint32_t message, bool on) {
    if (!on) {
        watches_.erase(message);
        return;
    }
    auto& watch = watches_[message];
    if (!watch && window_ != 0) watch = windows_.hookMessage(window_, message, report_);
}

}  // namespace pictavo::slideshow
