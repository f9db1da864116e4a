#include "dialogs/form_base.h"

namespace pictavo::platform {

FormBase::FormBase(const FormSpec& design, FormHandler& handler, OpenForms& openForms,
                   FormBase* owner)
    : spec_(design), handler_(handler), openForms_(openForms), owner_(owner) {
    openForms_.add(this);
}

FormBase::~FormBase() {
    *alive_ = false;
    openForms_.remove(this);
    dropNatives();
}

void FormBase::buildControls(const NativeMaker& make) {
    controls_.reserve(spec_.controls.size());
    for (const ControlSpec& design : spec_.controls)
        controls_.push_back(std::make_unique<Control>(design, static_cast<ControlOwner&>(*this)));
    // Containers come first in a layout, so theirs exist when their children are made.
    for (auto& control : controls_) control->attach(make(*control));
}

void FormBase::dropNatives() {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) (*it)->attach(nullptr);
}

Control* FormBase::find(std::string_view name) {
    for (auto& control : controls_)
        if (control->name() == name) return control.get();
    return nullptr;
}

Control* FormBase::containerOf(const Control& control) const {
    const std::string& parent = control.design().parent;
    if (parent.empty()) return nullptr;
    for (const auto& other : controls_)
        if (other->name() == parent && other.get() != &control) return other.get();
    return nullptr;
}

void FormBase::raise(Event& event) {
    if (takesEvents()) handler_.onEvent(*this, event);
}

void FormBase::raise(EventType type, const std::string& control) {
    Event event;
    event.type = type;
    event.control = control;
    raise(event);
}

void FormBase::optionChosen(Control& chosen) {
    for (auto& control : controls_)
        if (control.get() != &chosen && control->design().kind == ControlKind::OptionButton &&
            control->design().parent == chosen.design().parent && control->value() != 0)
            control->setValue(0);
}

void FormBase::focusRequested(Control& control) {
    dialog_.focus(control);
}

}  // namespace pictavo::platform
