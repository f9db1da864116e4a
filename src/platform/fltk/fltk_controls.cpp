#include "platform/fltk/fltk_controls.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Hold_Browser.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Round_Button.H>
#include <FL/Fl_Scrollbar.H>
#include <FL/Fl_Secret_Input.H>
#include <FL/fl_utf8.h>

#include <algorithm>

#include "artwork/artwork.h"
#include "platform/fltk/dialog_button.h"
#include "platform/fltk/fltk_forms.h"
#include "platform/fltk/fltk_screen.h"
#include "platform/fltk/fltk_style.h"
#include "platform/fltk/graphic_widgets.h"
#include "platform/fltk/image_widget.h"
#include "platform/fltk/native_window.h"
#include "platform/fltk/picture_window.h"

namespace pictavo::platform::fltk {

namespace {

constexpr Colour kBlack = bgr(0, 0, 0);
constexpr Colour kWhite = bgr(255, 255, 255);

bool isList(ControlKind kind) {
    return kind == ControlKind::DirList || kind == ControlKind::FileList;
}

bool isButtonKind(ControlKind kind) {
    return kind == ControlKind::Button || kind == ControlKind::CheckBox ||
           kind == ControlKind::OptionButton;
}

// A menu entry shows its text as it is: FLTK would read "/" as a submenu,
// "\" as an escape, "_" in front as a divider, "&" and "@" as markup.
std::string menuEntry(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '/' || c == '\\' || c == '_') out += '\\';
        if (c == '&' || c == '@') out += c;
        out += c;
    }
    return out;
}

// At most limit characters (not bytes) of UTF-8 text.
std::string firstCharacters(const std::string& text, int limit) {
    if (limit <= 0) return text;
    const char* start = text.c_str();
    const char* end = start + text.size();
    const char* p = start;
    for (int count = 0; p < end && count < limit; ++count) {
        int length = 0;
        fl_utf8decode(p, end, &length);
        p += std::max(length, 1);
    }
    return text.substr(0, static_cast<size_t>(p - start));
}

Fl_Align labelAlign(Align align) {
    Fl_Align horizontal = align == Align::Right    ? FL_ALIGN_RIGHT
                          : align == Align::Centre ? 0
                                                   : FL_ALIGN_LEFT;
    return FL_ALIGN_INSIDE | FL_ALIGN_TOP | FL_ALIGN_WRAP | FL_ALIGN_CLIP | horizontal;
}

}  // namespace

FltkControl::FltkControl(FltkForm& form, ControlSpec design)
    : StatefulControl(std::move(design)), form_(form) {
    if (spec_.kind == ControlKind::PictureBox) {
        surface_ = std::make_unique<FltkSurface>();
        surface_->setDotsPerInch(form_.screen().dotsPerInch());
    }
    if (spec_.kind == ControlKind::Timer) {
        timer_ = std::make_unique<FltkTimer>([this, alive = form_.aliveToken()] {
            if (*alive) form_.fire(Event{EventType::Timer, spec_.name});
        });
        timer_->restart(state_.interval, state_.enabled);
        return;
    }
    createWidget();
}

FltkControl::~FltkControl() {
    stopTimer();
    if (picture_ != nullptr) picture_->detach();
    if (widget_ != nullptr) widget_->callback(static_cast<Fl_Callback*>(nullptr), nullptr);
}

