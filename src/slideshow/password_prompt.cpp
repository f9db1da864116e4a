#include "slideshow/password_prompt.h"

#include "common/numbers.h"
#include "dialogs/reactions.h"
#include "platform/dialogs.h"
#include "slideshow/control_spec.h"
#include "slideshow/mouse_cursor.h"

namespace pictavo::slideshow {

namespace {
using platform::ControlKind;
using platform::ControlSpec;
using platform::EventType;
using platform::kAnyControl;
using platform::Reaction;

constexpr const char* kCaption = "Pictavo/32";
constexpr const char* kWrongText = "Check your screen saver password and try again.";
constexpr const char* kWrongTitle = "Incorrect Password";
constexpr int kMostCharacters = 20;

}  // namespace

PasswordPrompt::PasswordPrompt(platform::Host& host, SaverState& state,
                               PasswordEncoder encodePassword,
                               std::function<void()> unloadSlideWindow)
    : host_(host),
      state_(state),
      encodePassword_(std::move(encodePassword)),
      unloadSlideWindow_(std::move(unloadSlideWindow)) {}

PasswordPrompt::~PasswordPrompt() = default;

platform::FormSpec PasswordPrompt::layout() {
    platform::FormSpec design;
    design.name = "frmSSPassword";
    design.caption = "Enter Password";
    design.clientWidth = 4215;
    design.clientHeight = 2130;
    design.style = platform::FormStyle::FixedDialog;
    // Only OK and Cancel leave the prompt: no window menu, no close box.
    design.controlBox = false;
    design.backColour = platform::bgr(192, 192, 192);
    design.keyPreview = true;

    ControlSpec text1 = makeControl("Text1", ControlKind::TextBox, {1800, 1080, 2055, 285});
    text1.passwordChar = '*';
    text1.maxLength = kMostCharacters;
    text1.tabIndex = 0;

    ControlSpec label1 =
        makeControl("Label1", ControlKind::Label, {840, 240, 3135, 735},
                    "The screen saver you are using is password protected. You must type in "
                    "the screen saver password to turn off the screen saver.");
    label1.wordWrap = true;
    ControlSpec label2 =
        makeControl("Label2", ControlKind::Label, {840, 1080, 975, 255}, "Password:");

    ControlSpec command1 =
        makeControl("Command1", ControlKind::Button, {2760, 1560, 1095, 375}, "Cancel");
    command1.isCancel = true;
    command1.tabIndex = 3;
    ControlSpec command2 =
        makeControl("Command2", ControlKind::Button, {840, 1560, 1095, 375}, "OK");
    command2.isDefault = true;
    command2.tabIndex = 4;

    ControlSpec image1 = makeControl("Image1", ControlKind::Image, {120, 480, 690, 765});
    image1.resource = "padlock";

    // The design's Timer1 has an interval of 0: it never ticks, so it is left out.
    design.controls = {text1, label1, label2, command1, command2, image1};
    return design;
}

void PasswordPrompt::show() {
    if (isOpen()) {
        form_->bringToFront();
        return;
    }
    retired_ = std::move(form_);
    form_ = host_.forms().create(layout(), *this, nullptr);
    load();
}

void PasswordPrompt::load() {
    platform::Form& form = *form_;
    host_.windows().setTopmost(form.handle());
    form.setCaption(kCaption);
    platform::TwipsRect bounds = form.bounds();
    const platform::Screen& screen = host_.screen();
    bounds.left = toInt32(screen.widthTwips() / 2 - bounds.width / 2.0);
    bounds.top = toInt32(screen.heightTwips() / 2 - bounds.height / 2.0);
    form.move(bounds);
    form.show(false);
    focusPasswordBox();
}

void PasswordPrompt::onEvent(platform::Form&, platform::Event& event) {
    static constexpr Reaction<PasswordPrompt> kReactions[] = {
        {EventType::Click, "Command2", &PasswordPrompt::checkPassword},
        {EventType::Click, "Command1", &PasswordPrompt::returnToShow},
        {EventType::Paint, kAnyControl, &PasswordPrompt::focusPasswordBox},
    };
    platform::react(*this, kReactions, event);
}

void PasswordPrompt::checkPassword() {
    std::string typed = form_->control("Text1").text();
    if (encodePassword_(typed) != state_.Password) {
        // Emptied and focused before the box: a transition can keep the
        // box's loop running after it has closed, and what the user types
        // meanwhile is the next try, to go into the box and stay there.
        form_->control("Text1").setText("");
        focusPasswordBox();
        host_.dialogs().messageBox(kWrongText, kWrongTitle,
                                   platform::kMbOk | platform::kMbIconStop);
        // The box may have run the loop long enough for the prompt to go.
        if (!isOpen()) return;
        focusPasswordBox();
        return;
    }
    form_->unload();
    unloadSlideWindow_();
    if (state_.ScreenSaverRunningSet) {
        host_.system().setScreenSaverRunning(false);
        state_.ScreenSaverRunningSet = false;
    }
    host_.eventLoop().requestEnd();
}

void PasswordPrompt::returnToShow() {
    state_.MouseOriginPending = true;
    HideMouseCursor(host_.cursor());
    form_->unload();
}

void PasswordPrompt::focusPasswordBox() {
    if (isOpen()) form_->control("Text1").setFocus();
}

}  // namespace pictavo::slideshow
