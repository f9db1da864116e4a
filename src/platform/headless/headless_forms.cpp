#include "platform/headless/headless_forms.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace pictavo::platform::headless {

namespace {
constexpr int kEnter = 13;
constexpr int kEscape = 27;

bool isOption(const ControlSpec& design) {
    return design.kind == ControlKind::OptionButton;
}

// The first count characters of UTF-8 text; a limit counts characters, not bytes.
std::string firstCharacters(const std::string& text, int count) {
    size_t end = 0;
    for (int taken = 0; end < text.size() && taken < count; ++taken) {
        ++end;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
    }
    return text.substr(0, end);
}
}  // namespace

// ---- controls ----

HeadlessControl::HeadlessControl(HeadlessForm& form, ControlSpec design, WindowHandle handle)
    : StatefulControl(std::move(design)), form_(form), handle_(handle) {
    if (spec_.kind == ControlKind::PictureBox) {
        surface_ = std::make_unique<MemorySurface>();
        resizeSurface();
        surface_->clear(spec_.backColour.value_or(form_.design().backColour));
    }
    if (spec_.kind == ControlKind::Timer) {
        timerId_ = form_.loop().addTimer([this] { form_.timerTicked(spec_.name); });
        restartTimer();
    }
}

HeadlessControl::~HeadlessControl() {
    stopTimer();
}

void HeadlessControl::stopTimer() {
    if (timerId_ != 0) form_.loop().removeTimer(timerId_);
    timerId_ = 0;
}

void HeadlessControl::restartTimer() {
    if (timerId_ != 0) form_.loop().setTimer(timerId_, state_.interval, state_.enabled);
}

void HeadlessControl::setText(const std::string& text) {
    state_.text = spec_.maxLength > 0 ? firstCharacters(text, spec_.maxLength) : text;
}

void HeadlessControl::setValue(int value) {
    if (spec_.kind == ControlKind::HScrollBar)
        value = std::clamp(value, spec_.minimum, spec_.maximum);
    state_.value = value;
    if (isOption(spec_) && value != 0) form_.clearOptionGroup(*this);
}

void HeadlessControl::setEnabled(bool enabled) {
    state_.enabled = enabled;
    if (spec_.kind == ControlKind::Timer) restartTimer();
}

void HeadlessControl::move(const TwipsRect& rect) {
    state_.rect = rect;
    if (surface_) resizeSurface();
}

void HeadlessControl::setFocus() {
    form_.setFocused(spec_.name);
}

void HeadlessControl::setInterval(int milliseconds) {
    state_.interval = milliseconds;
    restartTimer();
}

void HeadlessControl::setItems(const std::vector<std::string>& items) {
    state_.items = items;
    state_.selected = state_.items.empty() ? -1
                                           : std::clamp(state_.selected, -1,
                                                        static_cast<int>(state_.items.size()) - 1);
}

void HeadlessControl::setSelectedIndex(int index) {
    state_.select(index);
}

void HeadlessControl::resizeSurface() {
    int width = static_cast<int>(std::lround(state_.rect.width / form_.screen().twipsPerPixelX()));
    int height =
        static_cast<int>(std::lround(state_.rect.height / form_.screen().twipsPerPixelY()));
    if (width == surface_->width() && height == surface_->height()) return;
    // The persistent image keeps what fits, as a picture box does when it grows.
    imaging::Image old = surface_->snapshot();
    surface_->resize(width, height);
    surface_->clear(spec_.backColour.value_or(form_.design().backColour));
    surface_->drawImage(old, 0, 0);
}

// ---- forms ----

HeadlessForm::HeadlessForm(const FormSpec& design, FormHandler& handler, HeadlessEventLoop& loop,
                           HeadlessWindowSystem& windows, const Screen& screen)
    : spec_(design),
      handler_(handler),
      loop_(loop),
      windows_(windows),
      screen_(screen),
      handle_(windows.registerOwn(design.caption, true)),
      caption_(design.caption),
      bounds_{0, 0, design.clientWidth, design.clientHeight} {
    background_.resize(static_cast<int>(std::lround(bounds_.width / screen.twipsPerPixelX())),
                       static_cast<int>(std::lround(bounds_.height / screen.twipsPerPixelY())));
    for (const ControlSpec& control : spec_.controls) {
        WindowHandle handle =
            control.kind == ControlKind::Timer ? 0 : windows_.registerOwn("", false);
        if (handle != 0) windows_.setParent(handle, handle_);
        controls_.push_back(std::make_unique<HeadlessControl>(*this, control, handle));
    }
    // The first control in tab order has the focus.
    int first = -1;
    for (const auto& control : controls_)
        if (control->design().tabIndex >= 0 && (first < 0 || control->design().tabIndex < first)) {
            first = control->design().tabIndex;
            focused_ = control->design().name;
        }
}