void FltkControl::createWidget() {
    const FltkScreen& screen = form_.screen();
    int w = std::max(1, screen.toPixelsX(state_.rect.width)),
        h = std::max(1, screen.toPixelsY(state_.rect.height));
    Fl_Group::current(nullptr);  // placed in its container later, in tab order
    switch (spec_.kind) {
        case ControlKind::Label:
            widget_ = new LabelBox(0, 0, w, h);
            break;
        case ControlKind::Image: {
            auto* image = new ImageWidget(0, 0, w, h);
            image->setPicture(artwork::image(spec_.resource), spec_.stretch, colourUnder());
            widget_ = image;
            break;
        }
        case ControlKind::Button:
            widget_ = new DialogButton<Fl_Button>(0, 0, w, h);
            break;
        case ControlKind::CheckBox:
            widget_ = new DialogButton<Fl_Check_Button>(0, 0, w, h);
            static_cast<Fl_Button*>(widget_)->value(state_.value != 0);
            break;
        case ControlKind::OptionButton:
            widget_ = new DialogButton<Fl_Round_Button>(0, 0, w, h);
            widget_->type(FL_RADIO_BUTTON);
            // A click on the chosen option is still a click.
            widget_->when(FL_WHEN_RELEASE_ALWAYS);
            static_cast<Fl_Button*>(widget_)->value(state_.value != 0);
            break;
        case ControlKind::TextBox: {
            auto* input = spec_.passwordChar != 0 ? new Fl_Secret_Input(0, 0, w, h)
                                                  : new Fl_Input(0, 0, w, h);
            if (spec_.maxLength > 0) input->maximum_size(spec_.maxLength);
            input->when(FL_WHEN_CHANGED);
            widget_ = input;
            break;
        }
        case ControlKind::HScrollBar: {
            auto* bar = new Fl_Scrollbar(0, 0, w, h);
            bar->type(FL_HORIZONTAL);
            bar->bounds(spec_.minimum, spec_.maximum);
            bar->step(1);
            bar->linesize(std::max(1, spec_.smallChange));
            // A page of the thumb's size moves by the large change.
            double range = std::abs(spec_.maximum - spec_.minimum);
            double large = std::max(1, spec_.largeChange);
            bar->slider_size(range > 0 ? large / (range + large) : 1.0);
            bar->value(std::clamp(state_.value, std::min(spec_.minimum, spec_.maximum),
                                  std::max(spec_.minimum, spec_.maximum)));
            bar->when(FL_WHEN_CHANGED);
            widget_ = bar;
            break;
        }
        case ControlKind::PictureBox:
            picture_ = new PictureWindow(0, 0, w, h, *surface_, spec_.border);
            picture_->end();
            picture_->setMouseListener(
                [this, alive = form_.aliveToken()](EventType type, int x, int y, int button) {
                    if (!*alive) return;
                    Event event{type, spec_.name};
                    event.x = x;
                    event.y = y;
                    event.button = button;
                    event.shift = 0;
                    form_.fire(event);
                });
            widget_ = picture_;
            break;
        case ControlKind::Shape:
            widget_ = new ShapeWidget(0, 0, w, h, kBlack);
            break;
        case ControlKind::Line:
            widget_ = new LineWidget(0, 0, 0, 0, kBlack);
            break;
        case ControlKind::DriveList:
            widget_ = new Fl_Choice(0, 0, w, h);
            break;
        case ControlKind::DirList:
        case ControlKind::FileList: {
            auto* browser = new Fl_Hold_Browser(0, 0, w, h);
            browser->format_char(0);  // file names are shown as they are
            browser->has_scrollbar(Fl_Browser_::VERTICAL);
            browser->column_char(0);
            browser->when(FL_WHEN_CHANGED);
            widget_ = browser;
            break;
        }
        case ControlKind::Timer:
            return;
    }
    // A picture box's window closing is the form's business, not an event.
    if (picture_ == nullptr) widget_->callback(widgetCallback, this);
    applyStyle();
    applyGeometry();
    setCaption(state_.caption);
    if (!state_.enabled) widget_->deactivate();
    if (!state_.visible) widget_->hide();
    if (spec_.tabIndex < 0 && windowed() && spec_.kind != ControlKind::PictureBox)
        widget_->clear_visible_focus();
}

