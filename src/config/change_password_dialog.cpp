#include "config/change_password_dialog.h"

#include "config/password_encoding.h"
#include "config/window_placement.h"
#include "dialogs/reactions.h"
#include "settings/settings.h"

namespace pictavo::config {

namespace {
using platform::EventType;
using platform::kFormItself;
using platform::Reaction;

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
    static constexpr Reaction<ChangePasswordDialog> kReactions[] = {
        {EventType::Change, "Text1", &ChangePasswordDialog::updateNewPasswordBoxes},
        {EventType::Change, "Text2", &ChangePasswordDialog::enableOk},
        {EventType::Change, "Text3", &ChangePasswordDialog::enableOk},
        {EventType::KeyPress, "Text1", &ChangePasswordDialog::submitOnEnter},
        {EventType::KeyPress, "Text2", &ChangePasswordDialog::submitOnEnter},
        {EventType::KeyPress, "Text3", &ChangePasswordDialog::submitOnEnter},
        {EventType::Click, "PicBtn5", &ChangePasswordDialog::changePassword},
        {EventType::Click, "PicBtn4", &ChangePasswordDialog::close},
        {EventType::Close, kFormItself, &ChangePasswordDialog::close},
    };
    platform::react(*this, kReactions, event);
}

void ChangePasswordDialog::updateNewPasswordBoxes() {
    const bool typed = !control("Text1").text().empty();
    for (const char* name : {"Text2", "Text3", "Label3", "Label2", "PicBtn5"})
        control(name).setEnabled(typed);
}

void ChangePasswordDialog::enableOk() {
    control("PicBtn5").setEnabled(true);
}

void ChangePasswordDialog::submitOnEnter(platform::Event& event) {
    if (event.key != kEnter) return;
    // Swallowed, so that the default button does not run the check a second time.
    event.key = 0;
    changePassword();
}

void ChangePasswordDialog::changePassword() {
    if (EncodePassword(control("Text1").text()) != state_.Password) {
        tellProblem("The value for Old Password is not correct.",
                    "Please check your screen-saver password, and then try again.");
        for (const char* name : {"Text1", "Text2", "Text3"}) control(name).setText("");
        updateNewPasswordBoxes();
        control("Text1").setFocus();
        return;
    }
    if (control("Text2").text() != control("Text3").text()) {
        tellProblem("The values for New Password and Confirm New Password do not match.",
                    "Try again.");
        for (const char* name : {"Text2", "Text3"}) control(name).setText("");
        enableOk();
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

void ChangePasswordDialog::tellProblem(const std::string& first, const std::string& second) {
    host_.dialogs().messageBox(first + kSeparator + second, kTitle,
                               platform::kMbOk | platform::kMbIconStop);
}

void ChangePasswordDialog::close() {
    form_->unload();
    if (endsProgram_) host_.eventLoop().requestEnd();
}

}  // namespace pictavo::config
