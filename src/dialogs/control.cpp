#include "platform/control.h"

#include <algorithm>
#include <utility>

#include "common/text.h"

namespace pictavo::platform {

Control::Control(ControlSpec design, ControlOwner& owner)
    : spec_(std::move(design)), state_(spec_), owner_(owner) {
    state_.value = valueInRange(state_.value);
}

Control::~Control() = default;

void Control::attach(std::unique_ptr<NativeControl> native) {
    native_ = std::move(native);
}

void Control::changed(Properties what) {
    if (native_) native_->update(what);
}

// Check boxes and options hold 0 or 1, a scroll bar a value of its range.
int Control::valueInRange(int value) const {
    switch (spec_.kind) {
        case ControlKind::CheckBox:
        case ControlKind::OptionButton:
            return value != 0 ? 1 : 0;
        case ControlKind::HScrollBar:
            return std::clamp(value, std::min(spec_.minimum, spec_.maximum),
                              std::max(spec_.minimum, spec_.maximum));
        default:
            return value;
    }
}

void Control::setCaption(const std::string& caption) {
    state_.caption = caption;
    changed(Property::Caption);
}

void Control::setText(const std::string& text) {
    state_.text = firstCharacters(text, spec_.maxLength);
    changed(Property::Text);
}

void Control::setValue(int value) {
    state_.value = valueInRange(value);
    changed(Property::Value);
    if (spec_.kind == ControlKind::OptionButton && state_.value != 0) owner_.optionChosen(*this);
}

void Control::setEnabled(bool enabled) {
    state_.enabled = enabled;
    changed(Property::Enabled);
}

void Control::setVisible(bool visible) {
    state_.visible = visible;
    changed(Property::Visible);
}

void Control::move(const TwipsRect& rect) {
    state_.rect = rect;
    changed(Property::Bounds);
}

void Control::setFocus() {
    owner_.focusRequested(*this);
}

void Control::setForeColour(Colour colour) {
    state_.foreColour = colour;
    changed(Property::ForeColour);
}

void Control::setInterval(int milliseconds) {
    state_.interval = milliseconds;
    changed(Property::Interval);
}

void Control::setItems(std::vector<std::string> items, std::vector<int> indents) {
    state_.items = std::move(items);
    state_.indents = std::move(indents);
    state_.indents.resize(state_.indents.empty() ? 0 : state_.items.size(), 0);
    state_.selected = -1;
    changed(Property::Items | Property::Selection);
}

void Control::setSelectedIndex(int index) {
    state_.select(index);
    changed(Property::Selection);
}

void Control::setFillStyle(int style) {
    state_.fillStyle = style;
    changed(Property::Fill);
}

void Control::setFillColour(Colour colour) {
    state_.fillColour = colour;
    changed(Property::Fill);
}

Surface* Control::surface() {
    return native_ ? native_->surface() : nullptr;
}

WindowHandle Control::handle() const {
    return native_ ? native_->handle() : 0;
}

bool Control::userText(const std::string& text) {
    std::string limited = firstCharacters(text, spec_.maxLength);
    if (limited == state_.text) return false;
    state_.text = std::move(limited);
    return true;
}

bool Control::userValue(int value) {
    int next = valueInRange(value);
    if (next == state_.value) return false;
    state_.value = next;
    if (spec_.kind == ControlKind::OptionButton && next != 0) owner_.optionChosen(*this);
    return true;
}

bool Control::userSelection(int index) {
    int before = state_.selected;
    state_.select(index);
    return state_.selected != before;
}

}  // namespace pictavo::platform
