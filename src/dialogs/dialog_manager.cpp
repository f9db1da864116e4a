#include "dialogs/dialog_manager.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "dialogs/form_base.h"
#include "platform/keys.h"

namespace pictavo::platform {

namespace {

// What each kind of control is to the dialog.
struct KindTraits {
    bool focusable;  // can have the keyboard focus
    bool typing;     // takes plain letters itself (text, a list's search)
    bool pressable;  // Space and its access key click it
    bool label;      // its access key hands the focus on
};

KindTraits traitsOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::Label:
            return {false, false, false, true};
        case ControlKind::Button:
        case ControlKind::CheckBox:
        case ControlKind::OptionButton:
            return {true, false, true, false};
        case ControlKind::TextBox:
        case ControlKind::DriveList:
        case ControlKind::DirList:
        case ControlKind::FileList:
            return {true, true, false, false};
        case ControlKind::HScrollBar:
        case ControlKind::PictureBox:
            return {true, false, false, false};
        case ControlKind::Image:
        case ControlKind::Shape:
        case ControlKind::Line:
        case ControlKind::Timer:
            break;
    }
    return {false, false, false, false};
}

KindTraits traitsOf(const Control& control) {
    return traitsOf(control.design().kind);
}

bool isOption(const Control& control) {
    return control.design().kind == ControlKind::OptionButton;
}

// Tab order: tab index, then place in the layout.
void sortByTabIndex(std::vector<Control*>& list) {
    std::stable_sort(list.begin(), list.end(), [](const Control* a, const Control* b) {
        return a->design().tabIndex < b->design().tabIndex;
    });
}

}  // namespace

char captionAccessKey(std::string_view caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;  // "&&" is an ampersand
            continue;
        }
        return static_cast<char>(std::tolower(static_cast<unsigned char>(caption[i + 1])));
    }
    return 0;
}

bool DialogManager::live() const {
    return form_.loaded();
}

bool DialogManager::responsive(const Control& control) const {
    for (const Control* c = &control; c != nullptr; c = form_.containerOf(*c))
        if (!c->enabled() || !c->visible()) return false;
    return true;
}

bool DialogManager::canFocus(const Control& control) const {
    return traitsOf(control).focusable && control.design().tabIndex >= 0 && responsive(control);
}

Control* DialogManager::stopFor(Control& control) const {
    if (!isOption(control)) return &control;
    std::vector<Control*> group;
    for (const auto& other : form_.controls())
        if (isOption(*other) && other->design().parent == control.design().parent &&
            canFocus(*other))
            group.push_back(other.get());
    if (group.empty()) return &control;
    sortByTabIndex(group);
    for (Control* option : group)
        if (option->value() != 0) return option;
    return group.front();
}

// ---- focus ----

void DialogManager::takeFocus(Control& control) {
    focused_ = &control;
    if (shown_ && control.native() != nullptr) control.native()->focus();
}

void DialogManager::focus(Control& control) {
    // A control that cannot have the focus keeps it where it is.
    if (!traitsOf(control).focusable || !responsive(control)) return;
    takeFocus(control);
}

void DialogManager::focusMoved(Control& control) {
    if (traitsOf(control).focusable) focused_ = &control;
}

void DialogManager::shown() {
    shown_ = true;
    activated();
}

void DialogManager::activated() {
    if (!shown_) return;
    Control* target = focused_ != nullptr && responsive(*focused_) ? focused_ : nullptr;
    if (target == nullptr) {
        std::vector<Control*> stops;
        for (const auto& control : form_.controls())
            if (canFocus(*control)) stops.push_back(control.get());
        sortByTabIndex(stops);
        if (!stops.empty()) target = stopFor(*stops.front());
    }
    if (target != nullptr) takeFocus(*target);
}

void DialogManager::moveByTab(bool backwards) {
    std::vector<Control*> stops;
    for (const auto& control : form_.controls())
        if (canFocus(*control) && stopFor(*control) == control.get())
            stops.push_back(control.get());
    if (stops.empty()) return;
    sortByTabIndex(stops);
    Control* current = focused_ != nullptr ? stopFor(*focused_) : nullptr;
    auto at = std::find(stops.begin(), stops.end(), current);
    size_t next = 0;
    if (at != stops.end()) {
        auto index = static_cast<size_t>(at - stops.begin());
        next = backwards ? (index + stops.size() - 1) % stops.size() : (index + 1) % stops.size();
    } else {
        // The focus is on a control that is no stop now: go on from its tab index.
        int from = current != nullptr ? current->design().tabIndex : -1;
        next = backwards ? stops.size() - 1 : 0;
        for (size_t i = 0; i < stops.size(); ++i) {
            int tab = stops[i]->design().tabIndex;
            if (!backwards && tab > from) {
                next = i;
                break;
            }
            if (backwards && tab < from) next = i;
        }
    }
    takeFocus(*stops[next]);
}

