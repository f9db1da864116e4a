// The controls that show pictures or are only drawn: picture boxes (with
// the persistent surface the transitions draw on), images, shapes and
// lines; and timers, which show nothing.

#include <algorithm>

#include "artwork/artwork.h"
#include "hosts/fltk/fltk_forms.h"
#include "hosts/fltk/fltk_roles.h"
#include "hosts/fltk/fltk_screen.h"
#include "hosts/fltk/fltk_surface.h"
#include "hosts/fltk/fltk_timer.h"
#include "hosts/fltk/graphic_widgets.h"
#include "hosts/fltk/image_widget.h"
#include "hosts/fltk/native_window.h"
#include "hosts/fltk/picture_window.h"

namespace pictavo::platform::fltk {

namespace {

constexpr Colour kBlack = bgr(0, 0, 0);

// A shape's or line's colour: the one set from code, else the layout's.
Colour outlineOf(const Control& control, Colour foreground) {
    if (control.foreColour() && control.foreColour() != control.design().foreColour)
        return *control.foreColour();
    return control.design().borderColour.value_or(foreground);
}

class PictureRole : public FltkRole {
  public:
    PictureRole(FltkForm& form, Control& control) : FltkRole(form, control) {
        surface_.setDotsPerInch(form.screen().dotsPerInch());
        picture_ = new PictureWindow(0, 0, widthPixels(), heightPixels(), surface_,
                                     form.presenter(), control.design().border);
        picture_->end();
        picture_->setMouseListener(
            [this, alive = form.aliveToken()](EventType type, int x, int y, int button) {
                if (!*alive) return;
                Event event{type, control_.name()};
                event.x = x;
                event.y = y;
                event.button = button;
                form_.raise(event);
            });
        adopt(picture_);
    }
    ~PictureRole() override { picture_->detach(); }

    bool windowed() const override { return true; }
    Fl_Group* container() const override { return picture_; }
    int containerInset() const override { return picture_->frameWidth(); }
    PictureWindow* pictureWindow() const override { return picture_; }
    Surface* surface() override { return &surface_; }
    WindowHandle handle() const override {
        form_.realiseForChildHandles();
        return static_cast<WindowHandle>(nativeHandle(*picture_));
    }

  protected:
    void applyGeometry() override {
        FltkRole::applyGeometry();
        const FltkScreen& screen = form_.screen();
        int frame = 2 * picture_->frameWidth();
        surface_.resizeKeeping(std::max(0, screen.toPixelsX(control_.bounds().width) - frame),
                               std::max(0, screen.toPixelsY(control_.bounds().height) - frame),
                               control_.design().backColour.value_or(form_.design().backColour));
    }

  private:
    FltkSurface surface_;
    PictureWindow* picture_;
};

class ImageRole : public FltkRole {
  public:
    ImageRole(FltkForm& form, Control& control) : FltkRole(form, control) {
        auto* image = new ImageWidget(0, 0, widthPixels(), heightPixels());
        image->setPicture(artwork::image(control.design().resource), control.design().stretch,
                          colourUnder());
        adopt(image);
    }

  protected:
    void applyStyle() override {
        FltkRole::applyStyle();
        widget_->box(control_.design().border ? FL_DOWN_FRAME : FL_NO_BOX);
    }
};

class ShapeRole : public FltkRole {
  public:
    ShapeRole(FltkForm& form, Control& control) : FltkRole(form, control) {
        auto* shape = new ShapeWidget(0, 0, widthPixels(), heightPixels(), kBlack);
        shape->setDotsPerInch(form.screen().dotsPerInch());
        adopt(shape);
    }

  protected:
    Colour outline() const { return outlineOf(control_, foreground()); }
    void applyStyle() override {
        FltkRole::applyStyle();
        auto* shape = static_cast<ShapeWidget*>(widget_);
        shape->setBorderColour(outline());
    }
    void show(Properties changed) override {
        if (!changed.has(Property::Fill)) return;
        static_cast<ShapeWidget*>(widget_)->setFill(control_.fillStyle(),
                                                    control_.fillColour().value_or(kBlack));
        redrawArea();
    }
};

class LineRole : public FltkRole {
  public:
    LineRole(FltkForm& form, Control& control) : FltkRole(form, control) {
        adopt(new LineWidget(0, 0, 0, 0, kBlack));
    }

  protected:
    Colour outline() const { return outlineOf(control_, foreground()); }
    void applyStyle() override {
        FltkRole::applyStyle();
        static_cast<LineWidget*>(widget_)->setColour(outline());
    }
    void applyGeometry() override {
        const FltkScreen& screen = form_.screen();
        const TwipsRect& r = control_.bounds();
        static_cast<LineWidget*>(widget_)->setEnds(insetX_ + screen.toPixelsX(r.left),
                                                   insetY_ + screen.toPixelsY(r.top),
                                                   insetX_ + screen.toPixelsX(r.left + r.width),
                                                   insetY_ + screen.toPixelsY(r.top + r.height));
    }
};

class TimerRole : public FltkRole {
  public:
    TimerRole(FltkForm& form, Control& control)
        : FltkRole(form, control), timer_([this, alive = form.aliveToken()] {
              if (*alive) form_.raise(EventType::Timer, control_.name());
          }) {
        timer_.restart(control.interval(), control.enabled());
    }
    void stop() override { timer_.stop(); }

  protected:
    void show(Properties changed) override {
        if ((changed.has(Property::Enabled) || changed.has(Property::Interval)) && form_.loaded())
            timer_.restart(control_.interval(), control_.enabled());
    }

  private:
    FltkTimer timer_;
};

}  // namespace

std::unique_ptr<FltkRole> makePictureRole(FltkForm& form, Control& control) {
    return std::make_unique<PictureRole>(form, control);
}

std::unique_ptr<FltkRole> makeImageRole(FltkForm& form, Control& control) {
    return std::make_unique<ImageRole>(form, control);
}

std::unique_ptr<FltkRole> makeShapeRole(FltkForm& form, Control& control) {
    return std::make_unique<ShapeRole>(form, control);
}

std::unique_ptr<FltkRole> makeLineRole(FltkForm& form, Control& control) {
    return std::make_unique<LineRole>(form, control);
}

std::unique_ptr<FltkRole> makeTimerRole(FltkForm& form, Control& control) {
    return std::make_unique<TimerRole>(form, control);
}

}  // namespace pictavo::platform::fltk