HeadlessForm::~HeadlessForm() {
    if (loaded_) unload();
    if (factory_ != nullptr) std::erase(factory_->live_, this);
}

Control* HeadlessForm::find(std::string_view name) {
    for (auto& control : controls_)
        if (control->design().name == name) return control.get();
    return nullptr;
}

HeadlessControl& HeadlessForm::headlessControl(std::string_view name) {
    return static_cast<HeadlessControl&>(control(name));
}

void HeadlessForm::show(bool modal) {
    if (!loaded_) return;
    visible_ = spec_.style != FormStyle::Hidden;
    modal_ = modal_ || modal;
    ++showCount_;
}

void HeadlessForm::unload() {
    if (!loaded_) return;
    loaded_ = false;
    visible_ = false;
    for (auto& control : controls_) control->stopTimer();
    windows_.destroyWindow(handle_);
}

void HeadlessForm::setCaption(const std::string& caption) {
    caption_ = caption;
    windows_.setTitle(handle_, caption);
}

void HeadlessForm::move(const TwipsRect& rect) {
    bool resized = rect.width != bounds_.width || rect.height != bounds_.height;
    bounds_ = rect;
    if (resized)
        background_.resize(static_cast<int>(std::lround(rect.width / screen_.twipsPerPixelX())),
                           static_cast<int>(std::lround(rect.height / screen_.twipsPerPixelY())));
}

void HeadlessForm::clearOptionGroup(const HeadlessControl& chosen) {
    for (auto& control : controls_)
        if (control.get() != &chosen && isOption(control->design()) &&
            control->design().parent == chosen.design().parent)
            control->setValue(0);
}

void HeadlessForm::timerTicked(const std::string& control) {
    fire(Event{EventType::Timer, control});
}

void HeadlessForm::dispatch(Event& event) {
    if (!loaded_) return;
    handler_.onEvent(*this, event);
}

bool HeadlessForm::click(std::string_view name) {
    HeadlessControl& target = headlessControl(name);
    if (!loaded_ || !target.enabled() || !target.visible()) return false;
    if (target.design().kind == ControlKind::CheckBox) target.setValue(target.value() == 0 ? 1 : 0);
    if (isOption(target.design())) target.setValue(1);
    if (target.design().tabIndex >= 0) focused_ = target.design().name;
    fire(Event{EventType::Click, std::string(name)});
    return true;
}

void HeadlessForm::type(std::string_view name, const std::string& text) {
    HeadlessControl& target = headlessControl(name);
    if (!loaded_ || !target.enabled()) return;
    focused_ = target.design().name;
    target.setText(text);
    fire(Event{EventType::Change, std::string(name)});
}

void HeadlessForm::scroll(std::string_view name, int value) {
    headlessControl(name).setValue(value);
    fire(Event{EventType::Change, std::string(name)});
}

void HeadlessForm::select(std::string_view name, int index) {
    headlessControl(name).setSelectedIndex(index);
    fire(Event{EventType::Change, std::string(name)});
}

void HeadlessForm::pressKey(int key) {
    if (!loaded_) return;
    if (spec_.keyPreview) {
        Event down{EventType::KeyDown, focused_, key};
        dispatch(down);
        if (down.key == 0 || !loaded_) return;
    }
    Control* focusedControl = focused_.empty() ? nullptr : find(focused_);
    if (focusedControl != nullptr && focusedControl->design().kind == ControlKind::TextBox &&
        (key == kEnter || key == kEscape)) {
        Event press{EventType::KeyPress, focused_, key};
        dispatch(press);
        if (press.key == 0 || !loaded_) return;
    }
    for (auto& control : controls_) {
        bool presses = (key == kEnter && control->design().isDefault) ||
                       (key == kEscape && control->design().isCancel);
        if (presses) {
            // The key presses the button where the focus is; it does not move it.
            if (control->enabled() && control->visible())
                fire(Event{EventType::Click, control->design().name});
            return;
        }
    }
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
                                                  Form*) {
    auto form = std::make_unique<HeadlessForm>(design, handler, loop_, windows_, screen_);
    form->setFactory(this);
    live_.push_back(form.get());
    ++created_;
    return form;
}

HeadlessForm* HeadlessFormFactory::find(std::string_view name) const {
    for (auto it = live_.rbegin(); it != live_.rend(); ++it)
        if ((*it)->design().name == name && (*it)->loaded()) return *it;
    return nullptr;
}

bool HeadlessFormFactory::anyLoaded() const {
    return std::any_of(live_.begin(), live_.end(),
                       [](const HeadlessForm* form) { return form->loaded(); });
}

}  // namespace pictavo::platform::headless