// ---- keys ----

bool DialogManager::previewKey(int& key, int shift) {
    auto alive = form_.aliveToken();
    Event down{EventType::KeyDown, "", key, shift};
    form_.raise(down);
    if (!*alive || !live() || down.key == 0) return true;
    key = down.key;
    return false;
}

bool DialogManager::previewCharacter(int& code, int shift) {
    auto alive = form_.aliveToken();
    Event press{EventType::KeyPress, "", code, shift};
    form_.raise(press);
    if (!*alive || !live() || press.key == 0) return true;
    code = press.key;
    return false;
}

bool DialogManager::keyDown(int& key, int shift) {
    if (form_.blocked() || !live()) return true;
    if (form_.design().keyPreview && previewKey(key, shift)) return true;
    Control* focus = focused_;
    if (focus != nullptr && focus->native() != nullptr && focus->native()->keepsKey(key))
        return false;
    bool withCtrlOrAlt = (shift & (keys::kCtrl | keys::kAlt)) != 0;
    if (key == keys::kTab && !withCtrlOrAlt) {
        moveByTab((shift & keys::kShift) != 0);
        return true;
    }
    if (accessKey(key, shift)) return true;
    if (key == keys::kEnter && (shift & keys::kAlt) == 0) {
        enter();
        return true;
    }
    if (key == keys::kEscape) {
        escape();
        return true;
    }
    if (key == keys::kSpace && !withCtrlOrAlt && focus != nullptr && traitsOf(*focus).pressable) {
        spaceDown_ = focus;
        return true;
    }
    if (keys::isArrow(key) && focus != nullptr && isOption(*focus)) {
        arrowInGroup(*focus, key);
        return true;
    }
    return false;
}

bool DialogManager::keyUp(int key, int /*shift*/) {
    if (key != keys::kSpace || spaceDown_ == nullptr) return false;
    // A button is pressed when the key is let go, over the control it went down on.
    Control* pressed = spaceDown_;
    spaceDown_ = nullptr;
    if (!form_.blocked() && live() && pressed == focused_ && responsive(*pressed)) press(*pressed);
    return true;
}

bool DialogManager::character(int& code, int shift) {
    if (form_.blocked() || !live()) return true;
    // Enter, Esc and Tab were keys already, unless the focused control kept them.
    int key = code == '\r' || code == '\n' ? keys::kEnter
              : code == 27                 ? keys::kEscape
              : code == '\t'               ? keys::kTab
                                           : 0;
    if (key != 0) {
        bool kept = focused_ != nullptr && focused_->native() != nullptr &&
                    focused_->native()->keepsKey(key);
        return !kept;
    }
    if (code == ' ' && focused_ != nullptr && traitsOf(*focused_).pressable) return true;
    return form_.design().keyPreview && previewCharacter(code, shift);
}

// With Alt, or alone while the focus takes no typing. Several captions with
// one key take turns, counting on from the focused control.
bool DialogManager::accessKey(int key, int shift) {
    if ((shift & keys::kCtrl) != 0 || !keys::isLetterOrDigit(key)) return false;
    bool alt = (shift & keys::kAlt) != 0;
    if (!alt && focused_ != nullptr && traitsOf(*focused_).typing) return false;
    char wanted = static_cast<char>(std::tolower(key));
    const auto& controls = form_.controls();
    size_t count = controls.size(), start = 0;
    for (size_t i = 0; i < count; ++i)
        if (controls[i].get() == focused_) start = i + 1;
    for (size_t n = 0; n < count; ++n) {
        Control& control = *controls[(start + n) % count];
        KindTraits traits = traitsOf(control);
        if (!(traits.label || traits.pressable) || !responsive(control)) continue;
        if (captionAccessKey(control.caption()) != wanted) continue;
        if (traits.label) {
            focusAfterLabel(control);
        } else {
            takeFocus(control);
            press(control);
        }
        return true;
    }
    return false;
}