// What shows through the control: its container's colour.
Colour FltkControl::colourUnder() const {
    if (spec_.backColour) return *spec_.backColour;
    for (const ControlSpec& other : form_.design().controls)
        if (!spec_.parent.empty() && other.name == spec_.parent && other.backColour)
            return *other.backColour;
    return form_.design().backColour;
}

void FltkControl::applyStyle() {
    const FltkScreen& screen = form_.screen();
    FltkFont font = fltkFont(spec_.font.value_or(form_.font()), screen.dotsPerInch());
    Colour fore = spec_.foreColour.value_or(form_.design().foreColour.value_or(kBlack));
    widget_->labelfont(font.face);
    widget_->labelsize(font.pixels);
    widget_->labelcolor(fltkColour(fore));
    if (spec_.backColour) widget_->color(fltkColour(*spec_.backColour));
    switch (spec_.kind) {
        case ControlKind::Label:
            widget_->box(spec_.transparent ? FL_NO_BOX : FL_FLAT_BOX);
            if (!spec_.backColour) widget_->color(fltkColour(form_.design().backColour));
            widget_->align(labelAlign(spec_.align));
            break;
        case ControlKind::Image:
            widget_->box(spec_.border ? FL_DOWN_FRAME : FL_NO_BOX);
            break;
        case ControlKind::TextBox: {
            auto* input = static_cast<Fl_Input*>(widget_);
            input->textfont(font.face);
            input->textsize(font.pixels);
            input->textcolor(fltkColour(fore));
            if (!spec_.backColour) input->color(fltkColour(kWhite));
            break;
        }
        case ControlKind::DriveList: {
            auto* choice = static_cast<Fl_Choice*>(widget_);
            choice->textfont(font.face);
            choice->textsize(font.pixels);
            break;
        }
        case ControlKind::DirList:
        case ControlKind::FileList: {
            auto* browser = static_cast<Fl_Hold_Browser*>(widget_);
            browser->textfont(font.face);
            browser->textsize(font.pixels);
            browser->textcolor(fltkColour(fore));
            if (!spec_.backColour) browser->color(fltkColour(kWhite));
            break;
        }
        case ControlKind::Shape: {
            auto* shape = static_cast<ShapeWidget*>(widget_);
            shape->setBorderColour(spec_.borderColour.value_or(fore));
            shape->setFill(spec_.fillStyle, spec_.fillColour.value_or(kBlack));
            break;
        }
        case ControlKind::Line:
            static_cast<LineWidget*>(widget_)->setColour(spec_.borderColour.value_or(fore));
            break;
        default:
            break;
    }
}

void FltkControl::applyGeometry() {
    if (widget_ == nullptr) return;
    const FltkScreen& screen = form_.screen();
    int x = insetX_ + screen.toPixelsX(state_.rect.left),
        y = insetY_ + screen.toPixelsY(state_.rect.top);
    if (spec_.kind == ControlKind::Line) {
        static_cast<LineWidget*>(widget_)->setEnds(
            x, y, insetX_ + screen.toPixelsX(state_.rect.left + state_.rect.width),
            insetY_ + screen.toPixelsY(state_.rect.top + state_.rect.height));
        return;
    }
    int w = std::max(1, screen.toPixelsX(state_.rect.width)),
        h = std::max(1, screen.toPixelsY(state_.rect.height));
    widget_->resize(x, y, w, h);
    if (surface_ != nullptr) {
        int frame = 2 * picture_->frameWidth();
        Colour background = spec_.backColour.value_or(form_.design().backColour);
        surface_->resizeKeeping(std::max(0, screen.toPixelsX(state_.rect.width) - frame),
                                std::max(0, screen.toPixelsY(state_.rect.height) - frame),
                                background);
    }
}

void FltkControl::placeIn(int insetX, int insetY) {
    insetX_ = insetX;
    insetY_ = insetY;
    applyGeometry();
}

