#include "hosts/headless/headless_forms.h"

#include <algorithm>
#include <cmath>

#include "hosts/headless/headless_controls.h"
#include "platform/keys.h"

namespace pictavo::platform::headless {

namespace {

// The character a key types, as a US keyboard gives it; 0 for none.
char32_t characterOf(int key, int shift) {
    if ((shift & (keys::kCtrl | keys::kAlt)) != 0) return 0;
    bool shifted = (shift & keys::kShift) != 0;
    if (key >= 'A' && key <= 'Z') return static_cast<char32_t>(shifted ? key : key - 'A' + 'a');
    if (key >= '0' && key <= '9' && !shifted) return static_cast<char32_t>(key);
    if (key == keys::kSpace) return U' ';
    if (key == keys::kEnter) return U'\r';
    if (key == keys::kEscape) return 27;
    if (key == keys::kTab) return U'\t';
    return 0;
}

HeadlessRole* roleOf(const Control& control) {
    return static_cast<HeadlessRole*>(control.native());
}

}  // namespace

HeadlessForm::HeadlessForm(const FormSpec& design, FormHandler& handler,
                           HeadlessFormFactory& factory, HeadlessForm* owner)
    : FormBase(design, handler, factory.openForms(), owner),
      factory_(factory),
      handle_(factory.windows().registerOwn(design.caption, true)),
      caption_(design.caption),
      bounds_{0, 0, design.clientWidth, design.clientHeight} {
    background_.setFrameSink(&factory_.frames());
    const Screen& metrics = factory_.screen();
    background_.resize(static_cast<int>(std::lround(bounds_.width / metrics.twipsPerPixelX())),
                       static_cast<int>(std::lround(bounds_.height / metrics.twipsPerPixelY())));
    buildControls([this](Control& control) -> std::unique_ptr<NativeControl> {
        return makeHeadlessRole(*this, control);
    });
}

HeadlessForm::~HeadlessForm() {
    if (loaded_) unload();
    dropNatives();
}

WindowHandle HeadlessForm::registerChildWindow() {
    WindowHandle handle = factory_.windows().registerOwn("", false);
    factory_.windows().setParent(handle, handle_);
    return handle;
}

HeadlessEventLoop& HeadlessForm::loop() {
    return factory_.loop();
}

const Screen& HeadlessForm::screen() const {
    return factory_.screen();
}

HeadlessFrames& HeadlessForm::frames() {
    return factory_.frames();
}

std::string HeadlessForm::focused() const {
    const Control* control = const_cast<HeadlessForm*>(this)->dialog().focused();
    return control != nullptr ? control->name() : std::string();
}

void HeadlessForm::show(bool modal) {
    if (!loaded_) return;
    visible_ = design().style != FormStyle::Hidden;
    modal_ = modal_ || modal;
    ++showCount_;
    if (modal) beginModal();
    if (!visible_) return;
    shownSerial_ = factory_.nextShownSerial();
    dialog().shown();
}

void HeadlessForm::unload() {
    if (!loaded_) return;
    loaded_ = false;
    visible_ = false;
    endModal();
    for (const auto& control : controls()) roleOf(*control)->unloaded();
    factory_.windows().destroyWindow(handle_);
}

void HeadlessForm::setCaption(const std::string& caption) {
    caption_ = caption;
    factory_.windows().setTitle(handle_, caption);
}

void HeadlessForm::move(const TwipsRect& rect) {
    bool resized = rect.width != bounds_.width || rect.height != bounds_.height;
    bounds_ = rect;
    const Screen& metrics = factory_.screen();
    if (resized)
        background_.resize(static_cast<int>(std::lround(rect.width / metrics.twipsPerPixelX())),
                           static_cast<int>(std::lround(rect.height / metrics.twipsPerPixelY())));
}

bool HeadlessForm::click(std::string_view name) {
    Control& target = control(name);
    if (!loaded_ || blocked() || !target.enabled() || !target.visible()) return false;
    dialog().clicked(target);
    return true;
}

void HeadlessForm::doubleClick(std::string_view name) {
    dialog().doubleClicked(control(name));
}

void HeadlessForm::type(std::string_view name, const std::string& text) {
    Control& target = control(name);
    if (!loaded_ || blocked() || !target.enabled()) return;
    dialog().focusMoved(target);
    dialog().typed(target, text);
}

void HeadlessForm::scroll(std::string_view name, int value) {
    dialog().scrolled(control(name), value);
}

void HeadlessForm::select(std::string_view name, int index) {
    Control& target = control(name);
    if (!loaded_ || blocked() || !target.enabled()) return;
    // As a click on a row: the list takes the focus.
    dialog().focusMoved(target);
    dialog().selected(target, index);
}

// As a toolkit delivers a key: to the dialog first, then, with the
// character it types, to the focused control, which edits itself.
void HeadlessForm::pressKey(int key, int shift) {
    if (!loaded_) return;
    auto alive = aliveToken();
    int down = key;
    bool taken = dialog().keyDown(down, shift);
    if (!*alive || !loaded_) return;
    if (!taken) {
        Control* focus = dialog().focused();
        HeadlessRole* role = focus != nullptr ? roleOf(*focus) : nullptr;
        if (role == nullptr || !role->key(down)) {
            char32_t code = characterOf(down, shift);
            int typed = static_cast<int>(code);
            if (code != 0 && !dialog().character(typed, shift) && role != nullptr)
                role->character(static_cast<char32_t>(typed));
        }
    }
    if (*alive && loaded_) dialog().keyUp(key, shift);
}

void HeadlessForm::typeCharacter(char32_t code) {
    if (!loaded_) return;
    auto alive = aliveToken();
    int typed = static_cast<int>(code);
    if (dialog().character(typed, 0) || !*alive) return;
    if (Control* focus = dialog().focused(); focus != nullptr)
        roleOf(*focus)->character(static_cast<char32_t>(typed));
}

void HeadlessForm::mouseMove(std::string_view name, double x, double y) {
    fire(Event{EventType::MouseMove, std::string(name), 0, 0, x, y});
}

void HeadlessForm::repaint() {
    fire(Event{EventType::Paint, ""});
}

void HeadlessForm::resizeTo(int widthTwips, int heightTwips) {
    move({bounds_.left, bounds_.top, widthTwips, heightTwips});
    fire(Event{EventType::Resize, ""});
}

// ---- factory ----

std::unique_ptr<Form> HeadlessFormFactory::create(const FormSpec& design, FormHandler& handler,
                                                  Form* owner) {
    ++created_;
    return std::make_unique<HeadlessForm>(design, handler, *this,
                                          dynamic_cast<HeadlessForm*>(owner));
}

HeadlessForm* HeadlessFormFactory::find(std::string_view name) const {
    const auto& forms = openForms_.forms();
    for (auto it = forms.rbegin(); it != forms.rend(); ++it)
        if ((*it)->design().name == name && (*it)->loaded()) return static_cast<HeadlessForm*>(*it);
    return nullptr;
}

HeadlessForm* HeadlessFormFactory::keyboardForm() const {
    HeadlessForm* last = nullptr;
    for (FormBase* base : openForms_.forms()) {
        auto* form = static_cast<HeadlessForm*>(base);
        if (form->loaded() && form->visible() &&
            (last == nullptr || form->shownSerial() > last->shownSerial()))
            last = form;
    }
    return last;
}

}  // namespace pictavo::platform::headless
