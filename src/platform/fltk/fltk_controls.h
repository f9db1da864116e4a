#pragma once
// One control of a layout as an FLTK widget, whatever its kind:
//
//   Label         Fl_Box (transparent or filled)
//   Button        Fl_Button
//   CheckBox      Fl_Check_Button
//   OptionButton  Fl_Round_Button, a radio group per container
//                 (the three as DialogButton: the form routes access keys)
//   TextBox       Fl_Input, Fl_Secret_Input with a password character;
//                 maxLength limits what is typed
//   HScrollBar    Fl_Scrollbar, horizontal
//   PictureBox    PictureWindow: a child window showing a persistent surface
//   Image         ImageWidget: the artwork its resource names
//   Shape, Line   drawn on the container
//   DriveList     Fl_Choice
//   DirList,
//   FileList      Fl_Hold_Browser
//   Timer         FltkTimer, no widget
//
// Property changes made by the core never fire events; what the user does
// fires them through the form.

#include <FL/Fl_Widget.H>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/fltk/fltk_surface.h"
#include "platform/fltk/fltk_timer.h"
#include "platform/forms.h"
#include "platform/stateful_control.h"

class Fl_Group;

namespace pictavo::platform::fltk {

class FltkForm;
class PictureWindow;

class FltkControl : public StatefulControl {
  public:
    FltkControl(FltkForm& form, ControlSpec design);
    ~FltkControl() override;

    std::string caption() const override { return state_.caption; }
    void setCaption(const std::string& caption) override;
    std::string text() const override;
    void setText(const std::string& text) override;
    int value() const override;
    void setValue(int value) override;
    void setEnabled(bool enabled) override;
    void setVisible(bool visible) override;
    void move(const TwipsRect& rect) override;
    void setFocus() override;
    void setForeColour(Colour colour) override;
    void setInterval(int milliseconds) override;
    void setItems(const std::vector<std::string>& items) override;
    int selectedIndex() const override;
    void setSelectedIndex(int index) override;
    void setFillStyle(int style) override;
    void setFillColour(Colour colour) override;
    Surface* surface() override { return surface_.get(); }
    WindowHandle handle() const override;

    // The widget, not yet in any container (nullptr for timers).
    Fl_Widget* widget() const { return widget_; }
    // Windowed controls take the focus and lie above the drawn-only ones.
    bool windowed() const;
    // Whether Tab or an access key may give it the focus now.
    bool takesFocus() const;
    // The key its caption marks ("&Folder": 'f'), when it is enabled and
    // shows; 0 otherwise.
    char accessKey() const;
    // Container controls (picture boxes) hold the controls naming them as parent.
    Fl_Group* asContainer() const;
    // Offset of the container's inner area, set when the control is placed.
    void placeIn(int insetX, int insetY);
    // What a click of the user does: check boxes toggle, options select.
    void performClick();
    void stopTimer();
    // The picture box under a point of its window, for the pointer's first
    // position; nullptr for other kinds.
    PictureWindow* pictureWindow() const { return picture_; }

  private:
    void createWidget();
    void applyGeometry();
    void applyStyle();
    Colour colourUnder() const;
    void redrawArea();
    void widgetChanged(EventType type);
    static void widgetCallback(Fl_Widget* widget, void* self);

    FltkForm& form_;
    int insetX_ = 0;
    int insetY_ = 0;
    Fl_Widget* widget_ = nullptr;  // owned by its container once placed
    PictureWindow* picture_ = nullptr;
    std::unique_ptr<FltkSurface> surface_;
    std::unique_ptr<FltkTimer> timer_;
    std::string shownText_;  // a text box's text as last reported
};

}  // namespace pictavo::platform::fltk
