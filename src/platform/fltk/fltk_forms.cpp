#include "platform/fltk/fltk_forms.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <algorithm>
#include <map>

#include "platform/fltk/fltk_cursor.h"
#include "platform/fltk/fltk_event_loop.h"
#include "platform/fltk/fltk_keys.h"
#include "platform/fltk/fltk_screen.h"
#include "platform/fltk/fltk_style.h"
#include "platform/fltk/native_window.h"
#include "platform/fltk/picture_window.h"
#include "platform/fltk/x11_display.h"

// Xlib names an event type KeyPress; here it is the core's event.
#undef KeyPress

namespace pictavo::platform::fltk {

namespace {

constexpr int kEnterCode = 13;
constexpr int kEscapeCode = 27;

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
        form_.background_.copyTo(
            fl_window, fl_gc, {0, 0, form_.background_.width(), form_.background_.height()}, 0, 0);
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
    : spec_(design),
      handler_(handler),
      factory_(factory),
      owner_(owner),
      caption_(design.caption),
      bounds_{0, 0, design.clientWidth, design.clientHeight} {
    const FltkScreen& metrics = factory_.screen();
    int width = std::max(1, metrics.toPixelsX(spec_.clientWidth));
    int height = std::max(1, metrics.toPixelsY(spec_.clientHeight));
    Fl_Group::current(nullptr);
    window_ = new FormWindow(*this, width, height);
    window_->label(caption_.c_str());
    window_->color(fltkColour(spec_.backColour));
    if (spec_.style != FormStyle::FixedDialog) window_->clear_border();
    background_.setDotsPerInch(metrics.dotsPerInch());
    background_.resize(width, height);
    background_.clear(spec_.backColour);
    background_.setChangeListener([this](const PixelRect&) {
        if (window_->shown()) window_->damage(FL_DAMAGE_USER1);
    });
    buildControls();
    placeControls();
    factory_.added(this);
}

FltkForm::~FltkForm() {
    *alive_ = false;
    unload();
    factory_.removed(this);
    background_.setChangeListener(nullptr);
    controls_.clear();
    // Not deleted here: the form may go from inside one of its own callbacks.
    Fl::delete_widget(window_);
}

void FltkForm::buildControls() {
    for (const ControlSpec& control : spec_.controls)
        controls_.push_back(std::make_unique<FltkControl>(*this, control));
}

// Drawn-only controls go under the windowed ones, as on Windows, and the
// windowed ones follow the tab order, which is also FLTK's focus order.
void FltkForm::placeControls() {
    std::vector<FltkControl*> order;
    for (auto& control : controls_)
        if (control->widget() != nullptr && !control->windowed()) order.push_back(control.get());
    std::vector<FltkControl*> windowed;
    for (auto& control : controls_)
        if (control->widget() != nullptr && control->windowed()) windowed.push_back(control.get());
    std::stable_sort(windowed.begin(), windowed.end(),
                     [](const FltkControl* a, const FltkControl* b) {
                         int ta = a->design().tabIndex, tb = b->design().tabIndex;
                         if (ta < 0 || tb < 0) return ta >= 0 && tb < 0;
                         return ta < tb;
                     });
    order.insert(order.end(), windowed.begin(), windowed.end());
    for (FltkControl* control : order) {
        Fl_Group* container = window_;
        int inset = 0;
        if (!control->design().parent.empty()) {
            auto* parent = static_cast<FltkControl*>(find(control->design().parent));
            if (parent != nullptr && parent->asContainer() != nullptr) {
                container = parent->asContainer();
                inset = parent->pictureWindow()->frameWidth();
            }
        }
        container->add(control->widget());
        control->placeIn(inset, inset);
    }
}

Control* FltkForm::find(std::string_view name) {
    for (auto& control : controls_)
        if (control->design().name == name) return control.get();
    return nullptr;
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
    options.border = spec_.style == FormStyle::FixedDialog;
    if (owner_ != nullptr && owner_->loaded_) options.transientFor = nativeHandle(*owner_->window_);
    realise(*window_, options);
}

WindowHandle FltkForm::handle() const {
    realiseNative();
    return static_cast<WindowHandle>(nativeHandle(*window_));
}

void FltkForm::realiseForChildHandles() const {
    realiseNative();
    if (childrenPrepared_ || spec_.style != FormStyle::Hidden || !loaded_) return;
    // The form stays unmapped; marking it visible lets FLTK make and draw the
    // windows of its picture boxes, which show once parented elsewhere.
    childrenPrepared_ = true;
    window_->set_visible();
    window_->handle(FL_SHOW);
}

void FltkForm::show(bool modal) {
    if (!loaded_ || spec_.style == FormStyle::Hidden) return;
    realiseNative();
    const FltkScreen& metrics = factory_.screen();
    bool coversScreen = window_->x() <= 0 && window_->y() <= 0 &&
                        window_->w() >= metrics.widthPixels() &&
                        window_->h() >= metrics.heightPixels();
    if (spec_.style == FormStyle::Borderless && coversScreen && !embedded())
        addWindowState(nativeHandle(*window_), "_NET_WM_STATE_FULLSCREEN");
    mapRealised(*window_);
    if (modal) runModal();
}

void FltkForm::runModal() {
    factory_.enterModal(this);
    auto alive = alive_;
    FltkEventLoop& loop = factory_.loop();
    while (*alive && loaded_ && !loop.endRequested()) loop.waitOnce();
    if (*alive) factory_.leaveModal(this);
}

void FltkForm::hide() {
    if (loaded_) unmapRealised(*window_);
}

void FltkForm::unload() {
    if (!loaded_) return;
    loaded_ = false;
    for (auto& control : controls_) control->stopTimer();
    Fl::remove_timeout(pointerTimeout, this);
    Fl::remove_timeout(paintTimeout, this);
    factory_.leaveModal(this);
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
    window_->resize(metrics.toPixelsX(rect.left), metrics.toPixelsY(rect.top), width, height);
    moving_ = false;
    background_.resizeKeeping(width, height, spec_.backColour);
}

void FltkForm::resizedByUser(int x, int y, int width, int height) {
    if (moving_) return;
    const FltkScreen& metrics = factory_.screen();
    bool resized =
        metrics.toTwipsX(width) != bounds_.width || metrics.toTwipsY(height) != bounds_.height;
    // FLTK reports a top-level window's place on the root window; an embedded
    // one stays where the core put it inside its host.
    if (!embedded()) {
        bounds_.left = metrics.toTwipsX(x);
        bounds_.top = metrics.toTwipsY(y);
    }
    if (!resized) return;
    bounds_.width = metrics.toTwipsX(width);
    bounds_.height = metrics.toTwipsY(height);
    background_.resizeKeeping(width, height, spec_.backColour);
    fire(Event{EventType::Resize, ""});
}

void FltkForm::followScreen(int oldWidth, int oldHeight) {
    if (!loaded_ || window_->w() != oldWidth || window_->h() != oldHeight) return;
    const FltkScreen& metrics = factory_.screen();
    window_->resize(window_->x(), window_->y(), metrics.widthPixels(), metrics.heightPixels());
}

void FltkForm::bringToFront() {
    if (loaded_ && window_->shown() && !embedded()) raiseAndFocus(nativeHandle(*window_));
}

void FltkForm::fire(Event& event) {
    if (!loaded_) return;
    handler_.onEvent(*this, event);
}

void FltkForm::closeRequested() {
    auto alive = alive_;
    // The X window may be gone already, destroyed with the window it lived in.
    bool destroyed = loaded_ && !windowExists(nativeHandle(*window_));
    if (destroyed) window_->hide();
    fire(Event{EventType::Close, ""});
    if (*alive && destroyed && embedded()) factory_.loop().requestEnd();
}

void FltkForm::exposed() {
    Fl::add_timeout(0, paintTimeout, this);
}

void FltkForm::paintTimeout(void* self) {
    auto* form = static_cast<FltkForm*>(self);
    Fl::remove_timeout(paintTimeout, self);
    form->fire(Event{EventType::Paint, ""});
}

void FltkForm::focusControl(FltkControl& control) {
    if (!window_->shown() || !window_->visible() || control.widget()->take_focus() == 0) {
        pendingFocus_ = control.design().name;
        return;
    }
    // As on Windows, focusing a control makes its window the one that gets
    // the keys.
    if (!embedded() && focusedWindow() != nativeHandle(*window_))
        focusWindow(nativeHandle(*window_));
}

FltkControl* FltkForm::focusedControl() {
    Fl_Widget* focus = Fl::focus();
    if (focus == nullptr) return nullptr;
    for (auto& control : controls_) {
        Fl_Widget* widget = control->widget();
        if (widget != nullptr && focus->inside(widget)) return control.get();
    }
    return nullptr;
}

int FltkForm::dispatch(int event, Fl_Window* window) {
    if (Fl::modal() == nullptr && isUserInput(event) && factory_.blockedByModal(*this)) return 1;
    auto alive = alive_;
    if (event == FL_KEYBOARD && Fl::modal() == nullptr && loaded_) {
        if (routeKey() || !*alive) return 1;
    }
    int result = Fl::handle_(event, window);
    if (*alive && event == FL_SHOW && window == window_) mapped();
    return result;
}

// The order a Windows form sees keys in: the form first when it asks for
// them, then a text box (Enter and Esc), then the default and cancel buttons.
bool FltkForm::routeKey() {
    auto alive = alive_;
    int key = Fl::event_key();
    FltkControl* focused = focusedControl();
    std::string focusedName = focused != nullptr ? focused->design().name : "";
    if (spec_.keyPreview) {
        Event down{EventType::KeyDown, focusedName, virtualKey(key)};
        down.shift = shiftState(Fl::event_state());
        fire(down);
        if (!*alive || !loaded_ || down.key == 0) return true;
    }
    if (accessKeyPressed(key, focused)) return true;
    bool enter = key == FL_Enter || key == FL_KP_Enter, escape = key == FL_Escape;
    if (!enter && !escape) return false;
    if (focused != nullptr && focused->design().kind == ControlKind::TextBox) {
        Event press{EventType::KeyPress, focusedName, enter ? kEnterCode : kEscapeCode};
        fire(press);
        if (!*alive || !loaded_ || press.key == 0) return true;
    }
    for (auto& control : controls_) {
        if ((enter && control->design().isDefault) || (escape && control->design().isCancel)) {
            control->performClick();
            return true;
        }
    }
    // Esc without a cancel button does nothing; Enter may still work a list.
    return escape;
}

// Alt and a caption's access key, or the key alone while a button has the
// focus (it takes no typing), as a Windows dialog reads them: a label hands
// the focus on to the control after it in tab order, a button, check box or
// option is clicked. Several captions with one key take turns, counting on
// from the focused control.
bool FltkForm::accessKeyPressed(int key, FltkControl* focused) {
    bool letter = (key >= 'a' && key <= 'z') || (key >= '0' && key <= '9');
    int state = Fl::event_state();
    if (!letter || (state & (FL_CTRL | FL_META)) != 0) return false;
    bool alt = (state & FL_ALT) != 0;
    ControlKind focusedKind = focused != nullptr ? focused->design().kind : ControlKind::Label;
    bool focusOnButton = focusedKind == ControlKind::Button ||
                         focusedKind == ControlKind::CheckBox ||
                         focusedKind == ControlKind::OptionButton;
    if (!alt && !focusOnButton) return false;
    size_t count = controls_.size(), start = 0;
    for (size_t i = 0; i < count; ++i)
        if (controls_[i].get() == focused) start = i + 1;
    for (size_t n = 0; n < count; ++n) {
        FltkControl& control = *controls_[(start + n) % count];
        if (control.accessKey() != static_cast<char>(key)) continue;
        if (control.design().kind == ControlKind::Label) {
            focusAfter(control);
        } else {
            focusControl(control);
            control.performClick();
        }
        return true;
    }
    return false;
}

// The control a label introduces: the first that takes the focus from the
// label's own place in tab order, or, for a label outside the tab order,
// from that of the next control after it in the layout.
void FltkForm::focusAfter(const FltkControl& label) {
    int from = label.design().tabIndex >= 0 ? label.design().tabIndex + 1 : -1;
    for (size_t i = 0; from < 0 && i < controls_.size(); ++i) {
        if (controls_[i].get() != &label) continue;
        for (size_t j = i + 1; j < controls_.size() && from < 0; ++j)
            from = controls_[j]->design().tabIndex;
    }
    if (from < 0) return;
    FltkControl* next = nullptr;
    for (auto& control : controls_) {
        int tab = control->design().tabIndex;
        if (tab < from || !control->takesFocus()) continue;
        if (next == nullptr || tab < next->design().tabIndex) next = control.get();
    }
    if (next != nullptr) focusControl(*next);
}

void FltkForm::mapped() {
    if (embedded()) return;
    if (!pendingFocus_.empty()) {
        if (auto* control = static_cast<FltkControl*>(find(pendingFocus_)); control != nullptr)
            control->widget()->take_focus();
        pendingFocus_.clear();
    }
    if (!windowManagerRunning()) raiseAndFocus(nativeHandle(*window_));
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
    // The picture box under the pointer, topmost first.
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        PictureWindow* picture = (*it)->pictureWindow();
        if (picture == nullptr || !(*it)->visible() || !picture->visible_r()) continue;
        int left = picture->x(), top = picture->y();
        for (Fl_Window* outer = picture->window(); outer != nullptr && outer != window_;
             outer = outer->window()) {
            left += outer->x();
            top += outer->y();
        }
        if (x < left || y < top || x >= left + picture->w() || y >= top + picture->h()) continue;
        Event move{EventType::MouseMove, (*it)->design().name};
        move.x = x - left - picture->frameWidth();
        move.y = y - top - picture->frameWidth();
        fire(move);
        return;
    }
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

bool FltkFormFactory::anyLoaded() const {
    return std::any_of(live_.begin(), live_.end(),
                       [](const FltkForm* form) { return form->loaded(); });
}

void FltkFormFactory::screenResized(int oldWidth, int oldHeight) {
    // A form's Resize handler may close forms, this one among them.
    std::vector<FltkForm*> forms = live_;
    for (FltkForm* form : forms)
        if (std::find(live_.begin(), live_.end(), form) != live_.end())
            form->followScreen(oldWidth, oldHeight);
}

void FltkFormFactory::removed(FltkForm* form) {
    std::erase(live_, form);
    std::erase(modal_, form);
}

void FltkFormFactory::leaveModal(FltkForm* form) {
    std::erase(modal_, form);
}

bool FltkFormFactory::blockedByModal(const FltkForm& form) const {
    return !modal_.empty() && modal_.back() != &form;
}

}  // namespace pictavo::platform::fltk
