#pragma once
// Message boxes answered at once; every one is recorded.

#include <functional>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace pictavo::platform::headless {

class HeadlessDialogs : public Dialogs {
  public:
    struct Shown {
        std::string text;
        std::string title;
        int style = 0;
    };

    int messageBox(const std::string& text, const std::string& title, int style) override {
        shown_.push_back({text, title, style});
        if (onShown_) onShown_(shown_.back());
        return 1;
    }

    // Runs while a box is open, before it returns (a modal box runs the loop).
    void setOnShown(std::function<void(const Shown&)> onShown) { onShown_ = std::move(onShown); }
    const std::vector<Shown>& shown() const { return shown_; }
    void clear() { shown_.clear(); }

  private:
    std::vector<Shown> shown_;
    std::function<void(const Shown&)> onShown_;
};

}  // namespace pictavo::platform::headless
