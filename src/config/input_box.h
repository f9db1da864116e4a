#pragma once
// The one-line input box: a prompt, a text box, OK and Cancel. OK (or
// Enter) hands on the text, Cancel (or Esc, or closing it) hands on
// nothing.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/host.h"

namespace pictavo::config {

class InputBox : private platform::FormHandler {
  public:
    static constexpr const char* kFormName = "frmInputBox";
    // The text, or nullopt when the user cancelled.
    using Answered = std::function<void(const std::optional<std::string>&)>;

    explicit InputBox(platform::Host& host);
    ~InputBox() override;
    InputBox(const InputBox&) = delete;
    InputBox& operator=(const InputBox&) = delete;

    static platform::FormSpec layout();

    // Shows the box modally over owner with initial in its text box. answered
    // runs once the box has closed: before ask returns on hosts whose modal
    // windows block, later on the others.
    void ask(const std::string& prompt, const std::string& title, const std::string& initial,
             platform::Form* owner, Answered answered);
    platform::Form* form() { return form_.get(); }

  private:
    void onEvent(platform::Form& form, platform::Event& event) override;
    void accept();
    void cancel();
    void finish(const std::optional<std::string>& answer);

    platform::Host& host_;
    std::unique_ptr<platform::Form> form_;
    Answered answered_;
};

}  // namespace pictavo::config
