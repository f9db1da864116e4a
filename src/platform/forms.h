#pragma once
// Live windows built from layout tables, and the events they report.
//
// A backend implements Form and Control for its toolkit and routes native
// events to the FormHandler the core gave it. It holds no knowledge of a
// particular window: every reaction lives in the core's handler.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/layout.h"
#include "platform/surface.h"
#include "platform/types.h"

namespace pictavo::platform {

enum class EventType {
    Click,      // a press and release over the control (buttons, options, check boxes, pictures)
    Change,     // text, value, selection or list path changed
    KeyDown,    // key = virtual key code; setting key to 0 swallows it
    KeyPress,   // key = character code (13 Enter, 27 Esc); 0 swallows it
    MouseMove,  // x, y in the control's units (pixels for picture boxes)
    MouseDown,
    MouseUp,
    Timer,      // a timer control ticked
    Paint,      // the form was repainted
    Resize,     // the form's size changed
    Close,      // the user or the system asked the form to close
};

struct Event {
    EventType type = EventType::Click;
    std::string control;  // empty: the form itself
    int key = 0;
    int shift = 0;
    double x = 0;
    double y = 0;
    int button = 0;
};

class Control {
public:
    virtual ~Control() = default;
    virtual const ControlSpec& design() const = 0;
    const std::string& name() const { return design().name; }

    virtual std::string caption() const = 0;
    virtual void setCaption(const std::string& caption) = 0;
    // Text boxes: the text typed (never more than maxLength characters).
    virtual std::string text() const = 0;
    virtual void setText(const std::string& text) = 0;
    // Check box 0/1, option button 0/1 (1 clears the group's others), scroll position.
    virtual int value() const = 0;
    virtual void setValue(int value) = 0;
    virtual bool enabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;  // timers: running or not
    virtual bool visible() const = 0;
    virtual void setVisible(bool visible) = 0;
    virtual TwipsRect bounds() const = 0;
    virtual void move(const TwipsRect& rect) = 0;
    virtual void setFocus() = 0;
    virtual void setForeColour(Colour colour) = 0;

    // Timers.
    virtual int interval() const = 0;
    virtual void setInterval(int milliseconds) = 0;

    // Drive, folder and file lists: the rows, chosen by the core.
    virtual void setItems(const std::vector<std::string>& items) = 0;
    virtual std::vector<std::string> items() const = 0;
    virtual int selectedIndex() const = 0;
    virtual void setSelectedIndex(int index) = 0;

    // Shapes.
    virtual void setFillStyle(int style) = 0;
    virtual void setFillColour(Colour colour) = 0;

    // Picture boxes: the persistent image; nullptr for other kinds.
    virtual Surface* surface() = 0;
    // The control's own native window, for parenting (0 when it has none).
    virtual WindowHandle handle() const = 0;
};

class Form {
public:
    virtual ~Form() = default;
    virtual const FormSpec& design() const = 0;
    // The control of that name; nullptr when the layout has none.
    virtual Control* find(std::string_view name) = 0;
    Control& control(std::string_view name);

    virtual void show(bool modal) = 0;  // modal: returns when the form unloads
    virtual void hide() = 0;
    // Destroys the native window. The Form object stays until its owner drops it.
    virtual void unload() = 0;
    virtual bool loaded() const = 0;

    virtual std::string caption() const = 0;
    virtual void setCaption(const std::string& caption) = 0;
    // The outer window rectangle in twips (screen coordinates).
    virtual TwipsRect bounds() const = 0;
    virtual void move(const TwipsRect& rect) = 0;
    virtual TwipsRect clientSize() const = 0;  // width and height of the inner area
    virtual WindowHandle handle() const = 0;
    virtual void bringToFront() = 0;
    // The form's own background, for textures painted under the controls.
    virtual Surface* background() = 0;
};

class FormHandler {
public:
    virtual ~FormHandler() = default;
    virtual void onEvent(Form& form, Event& event) = 0;
};

class FormFactory {
public:
    virtual ~FormFactory() = default;
    // Builds the window and its controls (not shown yet). Events go to
    // handler, which must outlive the form. owner is the window it belongs to
    // (modal dialogs), or nullptr.
    virtual std::unique_ptr<Form> create(const FormSpec& design, FormHandler& handler, Form* owner) = 0;
};

}  // namespace pictavo::platform