bool FltkControl::windowed() const {
    switch (spec_.kind) {
        case ControlKind::Button:
        case ControlKind::CheckBox:
        case ControlKind::OptionButton:
        case ControlKind::TextBox:
        case ControlKind::HScrollBar:
        case ControlKind::PictureBox:
        case ControlKind::DriveList:
        case ControlKind::DirList:
        case ControlKind::FileList:
            return true;
        default:
            return false;
    }
}

bool FltkControl::takesFocus() const {
    return widget_ != nullptr && windowed() && spec_.tabIndex >= 0 && widget_->visible_r() &&
           widget_->active_r();
}

char FltkControl::accessKey() const {
    bool captioned = spec_.kind == ControlKind::Label || isButtonKind(spec_.kind);
    if (!captioned || widget_ == nullptr || !widget_->visible_r() || !widget_->active_r()) return 0;
    return captionAccessKey(state_.caption);
}

Fl_Group* FltkControl::asContainer() const {
    return picture_;
}

void FltkControl::redrawArea() {
    if (widget_ == nullptr) return;
    if (Fl_Widget* container = widget_->parent(); container != nullptr) container->redraw();
}

void FltkControl::setCaption(const std::string& caption) {
    state_.caption = caption;
    if (widget_ == nullptr) return;
    bool captioned = spec_.kind == ControlKind::Label || isButtonKind(spec_.kind);
    if (!captioned) return;
    widget_->copy_label(widgetLabel(caption).c_str());
}

std::string FltkControl::text() const {
    if (spec_.kind == ControlKind::TextBox) return static_cast<const Fl_Input*>(widget_)->value();
    return state_.text;
}

void FltkControl::setText(const std::string& text) {
    if (spec_.kind != ControlKind::TextBox) {
        state_.text = text;
        return;
    }
    shownText_ = firstCharacters(text, spec_.maxLength);
    static_cast<Fl_Input*>(widget_)->value(shownText_.c_str());
}

int FltkControl::value() const {
    switch (spec_.kind) {
        case ControlKind::CheckBox:
        case ControlKind::OptionButton:
            return static_cast<const Fl_Button*>(widget_)->value() != 0 ? 1 : 0;
        case ControlKind::HScrollBar:
            return static_cast<const Fl_Scrollbar*>(widget_)->value();
        default:
            return state_.value;
    }
}

void FltkControl::setValue(int value) {
    switch (spec_.kind) {
        case ControlKind::CheckBox:
            static_cast<Fl_Button*>(widget_)->value(value != 0);
            return;
        case ControlKind::OptionButton: {
            auto* option = static_cast<Fl_Button*>(widget_);
            // Choosing one option clears the others of its container.
            if (value != 0 && option->parent() != nullptr)
                option->setonly();
            else
                option->value(value != 0);
            return;
        }
        case ControlKind::HScrollBar: {
            int low = std::min(spec_.minimum, spec_.maximum),
                high = std::max(spec_.minimum, spec_.maximum);
            static_cast<Fl_Scrollbar*>(widget_)->value(std::clamp(value, low, high));
            return;
        }
        default:
            state_.value = value;
    }
}

void FltkControl::setEnabled(bool enabled) {
    state_.enabled = enabled;
    if (timer_) timer_->restart(state_.interval, state_.enabled);
    if (widget_ == nullptr) return;
    if (enabled)
        widget_->activate();
    else
        widget_->deactivate();
}

void FltkControl::setVisible(bool visible) {
    state_.visible = visible;
    if (widget_ == nullptr) return;
    if (visible)
        widget_->show();
    else
        widget_->hide();
    redrawArea();
}

void FltkControl::move(const TwipsRect& rect) {
    state_.rect = rect;
    applyGeometry();
    if (!windowed()) redrawArea();
}

void FltkControl::setFocus() {
    if (widget_ != nullptr) form_.focusControl(*this);
}

