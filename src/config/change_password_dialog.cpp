#include "config/change_password_dialog.h"

#include "config/password_encoding.h"
#include "config/window_placement.h"
#include "settings/settings.h"

namespace pictavo::config {

namespace {
using platform::EventType;

constexpr const char* kTitle = "Change Password";
// Between the two parts of each message.
constexpr const char* kSeparator = "\n\r\n\r";
constexpr int kEnter = 13;
}  // namespace

ChangePasswordDialog::ChangePasswordDialog(platform::Host& host, SaverState& state)
    : host_(host), state_(state) {}

ChangePasswordDialog::~ChangePasswordDialog() = default;

void ChangePasswordDialog::showModal(platform::Form* owner) {
    endsProgram_ = false;
    open(owner);
    form_->show(true);
}

void ChangePasswordDialog::showAsProgram() {
    endsProgram_ = true;
    open(nullptr);
    form_->show(false);
}

void ChangePasswordDialog::open(platform::Form* owner) {
    form_ = host_.forms().create(layout(), *this, owner);
    load();
}

void ChangePasswordDialog::load() {
    centreOnScreen(*form_, host_.screen());
    if (state_.Password.empty()) {
        // Nothing to check yet: go straight to the new password.
        control("Text1").setEnabled(false);
        control("Label1").setEnabled(false);
        for (const char* name : {"Text2", "Label2", "Text3", "Label3"})
            control(name).setEnabled(true);
        control("Text2").setFocus();
    }
}

void ChangePasswordDialog::onEvent(platform::Form&, platform::Event& event) {
    const std::string& name = event.control;
    switch (event.type) {
        case EventType::Change:
            if (name == "Text1") text1Change();
            if (name == "Text2" || name == "Text3") newPasswordChange();
            return;
        case EventType::KeyPress:
            if (name == "Text1" || name == "Text2" || name == "Text3") passwordKeyPress(event);
            return;
        case EventType::Click:
            if (name == "PicBtn5") picBtn5Click();
            if (name == "PicBtn4") picBtn4Click();
            return;
        case EventType::Close:
            if (name.empty()) close();
            return;
        default:
            return;
    }
}

void ChangePasswordDialog::text1Change() {
    const bool typed = !control("Text1").text().empty();
    for (const char* name : {"Text2", "Text3", "Label3", "Label2", "PicBtn5"})
        control(name).setEnabled(typed);
}

void ChangePasswordDialog::newPasswordChange() {
    control("PicBtn5").setEnabled(true);
}

void ChangePasswordDialog::passwordKeyPress(platform::Event& event) {
    if (event.key != kEnter) return;
    // Swallowed, so that the default button does not run the check a second time.
    event.key = 0;
    picBtn5Click();
}

void ChangePasswordDialog::picBtn5Click() {
    if (EncodePassword(control("Text1").text()) != state_.Password) {
        tellProblem("The value for Old Password is not correct.",
                    "Please check your screen-saver password, and then try again.");
        for (const char* name : {"Text1", "Text2", "Text3"}) control(name).setText("");
        text1Change();
        control("Text1").setFocus();
        return;
    }
    if (control("Text2").text() != control("Text3").text()) {
        tellProblem("The values for New Password and Confirm New Password do not match.",
                    "Try again.");
        for (const char* name : {"Text2", "Text3"}) control(name).setText("");
        newPasswordChange();
        control("Text2").setFocus();
        return;
    }
    std::string encoded = EncodePassword(control("Text2").text());
    // A password the user believes set but that never reached the store
    // would lock the show with the old one: say so and keep the dialog open.
    Result<void> stored = settings::savePassword(host_.settings(), encoded);
    if (!stored) {
        tellProblem("The new password could not be saved.", stored.error().message);
        return;
    }
    state_.Password = encoded;
    close();
}

void ChangePasswordDialog::picBtn4Click() {
    close();
}

void ChangePasswordDialog::tellProblem(const std::string& first, const std::string& second) {
    host_.dialogs().messageBox(first + kSeparator + second, kTitle,
                               platform::kMbOk | platform::kMbIconStop);
}

void ChangePasswordDialog::close() {
    form_->unload();
    if (endsProgram_) host_.eventLoop().requestEnd();
}

}  // namespace pictavo::config
