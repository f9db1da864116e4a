#include "hosts/fltk/fltk_role.h"

#include <FL/Fl_Group.H>

#include <algorithm>

#include "hosts/fltk/fltk_forms.h"
#include "hosts/fltk/fltk_roles.h"
#include "hosts/fltk/fltk_screen.h"
#include "hosts/fltk/fltk_style.h"

namespace pictavo::platform::fltk {

FltkRole::~FltkRole() {
    if (widget_ != nullptr) widget_->callback(static_cast<Fl_Callback*>(nullptr), nullptr);
}

void FltkRole::adopt(Fl_Widget* widget) {
    widget_ = widget;
    applyStyle();
    applyGeometry();
    show(Properties::all());
    if (!control_.enabled()) widget_->deactivate();
    if (!control_.visible()) widget_->hide();
    // Only tab stops show the focus; the dialog manager decides who gets it.
    // A picture box keeps its window's keyboard either way.
    if (control_.design().tabIndex < 0 && container() == nullptr) widget_->clear_visible_focus();
}

void FltkRole::update(Properties changed) {
    if (widget_ == nullptr) {
        show(changed);
        return;
    }
    if (changed.has(Property::Enabled)) {
        if (control_.enabled())
            widget_->activate();
        else
            widget_->deactivate();
    }
    if (changed.has(Property::Visible)) {
        if (control_.visible())
            widget_->show();
        else
            widget_->hide();
        redrawArea();
    }
    if (changed.has(Property::Bounds)) {
        applyGeometry();
        if (!windowed()) redrawArea();
    }
    if (changed.has(Property::ForeColour)) {
        applyStyle();
        widget_->redraw();
        redrawArea();
    }
    show(changed);
}

void FltkRole::focus() {
    if (widget_ != nullptr) form_.focusWidget(widget_);
}

int FltkRole::widthPixels() const {
    return std::max(1, form_.screen().toPixelsX(control_.bounds().width));
}

int FltkRole::heightPixels() const {
    return std::max(1, form_.screen().toPixelsY(control_.bounds().height));
}

Colour FltkRole::colourUnder() const {
    const ControlSpec& design = control_.design();
    if (design.backColour) return *design.backColour;
    for (const ControlSpec& other : form_.design().controls)
        if (!design.parent.empty() && other.name == design.parent && other.backColour)
            return *other.backColour;
    return form_.design().backColour;
}

Colour FltkRole::foreground() const {
    return control_.foreColour().value_or(form_.design().foreColour.value_or(bgr(0, 0, 0)));
}

void FltkRole::applyStyle() {
    FltkFont font =
        fltkFont(control_.design().font.value_or(form_.font()), form_.screen().dotsPerInch());
    widget_->labelfont(font.face);
    widget_->labelsize(font.pixels);
    widget_->labelcolor(fltkColour(foreground()));
    if (control_.design().backColour) widget_->color(fltkColour(*control_.design().backColour));
}

void FltkRole::applyGeometry() {
    const FltkScreen& screen = form_.screen();
    widget_->resize(insetX_ + screen.toPixelsX(control_.bounds().left),
                    insetY_ + screen.toPixelsY(control_.bounds().top), widthPixels(),
                    heightPixels());
}

void FltkRole::placeIn(int insetX, int insetY) {
    insetX_ = insetX;
    insetY_ = insetY;
    if (widget_ != nullptr) applyGeometry();
}

void FltkRole::redrawArea() {
    if (widget_ == nullptr) return;
    if (Fl_Widget* container = widget_->parent(); container != nullptr) container->redraw();
}

}  // namespace pictavo::platform::fltk

namespace pictavo::platform::fltk {

namespace {

struct RoleOfKind {
    ControlKind kind;
    std::unique_ptr<FltkRole> (*make)(FltkForm&, Control&);
};

constexpr RoleOfKind kRoles[] = {
    {ControlKind::Label, makeLabelRole},         {ControlKind::Button, makeButtonRole},
    {ControlKind::CheckBox, makeButtonRole},     {ControlKind::OptionButton, makeButtonRole},
    {ControlKind::TextBox, makeTextBoxRole},     {ControlKind::HScrollBar, makeScrollBarRole},
    {ControlKind::PictureBox, makePictureRole},  {ControlKind::Image, makeImageRole},
    {ControlKind::Shape, makeShapeRole},         {ControlKind::Line, makeLineRole},
    {ControlKind::DriveList, makeDriveListRole}, {ControlKind::DirList, makeListRole},
    {ControlKind::FileList, makeListRole},       {ControlKind::Timer, makeTimerRole},
};

}  // namespace

std::unique_ptr<FltkRole> makeFltkRole(FltkForm& form, Control& control) {
    for (const RoleOfKind& role : kRoles)
        if (role.kind == control.design().kind) return role.make(form, control);
    return makeTimerRole(form, control);  // a kind without a role shows nothing
}

}  // namespace pictavo::platform::fltk