// The control a label introduces: the first that takes the focus from the
// label's own place in tab order, or, for a label outside the tab order,
// from that of the next control after it in the layout.
void DialogManager::focusAfterLabel(const Control& label) {
    const auto& controls = form_.controls();
    int from = label.design().tabIndex >= 0 ? label.design().tabIndex + 1 : -1;
    for (size_t i = 0; from < 0 && i < controls.size(); ++i) {
        if (controls[i].get() != &label) continue;
        for (size_t j = i + 1; j < controls.size() && from < 0; ++j)
            from = controls[j]->design().tabIndex;
    }
    if (from < 0) return;
    Control* next = nullptr;
    for (const auto& control : controls) {
        int tab = control->design().tabIndex;
        if (tab < from || !canFocus(*control)) continue;
        if (next == nullptr || tab < next->design().tabIndex) next = control.get();
    }
    if (next != nullptr) takeFocus(*stopFor(*next));
}

// Down and Right go to the next option of the container, Up and Left back,
// round at the ends. The option reached is chosen and clicked.
void DialogManager::arrowInGroup(Control& option, int key) {
    std::vector<Control*> group;
    for (const auto& other : form_.controls())
        if (isOption(*other) && other->design().parent == option.design().parent &&
            responsive(*other))
            group.push_back(other.get());
    sortByTabIndex(group);
    auto at = std::find(group.begin(), group.end(), &option);
    if (group.size() < 2 || at == group.end()) return;
    auto index = static_cast<size_t>(at - group.begin());
    bool forward = key == keys::kDown || key == keys::kRight;
    size_t next = forward ? (index + 1) % group.size() : (index + group.size() - 1) % group.size();
    takeFocus(*group[next]);
    press(*group[next]);
}

void DialogManager::enter() {
    auto alive = form_.aliveToken();
    if (Control* focus = focused_; focus != nullptr && responsive(*focus)) {
        switch (focus->design().kind) {
            case ControlKind::DirList:
                // Enter opens the folder the selection is on.
                form_.raise(EventType::Change, focus->name());
                return;
            case ControlKind::TextBox: {
                Event press{EventType::KeyPress, focus->name(), keys::kEnter};
                form_.raise(press);
                if (!*alive || !live() || press.key == 0) return;
                break;
            }
            case ControlKind::Button:
                // The focused button stands in for the default one.
                press(*focus);
                return;
            default:
                break;
        }
    }
    for (const auto& control : form_.controls())
        if (control->design().isDefault) {
            if (responsive(*control)) press(*control);
            return;
        }
}

void DialogManager::escape() {
    auto alive = form_.aliveToken();
    if (Control* focus = focused_;
        focus != nullptr && focus->design().kind == ControlKind::TextBox && responsive(*focus)) {
        Event press{EventType::KeyPress, focus->name(), keys::kEscape};
        form_.raise(press);
        if (!*alive || !live() || press.key == 0) return;
    }
    for (const auto& control : form_.controls())
        if (control->design().isCancel) {
            if (responsive(*control)) press(*control);
            return;
        }
}

void DialogManager::press(Control& control) {
    if (control.design().kind == ControlKind::CheckBox) control.setValue(control.value() == 0);
    if (isOption(control)) control.setValue(1);
    form_.raise(EventType::Click, control.name());
}

// ---- what the user did with the mouse or the platform's editing ----

void DialogManager::clicked(Control& control) {
    if (form_.blocked() || !live() || !responsive(control)) return;
    KindTraits traits = traitsOf(control);
    if (traits.focusable) takeFocus(control);
    if (traits.pressable)
        press(control);
    else
        form_.raise(EventType::Click, control.name());
}

void DialogManager::doubleClicked(Control& control) {
    if (form_.blocked() || !live() || !responsive(control)) return;
    // A folder list opens the folder double-clicked.
    if (control.design().kind == ControlKind::DirList)
        form_.raise(EventType::Change, control.name());
}

void DialogManager::typed(Control& control, const std::string& text) {
    if (control.userText(text)) form_.raise(EventType::Change, control.name());
}

void DialogManager::scrolled(Control& control, int value) {
    if (control.userValue(value)) form_.raise(EventType::Change, control.name());
}

void DialogManager::selected(Control& control, int index) {
    if (!control.userSelection(index)) return;
    // A drive list changes the drive at once; in the other lists the
    // selection only moves.
    bool drive = control.design().kind == ControlKind::DriveList;
    form_.raise(drive ? EventType::Change : EventType::Click, control.name());
}

void DialogManager::closeRequested() {
    form_.raise(EventType::Close);
}

}  // namespace pictavo::platform
