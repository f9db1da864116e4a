#pragma once
// Live windows built from layout tables, and the events they report.
//
// A backend implements Form for its toolkit (on FormBase, which holds the
// controls and the dialog manager), gives each control a native side and
// routes native events to the FormHandler the core gave it. It holds no
// knowledge of a particular window: every reaction lives in the core's
// handler, and how keys and focus work lives in the dialog manager.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/control.h"
#include "platform/layout.h"
#include "platform/surface.h"
#include "platform/types.h"

namespace pictavo::platform {

enum class EventType {
    Click,      // a press and release over the control (buttons, options, check boxes,
                // pictures, labels); a list's selection moved
    Change,     // text, value or drive changed; a folder list opened its selected folder
    KeyDown,    // key = virtual key code; setting key to 0 swallows it
    KeyPress,   // key = character code (13 Enter, 27 Esc); 0 swallows it
    MouseMove,  // x, y in the control's units (pixels for picture boxes)
    MouseDown,
    MouseUp,
    Timer,   // a timer control ticked
    Paint,   // the form was repainted
    Resize,  // the form's size changed
    Close,   // the user or the system asked the form to close
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
    virtual std::unique_ptr<Form> create(const FormSpec& design, FormHandler& handler,
                                         Form* owner) = 0;
};

}  // namespace pictavo::platform
