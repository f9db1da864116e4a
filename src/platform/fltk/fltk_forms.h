#pragma once
// Forms built from layout tables as FLTK windows, and the routing of
// native events to the core's handlers:
//
// - keys: with keyPreview the form's handler sees KeyDown first and may
//   swallow it (key = 0); Enter and Esc go to a focused text box as
//   KeyPress, then press the default or cancel button; Alt and an access
//   key focus the control after a label or click a button, check box or
//   option;
// - a modal form takes all input from the program's other forms;
// - a form's X window exists (unmapped) as soon as its handle is asked for;
// - timers, clicks, changes, mouse events, Paint, Resize and Close reach the
//   handler as Events; nothing the core sets fires one.

#include <FL/Fl_Double_Window.H>

#include <memory>
#include <string>
#include <vector>

#include "platform/fltk/fltk_controls.h"
#include "platform/fltk/fltk_surface.h"
#include "platform/fltk/x11_types.h"
#include "platform/forms.h"

namespace pictavo::platform::fltk {

class FltkCursor;
class FltkEventLoop;
class FltkFormFactory;
class FltkScreen;

class FltkForm : public Form {
  public:
    FltkForm(const FormSpec& design, FormHandler& handler, FltkFormFactory& factory,
             FltkForm* owner);
    ~FltkForm() override;

    const FormSpec& design() const override { return spec_; }
    Control* find(std::string_view name) override;
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

    // For the controls and the window.
    // The handler may change the event (key = 0 swallows a key).
    void fire(Event& event);
    void fire(Event&& event) { fire(event); }
    std::shared_ptr<const bool> aliveToken() const { return alive_; }
    const FltkScreen& screen() const;
    const Font& font() const { return spec_.font; }
    void focusControl(FltkControl& control);
    // Picture boxes of a form that is never shown still get windows, to be
    // parented into another program's window.
    void realiseForChildHandles() const;
    int dispatch(int event, Fl_Window* window);
    void closeRequested();
    void resizedByUser(int x, int y, int width, int height);
    void exposed();
    bool embedded() const;
    void followScreen(int oldWidth, int oldHeight);

    // The form's FLTK window; the event dispatch finds the form through it.
    class FormWindow;

  private:
    void buildControls();
    void placeControls();
    void realiseNative() const;
    bool routeKey();
    bool accessKeyPressed(int key, FltkControl* focused);
    void focusAfter(const FltkControl& label);
    FltkControl* focusedControl();
    void mapped();
    void firePointerPosition();
    void runModal();
    static void pointerTimeout(void* self);
    static void paintTimeout(void* self);

    FormSpec spec_;
    FormHandler& handler_;
    FltkFormFactory& factory_;
    FltkForm* owner_;
    FormWindow* window_ = nullptr;  // FLTK deletes it (later, if it is busy)
    std::vector<std::unique_ptr<FltkControl>> controls_;
    FltkSurface background_;
    std::string caption_;
    TwipsRect bounds_;
    std::string pendingFocus_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
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
    bool anyLoaded() const;
    // The screen (the window embedded into) changed size: the forms that
    // covered the old size take the new one and report a Resize.
    void screenResized(int oldWidth, int oldHeight);

    // For the forms.
    FltkEventLoop& loop() { return loop_; }
    FltkScreen& screen() { return screen_; }
    FltkCursor& cursor() { return cursor_; }
    void added(FltkForm* form) { live_.push_back(form); }
    void removed(FltkForm* form);
    void enterModal(FltkForm* form) { modal_.push_back(form); }
    void leaveModal(FltkForm* form);
    bool blockedByModal(const FltkForm& form) const;

  private:
    FltkEventLoop& loop_;
    FltkScreen& screen_;
    FltkCursor& cursor_;
    XId embedTarget_ = 0;
    std::vector<FltkForm*> live_;
    std::vector<FltkForm*> modal_;
};

}  // namespace pictavo::platform::fltk