void FltkControl::setForeColour(Colour colour) {
    spec_.foreColour = colour;
    if (widget_ == nullptr) return;
    if (spec_.kind == ControlKind::Shape) spec_.borderColour = colour;
    if (spec_.kind == ControlKind::Line) spec_.borderColour = colour;
    applyStyle();
    widget_->redraw();
    redrawArea();
}

void FltkControl::setInterval(int milliseconds) {
    state_.interval = milliseconds;
    if (timer_) timer_->restart(state_.interval, state_.enabled);
}

void FltkControl::stopTimer() {
    if (timer_) timer_->stop();
}

void FltkControl::setItems(const std::vector<std::string>& items) {
    state_.items = items;
    state_.selected = state_.items.empty() ? -1
                                           : std::clamp(selectedIndex(), -1,
                                                        static_cast<int>(state_.items.size()) - 1);
    if (spec_.kind == ControlKind::DriveList) {
        auto* choice = static_cast<Fl_Choice*>(widget_);
        choice->clear();
        for (const std::string& item : state_.items) choice->add(menuEntry(item).c_str());
        choice->value(state_.selected);
        choice->redraw();
    } else if (isList(spec_.kind)) {
        auto* browser = static_cast<Fl_Hold_Browser*>(widget_);
        browser->clear();
        for (const std::string& item : state_.items) browser->add(item.c_str());
        if (state_.selected >= 0) browser->select(state_.selected + 1);
    }
}

int FltkControl::selectedIndex() const {
    if (spec_.kind == ControlKind::DriveList)
        return static_cast<const Fl_Choice*>(widget_)->value();
    if (isList(spec_.kind)) return static_cast<const Fl_Hold_Browser*>(widget_)->value() - 1;
    return state_.selected;
}

void FltkControl::setSelectedIndex(int index) {
    state_.select(index);
    if (spec_.kind == ControlKind::DriveList) {
        static_cast<Fl_Choice*>(widget_)->value(state_.selected);
    } else if (isList(spec_.kind)) {
        auto* browser = static_cast<Fl_Hold_Browser*>(widget_);
        if (state_.selected >= 0)
            browser->select(state_.selected + 1);
        else
            browser->deselect();
    }
}

void FltkControl::setFillStyle(int style) {
    spec_.fillStyle = style;
    if (spec_.kind != ControlKind::Shape) return;
    static_cast<ShapeWidget*>(widget_)->setFill(style, spec_.fillColour.value_or(kBlack));
    redrawArea();
}

void FltkControl::setFillColour(Colour colour) {
    spec_.fillColour = colour;
    if (spec_.kind != ControlKind::Shape) return;
    static_cast<ShapeWidget*>(widget_)->setFill(spec_.fillStyle, colour);
    redrawArea();
}

WindowHandle FltkControl::handle() const {
    if (picture_ == nullptr) return 0;
    form_.realiseForChildHandles();
    return static_cast<WindowHandle>(nativeHandle(*picture_));
}

void FltkControl::performClick() {
    if (!state_.enabled || !state_.visible || widget_ == nullptr) return;
    if (spec_.kind == ControlKind::CheckBox) setValue(value() == 0 ? 1 : 0);
    if (spec_.kind == ControlKind::OptionButton) setValue(1);
    form_.fire(Event{EventType::Click, spec_.name});
}

void FltkControl::widgetCallback(Fl_Widget*, void* self) {
    auto* control = static_cast<FltkControl*>(self);
    bool click = isButtonKind(control->spec_.kind);
    control->widgetChanged(click ? EventType::Click : EventType::Change);
}

void FltkControl::widgetChanged(EventType type) {
    if (type == EventType::Change && widget_ != nullptr) widget_->clear_changed();
    if (spec_.kind == ControlKind::TextBox) {
        // A key refused at the length limit changes nothing.
        std::string now = text();
        if (now == shownText_) return;
        shownText_ = now;
    }
    form_.fire(Event{type, spec_.name});
}

}  // namespace pictavo::platform::fltk
