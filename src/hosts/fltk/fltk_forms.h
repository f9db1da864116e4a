#pragma once
// Forms built from layout tables as FLTK windows, and the routing of
// native events:
//
// - keys go to the form's dialog manager first; what it leaves goes to the
//   focused widget alone (which edits, scrolls or moves its selection),
//   never to FLTK's own navigation or shortcut matching;
// - a modal form takes all input from the program's other forms;
// - a form's X window exists (unmapped) as soon as its handle is asked for;
// - timers, mouse events on pictures, Paint, Resize and Close reach the
//   handler as Events; nothing the core sets fires one.

#include <FL/Fl_Double_Window.H>

#include <memory>
#include <string>
#include <vector>

#include "dialogs/form_base.h"
#include "hosts/fltk/fltk_role.h"
#include "hosts/fltk/fltk_surface.h"
#include "hosts/fltk/monitor_covers.h"
#include "hosts/fltk/screen_presenter.h"
#include "hosts/fltk/x11_types.h"

namespace pictavo::platform::fltk {

class FltkCursor;
class FltkEventLoop;
class FltkFormFactory;
class FltkScreen;
class PictureWindow;

class FltkForm : public FormBase {
  public:
    FltkForm(const FormSpec& design, FormHandler& handler, FltkFormFactory& factory,
             FltkForm* owner);
    ~FltkForm() override;

    void show(bool modal) override;
    void hide() override;
    void unload() override;
    bool loaded() const override { return loaded_; }
    std::string caption() const override { return caption_; }
    void setCaption(const std::string& caption) override;
    TwipsRect bounds() const override { return bounds_; }
    void move(const TwipsRect& rect) override;
    TwipsRect clientSize() const override { return {0, 0, bounds_.width, bounds_.height}; }
    WindowHandle handle() const override;
    void bringToFront() override;
    Surface* background() override { return &background_; }

    // For the roles and the window.
    const FltkScreen& screen() const;
    ScreenPresenter& presenter();
    const Font& font() const { return design().font; }
    // Gives the widget the keyboard focus, and the form's window the keyboard.
    void focusWidget(Fl_Widget* widget);
    // Picture boxes of a form that is never shown still get windows, to be
    // parented into another program's window.
    void realiseForChildHandles() const;
    int dispatch(int event, Fl_Window* window);
    void closeRequested();
    void resizedByUser(int x, int y, int width, int height);
    void exposed();
    bool embedded() const;
    void followScreen(int oldWidth, int oldHeight);
    // The control whose widget holds widget (its own or a part of it).
    Control* controlOf(const Fl_Widget* widget) const;

    // The form's FLTK window; the event dispatch finds the form through it.
    class FormWindow;

  private:
    // A picture box of the form and its place in the form's window.
    struct PictureHit {
        Control* control = nullptr;
        PictureWindow* window = nullptr;
        int left = 0;
        int top = 0;
    };

    FltkRole* roleOf(const Control& control) const;
    Fl_Window& topWindow() const;
    void placeControls();
    void realiseNative() const;
    int keyboard();
    bool keyReleased();
    void noteFocus();
    void mapped();
    void firePointerPosition();
    // The visible picture box at (x, y) of the form's window, topmost first.
    PictureHit pictureAt(int x, int y) const;
    bool coversScreen() const;
    // The covers of the other monitors, while the form covers the primary.
    void coverOtherMonitors();
    // Input on a cover goes to the picture in the form's middle: a move in
    // that picture's coordinates, a click on its centre.
    void coverInput(CoverPointer what, int rootX, int rootY, int button);
    // Runs until the form unloads, then gives the keys to focusAfter (0: leaves them).
    void runModal(XId focusAfter);
    static void pointerTimeout(void* self);
    static void paintTimeout(void* self);

    FltkFormFactory& factory_;
    FltkForm* owner_;
    FormWindow* window_ = nullptr;  // FLTK deletes it (later, if it is busy)
    FltkSurface background_;
    std::unique_ptr<MonitorCovers> covers_;
    std::string caption_;
    TwipsRect bounds_;
    bool loaded_ = true;
    bool moving_ = false;
    mutable bool childrenPrepared_ = false;
};

class FltkFormFactory : public FormFactory {
  public:
    FltkFormFactory(FltkEventLoop& loop, FltkScreen& screen, FltkCursor& cursor);
    ~FltkFormFactory() override;

    std::unique_ptr<Form> create(const FormSpec& design, FormHandler& handler,
                                 Form* owner) override;

    // Every form from now on is a child of target, takes no input and leaves
    // the pointer alone: the saver drawing into another program's window.
    // As a child of the root window it is kept away from the window manager.
    void embedInto(XId target);
    XId embedTarget() const { return embedTarget_; }
    bool anyLoaded() const { return openForms_.anyLoaded(); }
    // The screen (the window embedded into) changed size: the forms that
    // covered the old size take the new one and report a Resize.
    void screenResized(int oldWidth, int oldHeight);

    // For the forms.
    FltkEventLoop& loop() { return loop_; }
    FltkScreen& screen() { return screen_; }
    ScreenPresenter& presenter() { return presenter_; }
    FltkCursor& cursor() { return cursor_; }
    OpenForms& openForms() { return openForms_; }

  private:
    FltkEventLoop& loop_;
    FltkScreen& screen_;
    FltkCursor& cursor_;
    XId embedTarget_ = 0;
    ScreenPresenter presenter_;
    OpenForms openForms_;
};

}  // namespace pictavo::platform::fltk
