#pragma once
// frmSSPassword: asked for over the running show when the system's
// password switch is on. The right password ends the saver; Cancel returns
// to the show.

#include <functional>
#include <memory>
#include <string>

#include "platform/host.h"
#include "platform/layout.h"
#include "state/saver_state.h"

namespace pictavo::slideshow {

// Turns typed text into the stored form of the password.
using PasswordEncoder = std::function<std::string(const std::string& typed)>;

class PasswordPrompt : private platform::FormHandler {
  public:
    PasswordPrompt(platform::Host& host, SaverState& state, PasswordEncoder encodePassword,
                   std::function<void()> unloadSlideWindow);
    ~PasswordPrompt() override;

    static platform::FormSpec layout();

    // Loads and shows the prompt; when it is already open, only brings it forward.
    void show();
    bool isOpen() const { return form_ && form_->loaded(); }
    // The open prompt, or nullptr.
    platform::Form* form() { return isOpen() ? form_.get() : nullptr; }

  private:
    void onEvent(platform::Form& form, platform::Event& event) override;
    void load();
    void checkPassword();
    void returnToShow();
    void focusPasswordBox();

    platform::Host& host_;
    SaverState& state_;
    PasswordEncoder encodePassword_;
    std::function<void()> unloadSlideWindow_;
    std::unique_ptr<platform::Form> form_;
    // The prompt unloaded last time. A form is never destroyed from inside
    // its own handler, so it stays until the next one opens.
    std::unique_ptr<platform::Form> retired_;
};

}  // namespace pictavo::slideshow
