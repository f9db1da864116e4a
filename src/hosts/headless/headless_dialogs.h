#pragma once
// Message and input boxes answered from a script; every one is recorded.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace pictavo::platform::headless {

class HeadlessDialogs : public Dialogs {
  public:
    struct Shown {
        std::string kind;  // "message" or "input"
        std::string text;  // the message, or the input box's prompt
        std::string title;
        int style = 0;
    };

    int messageBox(const std::string& text, const std::string& title, int style) override {
        shown_.push_back({"message", text, title, style});
        if (onShown_) onShown_(shown_.back());
        return 1;
    }
    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& initial) override {
        shown_.push_back({"input", prompt, title, 0});
        if (onShown_) onShown_(shown_.back());
        if (answers_.empty()) return initial;
        std::optional<std::string> answer = answers_.front();
        answers_.pop_front();
        return answer;
    }

    // The next input box answers with text; nullopt answers Cancel.
    void answerInput(std::optional<std::string> answer) { answers_.push_back(std::move(answer)); }
    // Runs while a box is open, before it returns (a modal box runs the loop).
    void setOnShown(std::function<void(const Shown&)> onShown) { onShown_ = std::move(onShown); }
    const std::vector<Shown>& shown() const { return shown_; }
    void clear() { shown_.clear(); }

  private:
    std::vector<Shown> shown_;
    std::deque<std::optional<std::string>> answers_;
    std::function<void(const Shown&)> onShown_;
};

}  // namespace pictavo::platform::headless
