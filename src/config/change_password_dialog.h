#pragma once
// frmChangePass: checks the old password, takes the new one twice and
// stores it encoded. Opened from the configuration dialog, or alone in the
// change-password mode, where closing it ends the program.

#include <memory>

#include "platform/host.h"
#include "state/saver_state.h"

namespace pictavo::config {

class ChangePasswordDialog : private platform::FormHandler {
  public:
    static constexpr const char* kFormName = "frmChangePass";

    ChangePasswordDialog(platform::Host& host, SaverState& state);
    ~ChangePasswordDialog() override;
    ChangePasswordDialog(const ChangePasswordDialog&) = delete;
    ChangePasswordDialog& operator=(const ChangePasswordDialog&) = delete;

    static platform::FormSpec layout();

    // Over the configuration dialog, which waits until it closes.
    void showModal(platform::Form* owner);
    // As the program's only window: closing it ends the program.
    void showAsProgram();
    platform::Form* form() { return form_.get(); }

  private:
    void open(platform::Form* owner);
    void load();
    void onEvent(platform::Form& form, platform::Event& event) override;
    platform::Control& control(const char* name) { return form_->control(name); }

    void updateNewPasswordBoxes();
    void enableOk();
    void submitOnEnter(platform::Event& event);
    void changePassword();
    void tellProblem(const std::string& first, const std::string& second);
    void close();

    platform::Host& host_;
    SaverState& state_;
    std::unique_ptr<platform::Form> form_;
    bool endsProgram_ = false;
};

}  // namespace pictavo::config
