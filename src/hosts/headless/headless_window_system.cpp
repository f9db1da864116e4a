#include "hosts/headless/headless_window_system.h"

#include <algorithm>

namespace pictavo::platform::headless {

struct HeadlessWindowSystem::Hook : MessageHookHandle {
    Hook(HeadlessWindowSystem& owner, WindowHandle w, uint32_t m, std::function<void(uint32_t)> r)
        : system(owner), window(w), message(m), report(std::move(r)) {
        system.hooks_.push_back(this);
    }
    ~Hook() override { std::erase(system.hooks_, this); }
    HeadlessWindowSystem& system;
    WindowHandle window;
    uint32_t message;
    std::function<void(uint32_t)> report;
};

WindowHandle HeadlessWindowSystem::findWindowByTitle(const std::string& title) {
    for (const auto& [handle, window] : windows_)
        if (window.alive && window.topLevel && window.parent == 0 && window.title == title)
            return handle;
    return 0;
}

void HeadlessWindowSystem::setTopmost(WindowHandle window) {
    calls_.push_back("topmost " + std::to_string(window));
    auto found = windows_.find(window);
    if (found != windows_.end() && found->second.alive) found->second.topmost = true;
}

WindowHandle HeadlessWindowSystem::setParent(WindowHandle child, WindowHandle parent) {
    calls_.push_back("setParent " + std::to_string(child) + " " + std::to_string(parent));
    auto found = windows_.find(child);
    if (found == windows_.end() || !found->second.alive) return 0;
    if (parent != 0 && !isWindow(parent)) return 0;
    WindowHandle previous = found->second.parent;
    found->second.parent = parent;
    return previous;
}

bool HeadlessWindowSystem::isWindow(WindowHandle window) {
    auto found = windows_.find(window);
    return found != windows_.end() && found->second.alive;
}

ClientRect HeadlessWindowSystem::clientRect(WindowHandle window) {
    if (!isWindow(window)) return {};
    const Window& w = windows_.at(window);
    return {0, 0, w.width, w.height};
}

std::unique_ptr<MessageHookHandle> HeadlessWindowSystem::hookMessage(
    WindowHandle window, uint32_t message, std::function<void(uint32_t)> report) {
    return std::make_unique<Hook>(*this, window, message, std::move(report));
}

WindowHandle HeadlessWindowSystem::createWindow(const std::string& title, int width, int height,
                                                bool topLevel) {
    WindowHandle handle = next_++;
    windows_[handle] = Window{title, topLevel, true, false, 0, width, height};
    return handle;
}

WindowHandle HeadlessWindowSystem::registerOwn(const std::string& title, bool topLevel) {
    return createWindow(title, 0, 0, topLevel);
}

void HeadlessWindowSystem::setTitle(WindowHandle window, const std::string& title) {
    auto found = windows_.find(window);
    if (found != windows_.end()) found->second.title = title;
}

void HeadlessWindowSystem::setSize(WindowHandle window, int width, int height) {
    auto found = windows_.find(window);
    if (found == windows_.end()) return;
    found->second.width = width;
    found->second.height = height;
}

void HeadlessWindowSystem::destroyWindow(WindowHandle window) {
    auto found = windows_.find(window);
    if (found == windows_.end() || !found->second.alive) return;
    found->second.alive = false;
    for (auto& [handle, child] : windows_)
        if (child.alive && child.parent == window) destroyWindow(handle);
}

void HeadlessWindowSystem::sendClose(WindowHandle window) {
    std::vector<Hook*> matching;
    for (Hook* hook : hooks_)
        if (hook->window == window && hook->message == kWmClose) matching.push_back(hook);
    for (Hook* hook : matching)
        if (std::find(hooks_.begin(), hooks_.end(), hook) != hooks_.end()) hook->report(kWmClose);
}

WindowHandle HeadlessWindowSystem::parentOf(WindowHandle window) const {
    auto found = windows_.find(window);
    return found == windows_.end() ? 0 : found->second.parent;
}

bool HeadlessWindowSystem::isTopmost(WindowHandle window) const {
    auto found = windows_.find(window);
    return found != windows_.end() && found->second.topmost;
}

}  // namespace pictavo::platform::headless
