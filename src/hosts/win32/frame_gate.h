#pragma once
// The picture boxes' changes reach the screen at most once per display
// frame (16 ms): a transition presents at every step, and a present that
// comes within a frame of the last is held here until the event loop's next
// frame (a pause when a frame is due, the transition's end, an idle wait).

#include <algorithm>
#include <chrono>
#include <vector>

namespace pictavo::platform::win32 {

class DibSurface;

class FrameGate {
  public:
    bool frameDue() const { return std::chrono::steady_clock::now() - last_ >= kFrame; }
    void framePresented() { last_ = std::chrono::steady_clock::now(); }

    void hold(DibSurface* surface) {
        if (std::find(held_.begin(), held_.end(), surface) == held_.end()) held_.push_back(surface);
    }
    void release(DibSurface* surface) {
        held_.erase(std::remove(held_.begin(), held_.end(), surface), held_.end());
    }
    // Presents every held surface now.
    void presentHeld();

  private:
    static constexpr std::chrono::milliseconds kFrame{16};
    std::chrono::steady_clock::time_point last_{};
    std::vector<DibSurface*> held_;
};

}  // namespace pictavo::platform::win32
