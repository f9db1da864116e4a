#pragma once
// The native side of a control on the FLTK host. FltkRole does what every
// widget-backed role shares (place, enable, show, colour, focus); one small
// class per role adds its own widget and properties:
//
//   Label         LabelRole      Fl_Box (transparent or filled)
//   Button,
//   CheckBox,
//   OptionButton  ButtonRole     DialogButton: a click goes to the dialog manager
//   TextBox       TextBoxRole    Fl_Input, Fl_Secret_Input with a password character
//   HScrollBar    ScrollBarRole  FocusScrollbar: a tab stop that answers the arrows
//   DriveList     DriveListRole  Fl_Choice
//   DirList,
//   FileList      ListRole       TreeBrowser: rows indented as a tree
//   PictureBox    PictureRole    PictureWindow: a child window showing a surface
//   Image         ImageRole      ImageWidget: the artwork its resource names
//   Shape, Line   ShapeRole, LineRole: drawn on the container
//   Timer         TimerRole      FltkTimer, no widget
//
// Property changes made by the core never fire events; what the user does
// reaches the dialog manager, which raises them.

#include <FL/Fl_Widget.H>

#include <memory>

#include "platform/control.h"
#include "platform/native_control.h"

class Fl_Group;

namespace pictavo::platform::fltk {

class FltkForm;
class PictureWindow;

class FltkRole : public NativeControl {
  public:
    FltkRole(FltkForm& form, Control& control) : form_(form), control_(control) {}
    ~FltkRole() override;

    void update(Properties changed) override;
    void focus() override;

    // The widget, not yet in any container (nullptr for timers).
    Fl_Widget* widget() const { return widget_; }
    // Windowed controls take the focus and lie above the drawn-only ones.
    virtual bool windowed() const { return false; }
    // Picture boxes hold the controls naming them as parent, inside their frame.
    virtual Fl_Group* container() const { return nullptr; }
    virtual int containerInset() const { return 0; }
    // The picture box under a point of its window, for the pointer's first
    // position; nullptr for other roles.
    virtual PictureWindow* pictureWindow() const { return nullptr; }
    // Offset of the container's inner area, set when the control is placed.
    void placeIn(int insetX, int insetY);
    // The form goes: timers stop.
    virtual void stop() {}

  protected:
    // Takes the widget the role made, and shows the control's state on it.
    void adopt(Fl_Widget* widget);
    // Fonts and colours; roles with text of their own add theirs.
    virtual void applyStyle();
    virtual void applyGeometry();
    // What the role shows beyond the shared properties.
    virtual void show(Properties /*changed*/) {}
    int widthPixels() const;
    int heightPixels() const;
    // What shows through the control: its container's colour.
    Colour colourUnder() const;
    Colour foreground() const;
    void redrawArea();

    FltkForm& form_;
    Control& control_;
    Fl_Widget* widget_ = nullptr;  // owned by its container once placed
    int insetX_ = 0;
    int insetY_ = 0;
};

// The role for a control, from the table of kinds.
std::unique_ptr<FltkRole> makeFltkRole(FltkForm& form, Control& control);

}  // namespace pictavo::platform::fltk
