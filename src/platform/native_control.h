#pragma once
// The platform's side of one control: a widget, a native window, or only a
// record. A backend keeps a table from control kind to the small class that
// plays that role (a button, a label, a text box, a list ...); each class
// shows the properties its kind has and reports what the user does through
// the form's dialog manager. Apart from that table, no backend code asks a
// control for its kind.

#include <cstdint>

#include "platform/types.h"

namespace pictavo::platform {

class Surface;

// The properties the core can change, as bits: a role shows those it has.
enum class Property : uint16_t {
    Caption = 1 << 0,
    Text = 1 << 1,
    Value = 1 << 2,
    Enabled = 1 << 3,
    Visible = 1 << 4,
    Bounds = 1 << 5,
    ForeColour = 1 << 6,
    Interval = 1 << 7,
    Items = 1 << 8,
    Selection = 1 << 9,
    Fill = 1 << 10,
};

class Properties {
  public:
    constexpr Properties() = default;
    constexpr Properties(Property one)
        : bits_(static_cast<uint16_t>(one)) {}  // NOLINT: a set of one
    static constexpr Properties all() { return Properties(0xFFFF); }
    constexpr bool has(Property p) const { return (bits_ & static_cast<uint16_t>(p)) != 0; }
    constexpr Properties operator|(Properties other) const {
        return Properties(static_cast<uint16_t>(bits_ | other.bits_));
    }

  private:
    constexpr explicit Properties(uint16_t bits) : bits_(bits) {}
    uint16_t bits_ = 0;
};

constexpr Properties operator|(Property a, Property b) {
    return Properties(a) | Properties(b);
}

class NativeControl {
  public:
    virtual ~NativeControl() = default;
    // The core changed these properties of the control's state: show them.
    // Showing a change raises no event.
    virtual void update(Properties changed) = 0;
    // Puts the platform's keyboard focus here, where the role can take it.
    virtual void focus() {}
    // A picture box's persistent image; nullptr for the other roles.
    virtual Surface* surface() { return nullptr; }
    // The control's own native window, for parenting (0 when it has none).
    virtual WindowHandle handle() const { return 0; }
    // Whether the control uses this key itself just now, before the dialog
    // would (an open drop-down list closing on Enter or Esc).
    virtual bool keepsKey(int /*key*/) const { return false; }
};

}  // namespace pictavo::platform
