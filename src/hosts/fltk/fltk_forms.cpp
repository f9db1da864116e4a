#include "hosts/fltk/fltk_forms.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>
#include <FL/fl_utf8.h>
#include <FL/x.H>

// Xlib names an event type KeyPress; here it is the core's event.
#undef KeyPress

#include <algorithm>

#include "hosts/fltk/fltk_cursor.h"
#include "hosts/fltk/fltk_event_loop.h"
#include "hosts/fltk/fltk_keys.h"
#include "hosts/fltk/fltk_screen.h"
#include "hosts/fltk/fltk_style.h"
#include "hosts/fltk/native_window.h"
#include "hosts/fltk/picture_window.h"
#include "hosts/fltk/x11_display.h"

namespace pictavo::platform::fltk {

namespace {

bool isUserInput(int event) {
    return event == FL_PUSH || event == FL_RELEASE || event == FL_DRAG || event == FL_MOUSEWHEEL ||
           event == FL_KEYBOARD || event == FL_KEYUP || event == FL_SHORTCUT;
}

int dispatchEvent(int event, Fl_Window* window);

}  // namespace

// ---- the form's window ----

class FltkForm::FormWindow : public Fl_Double_Window {
  public:
    FormWindow(FltkForm& form, int width, int height)
        : Fl_Double_Window(width, height), form_(form) {
        resizable(nullptr);  // controls keep their places; the core lays them out
        callback(closeCallback, &form);
        end();
    }

    FltkForm& form() const { return form_; }

    void draw() override {
        // A control that redraws part of itself (a list moving its
        // selection) leaves the rest of the window as it is.
        if ((damage() & ~FL_DAMAGE_CHILD) != 0)
            form_.background_.copyTo(form_.factory_.presenter(), fl_window, fl_gc,
                                     {0, 0, form_.background_.width(), form_.background_.height()},
                                     0, 0);
        draw_children();
    }

    void flush() override {
        if ((damage() & (FL_DAMAGE_EXPOSE | FL_DAMAGE_ALL)) != 0) form_.exposed();
        Fl_Double_Window::flush();
    }

    void resize(int x, int y, int width, int height) override {
        bool sized = width != w() || height != h();
        bool moved = x != this->x() || y != this->y();
        Fl_Double_Window::resize(x, y, width, height);
        if (sized || moved) form_.resizedByUser(x, y, width, height);
    }

  private:
    static void closeCallback(Fl_Widget*, void* form) {
        static_cast<FltkForm*>(form)->closeRequested();
    }

    FltkForm& form_;
};

namespace {

int dispatchEvent(int event, Fl_Window* window) {
    if (window != nullptr) {
        Fl_Window* top = window->top_window();
        if (auto* formWindow = dynamic_cast<FltkForm::FormWindow*>(top != nullptr ? top : window))
            return formWindow->form().dispatch(event, window);
        // The program's message and input boxes get the keyboard when no
        // window manager hands it out.
        if (event == FL_SHOW && window->parent() == nullptr) {
            int result = Fl::handle_(event, window);
            if (!windowManagerRunning()) raiseAndFocus(nativeHandle(*window));
            return result;
        }
    }
    return Fl::handle_(event, window);
}

}  // namespace

// ---- forms ----

FltkForm::FltkForm(const FormSpec& design, FormHandler& handler, FltkFormFactory& factory,
                   FltkForm* owner)
    : FormBase(design, handler, factory.openForms(), owner),
      factory_(factory),
      owner_(owner),
      caption_(design.caption),
      bounds_{0, 0, design.clientWidth, design.clientHeight} {
    const FltkScreen& metrics = factory_.screen();
    int width = std::max(1, metrics.toPixelsX(design.clientWidth));
    int height = std::max(1, metrics.toPixelsY(design.clientHeight));
    Fl_Group::current(nullptr);
    window_ = new FormWindow(*this, width, height);
    window_->label(caption_.c_str());
    window_->color(fltkColour(design.backColour));
    if (design.style != FormStyle::FixedDialog) window_->clear_border();
    background_.setDotsPerInch(metrics.dotsPerInch());
    background_.resize(width, height);
    background_.clear(design.backColour);
    background_.setChangeListener([this](const PixelRect&) {
        if (window_->shown()) window_->damage(FL_DAMAGE_USER1);
    });
    // Widgets are made outside any group and placed in their containers after.
    buildControls([this](Control& control) -> std::unique_ptr<NativeControl> {
        Fl_Group::current(nullptr);
        return makeFltkRole(*this, control);
    });
    placeControls();
}

FltkForm::~FltkForm() {
    unload();
    background_.setChangeListener(nullptr);
    dropNatives();
    // Not deleted here: the form may go from inside one of its own callbacks.
    Fl::delete_widget(window_);
}

FltkRole* FltkForm::roleOf(const Control& control) const {
    return static_cast<FltkRole*>(control.native());
}

Fl_Window& FltkForm::topWindow() const {
    return *window_;
}

// The innermost control: an option inside a panel, not the panel.
Control* FltkForm::controlOf(const Fl_Widget* widget) const {
    for (const Fl_Widget* w = widget; w != nullptr; w = w->parent())
        for (const auto& control : controls())
            if (FltkRole* role = roleOf(*control); role != nullptr && role->widget() == w)
                return control.get();
    return nullptr;
}

// Drawn-only controls go under the windowed ones, as on Windows, and the
// windowed ones follow the tab order.
void FltkForm::placeControls() {
    std::vector<FltkRole*> drawn, windowed;
    for (const auto& control : controls()) {
        FltkRole* role = roleOf(*control);
        if (role == nullptr || role->widget() == nullptr) continue;
        (role->windowed() ? windowed : drawn).push_back(role);
    }
    auto tabIndex = [this](const FltkRole* role) {
        for (const auto& control : controls())
            if (roleOf(*control) == role) return control->design().tabIndex;
        return -1;
    };
    std::stable_sort(windowed.begin(), windowed.end(), [&](const FltkRole* a, const FltkRole* b) {
        int ta = tabIndex(a), tb = tabIndex(b);
        if (ta < 0 || tb < 0) return ta >= 0 && tb < 0;
        return ta < tb;
    });
    drawn.insert(drawn.end(), windowed.begin(), windowed.end());
    for (FltkRole* role : drawn) {
        Fl_Group* container = window_;
        int inset = 0;
        for (const auto& control : controls()) {
            if (roleOf(*control) != role) continue;
            if (Control* parent = containerOf(*control); parent != nullptr) {
                if (FltkRole* holder = roleOf(*parent); holder != nullptr && holder->container()) {
                    container = holder->container();
                    inset = holder->containerInset();
                }
            }
        }
        container->add(role->widget());
        role->placeIn(inset, inset);
    }
}

ScreenPresenter& FltkForm::presenter() {
    return factory_.presenter();
}

const FltkScreen& FltkForm::screen() const {
    return factory_.screen();
}

bool FltkForm::embedded() const {
    return factory_.embedTarget() != 0;
}

void FltkForm::realiseNative() const {
    if (!loaded_ || nativeHandle(*window_) != 0) return;
    NativeWindowOptions options;
    options.parent = factory_.embedTarget();
    options.input = !embedded();
    options.overrideRedirect = embedded() && factory_.embedTarget() == rootWindow();
    options.border = design().style == FormStyle::FixedDialog;
    options.closeBox = design().controlBox;
    if (owner_ != nullptr && owner_->loaded_) options.transientFor = nativeHandle(*owner_->window_);
    realise(*window_, options);
}

WindowHandle FltkForm::handle() const {
    realiseNative();
    return static_cast<WindowHandle>(nativeHandle(*window_));
}

void FltkForm::realiseForChildHandles() const {
    realiseNative();
    if (childrenPrepared_ || design().style != FormStyle::Hidden || !loaded_) return;
    // The form stays unmapped; marking it visible lets FLTK make and draw the
    // windows of its picture boxes, which show once parented elsewhere.
    childrenPrepared_ = true;
    window_->set_visible();
    window_->handle(FL_SHOW);
}

void FltkForm::show(bool modal) {
    if (!loaded_ || design().style == FormStyle::Hidden) return;
    // Where the keys went before a modal form, to give them back after:
    // without a window manager nobody else does.
    XId before = modal && !windowManagerRunning() ? focusedWindow() : 0;
    realiseNative();
    const bool fullScreen =
        design().style == FormStyle::Borderless && coversScreen() && !embedded();
    if (fullScreen) {
        addWindowState(nativeHandle(*window_), "_NET_WM_STATE_FULLSCREEN");
        // Mapped first, so that the form is the newest window and gets the keyboard.
        coverOtherMonitors();
    }
    mapRealised(*window_);
    if (fullScreen)
        keepFullScreenOn(nativeHandle(*window_),
                         static_cast<int>(factory_.screen().monitors().primary));
    if (modal) runModal(before);
}

void FltkForm::runModal(XId focusAfter) {
    beginModal();
    auto alive = aliveToken();
    FltkEventLoop& loop = factory_.loop();
    while (*alive && loaded_ && !loop.endRequested()) loop.waitOnce();
    if (focusAfter != 0 && windowExists(focusAfter)) focusWindow(focusAfter);
    if (*alive) endModal();
}

void FltkForm::hide() {
    if (!loaded_) return;
    covers_.reset();
    unmapRealised(*window_);
}

void FltkForm::unload() {
    if (!loaded_) return;
    loaded_ = false;
    for (const auto& control : controls())
        if (FltkRole* role = roleOf(*control); role != nullptr) role->stop();
    Fl::remove_timeout(pointerTimeout, this);
    Fl::remove_timeout(paintTimeout, this);
    endModal();
    covers_.reset();
    window_->hide();  // destroys the X window and those of its picture boxes
}

void FltkForm::setCaption(const std::string& caption) {
    caption_ = caption;
    window_->label(caption_.c_str());
}

void FltkForm::move(const TwipsRect& rect) {
    const FltkScreen& metrics = factory_.screen();
    int width = std::max(1, metrics.toPixelsX(rect.width)),
        height = std::max(1, metrics.toPixelsY(rect.height));
    bounds_ = rect;
    moving_ = true;
    window_->resize(metrics.originX() + metrics.toPixelsX(rect.left),
                    metrics.originY() + metrics.toPixelsY(rect.top), width, height);
    moving_ = false;
    background_.resizeKeeping(width, height, design().backColour);
}

void FltkForm::resizedByUser(int x, int y, int width, int height) {
    if (moving_) return;
    const FltkScreen& metrics = factory_.screen();
    bool resized =
        metrics.toTwipsX(width) != bounds_.width || metrics.toTwipsY(height) != bounds_.height;
    // FLTK reports a top-level window's place on the root window; an embedded
    // one stays where the core put it inside its host.
    if (!embedded()) {
        bounds_.left = metrics.toTwipsX(x - metrics.originX());
        bounds_.top = metrics.toTwipsY(y - metrics.originY());
    }
    if (!resized) return;
    bounds_.width = metrics.toTwipsX(width);
    bounds_.height = metrics.toTwipsY(height);
    background_.resizeKeeping(width, height, design().backColour);
    raise(EventType::Resize);
}

void FltkForm::followScreen(int oldWidth, int oldHeight) {
    if (!loaded_ || window_->w() != oldWidth || window_->h() != oldHeight) return;
    const FltkScreen& metrics = factory_.screen();
    window_->resize(window_->x(), window_->y(), metrics.widthPixels(), metrics.heightPixels());
}

void FltkForm::bringToFront() {
    if (loaded_ && window_->shown() && !embedded()) raiseAndFocus(nativeHandle(*window_));
}

void FltkForm::closeRequested() {
    auto alive = aliveToken();
    // The X window may be gone already, destroyed with the window it lived in.
    bool destroyed = loaded_ && !windowExists(nativeHandle(*window_));
    if (destroyed) window_->hide();
    dialog().closeRequested();
    if (*alive && destroyed && embedded()) factory_.loop().requestEnd();
}

void FltkForm::exposed() {
    Fl::add_timeout(0, paintTimeout, this);
}

void FltkForm::paintTimeout(void* self) {
    auto* form = static_cast<FltkForm*>(self);
    Fl::remove_timeout(paintTimeout, self);
    form->raise(EventType::Paint);
}

void FltkForm::focusWidget(Fl_Widget* widget) {
    // Until the window shows, the dialog manager only notes where the focus goes.
    if (!window_->shown() || !window_->visible()) return;
    if (widget->take_focus() == 0 && widget->visible_r() && widget->active_r()) Fl::focus(widget);
    // As on Windows, focusing a control makes its window the one that gets
    // the keys.
    if (!embedded() && focusedWindow() != nativeHandle(*window_))
        focusWindow(nativeHandle(*window_));
}

// The platform moves the focus itself on a click into a text box or list.
void FltkForm::noteFocus() {
    if (Control* control = controlOf(Fl::focus()); control != nullptr)
        dialog().focusMoved(*control);
}

int FltkForm::dispatch(int event, Fl_Window* window) {
    if (Fl::modal() == nullptr && isUserInput(event) && blocked()) return 1;
    auto alive = aliveToken();
    if (Fl::modal() == nullptr && loaded_) {
        if (event == FL_KEYBOARD) return keyboard();
        if (event == FL_KEYUP && keyReleased()) return 1;
    }
    int result = Fl::handle_(event, window);
    if (!*alive || !loaded_) return result;
    if (event == FL_SHOW && window == window_) mapped();
    if (event == FL_PUSH) noteFocus();
    if (event == FL_FOCUS && window == window_) dialog().activated();
    return result;
}

// The dialog manager has the first say; the focused widget gets what it
// leaves, and nothing goes on to FLTK's own navigation or shortcuts.
int FltkForm::keyboard() {
    auto alive = aliveToken();
    noteFocus();
    int key = virtualKey(Fl::event_key());
    int shift = shiftState(Fl::event_state());
    if (dialog().keyDown(key, shift) || !*alive || !loaded_) return 1;
    if (Fl::event_length() > 0) {
        int length = 0;
        const char* text = Fl::event_text();
        int code = static_cast<int>(fl_utf8decode(text, text + Fl::event_length(), &length));
        if (dialog().character(code, shift) || !*alive || !loaded_) return 1;
    }
    Fl_Widget* focus = Fl::focus();
    if (focus != nullptr && controlOf(focus) != nullptr) focus->handle(FL_KEYBOARD);
    return 1;
}

bool FltkForm::keyReleased() {
    return dialog().keyUp(virtualKey(Fl::event_key()), shiftState(Fl::event_state()));
}

void FltkForm::mapped() {
    if (embedded()) return;
    if (!windowManagerRunning()) raiseAndFocus(nativeHandle(*window_));
    dialog().shown();
    factory_.cursor().applyTo(*window_);
    // Windows reports the pointer to a window that opens under it; X tells
    // only when the pointer moves.
    Fl::add_timeout(0, pointerTimeout, this);
}

void FltkForm::pointerTimeout(void* self) {
    static_cast<FltkForm*>(self)->firePointerPosition();
}

void FltkForm::firePointerPosition() {
    ::Window xid = nativeHandle(*window_);
    if (!loaded_ || xid == 0) return;
    ::Window root = 0, child = 0;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned int buttons = 0;
    {
        XErrorTrap trap;
        if (!XQueryPointer(display(), xid, &root, &child, &rootX, &rootY, &x, &y, &buttons) ||
            trap.failed())
            return;
    }
    PictureHit hit = pictureAt(x, y);
    if (hit.control == nullptr) return;
    Event move{EventType::MouseMove, hit.control->name()};
    move.x = x - hit.left - hit.window->frameWidth();
    move.y = y - hit.top - hit.window->frameWidth();
    raise(move);
}

FltkForm::PictureHit FltkForm::pictureAt(int x, int y) const {
    const auto& all = controls();
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        FltkRole* role = roleOf(**it);
        PictureWindow* picture = role != nullptr ? role->pictureWindow() : nullptr;
        if (picture == nullptr || !(*it)->visible() || !picture->visible_r()) continue;
        int left = picture->x(), top = picture->y();
        for (Fl_Window* outer = picture->window(); outer != nullptr && outer != window_;
             outer = outer->window()) {
            left += outer->x();
            top += outer->y();
        }
        if (x >= left && y >= top && x < left + picture->w() && y < top + picture->h())
            return {it->get(), picture, left, top};
    }
    return {};
}

// ---- factory ----

FltkFormFactory::FltkFormFactory(FltkEventLoop& loop, FltkScreen& screen, FltkCursor& cursor)
    : loop_(loop), screen_(screen), cursor_(cursor) {
    Fl::event_dispatch(dispatchEvent);
}

FltkFormFactory::~FltkFormFactory() {
    Fl::event_dispatch(nullptr);
}

std::unique_ptr<Form> FltkFormFactory::create(const FormSpec& design, FormHandler& handler,
                                              Form* owner) {
    return std::make_unique<FltkForm>(design, handler, *this, dynamic_cast<FltkForm*>(owner));
}

void FltkFormFactory::embedInto(XId target) {
    embedTarget_ = target;
}

void FltkFormFactory::screenResized(int oldWidth, int oldHeight) {
    // A form's Resize handler may close forms, this one among them.
    std::vector<FormBase*> forms = openForms_.forms();
    for (FormBase* form : forms) {
        const auto& live = openForms_.forms();
        if (std::find(live.begin(), live.end(), form) != live.end())
            static_cast<FltkForm*>(form)->followScreen(oldWidth, oldHeight);
    }
}

}  // namespace pictavo::platform::fltk
