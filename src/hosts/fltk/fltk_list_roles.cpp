// The drive list (a drop-down choice) and the folder and file lists. A
// list's own keys move its selection; the dialog manager is told, and
// decides what a double-click or Enter means.

#include <FL/Fl.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Hold_Browser.H>

#include <algorithm>
#include <vector>

#include "hosts/fltk/fltk_forms.h"
#include "hosts/fltk/fltk_roles.h"
#include "hosts/fltk/fltk_screen.h"
#include "hosts/fltk/fltk_style.h"

namespace pictavo::platform::fltk {

namespace {

constexpr int kIndentPixels = 12;  // one step of a folder tree

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

// A browser whose rows may be indented, each by its own number of steps.
class TreeBrowser : public Fl_Hold_Browser {
  public:
    using Fl_Hold_Browser::Fl_Hold_Browser;
    void setIndents(std::vector<int> indents) { indents_ = std::move(indents); }
    // Brings the line into view: in the middle when the rows do not all
    // fit, else with every row shown from the top. A list scrolled although
    // its rows fit shows a scroll bar with nothing to scroll. Asked again
    // when the list takes its size, which the form may set after the rows.
    void showLine(int line) {
        shownLine_ = line;
        if (line <= 0) return;
        int x = 0, y = 0, width = 0, height = 0;
        bbox(x, y, width, height);
        if (full_height() <= height)
            position(0);
        else
            middleline(line);
    }
    void resize(int x, int y, int width, int height) override {
        Fl_Hold_Browser::resize(x, y, width, height);
        if (shownLine_ > 0) showLine(shownLine_);
    }

  protected:
    void item_draw(void* item, int x, int y, int w, int h) const override {
        int shift = indentOf(item);
        Fl_Hold_Browser::item_draw(item, x + shift, y, w - shift, h);
    }
    int item_width(void* item) const override {
        return Fl_Hold_Browser::item_width(item) + indentOf(item);
    }

  private:
    int indentOf(void* item) const {
        size_t line = static_cast<size_t>(lineno(item));
        return line >= 1 && line <= indents_.size() ? indents_[line - 1] * kIndentPixels : 0;
    }

    std::vector<int> indents_;
    int shownLine_ = 0;  // the line last brought into view; 0: none
};

class ListRole : public FltkRole {
  public:
    ListRole(FltkForm& form, Control& control) : FltkRole(form, control) {
        auto* browser = new TreeBrowser(0, 0, widthPixels(), heightPixels());
        browser->format_char(0);  // file names are shown as they are
        browser->column_char(0);
        // A name wider than the file list can be scrolled into view; the bar
        // shows only while one is.
        browser->has_scrollbar(control.design().kind == ControlKind::FileList
                                   ? Fl_Browser_::BOTH
                                   : Fl_Browser_::VERTICAL);
        // A click on the row already selected is a click too (a double-click).
        browser->when(FL_WHEN_CHANGED | FL_WHEN_NOT_CHANGED);
        browser->callback(changedCallback, this);
        adopt(browser);
    }
    bool windowed() const override { return true; }

  protected:
    void applyStyle() override {
        FltkRole::applyStyle();
        auto* browser = static_cast<TreeBrowser*>(widget_);
        FltkFont font =
            fltkFont(control_.design().font.value_or(form_.font()), form_.screen().dotsPerInch());
        browser->textfont(font.face);
        browser->textsize(font.pixels);
        browser->textcolor(fltkColour(foreground()));
        if (!control_.design().backColour) browser->color(FL_WHITE);
    }
    void show(Properties changed) override {
        auto* browser = static_cast<TreeBrowser*>(widget_);
        if (changed.has(Property::Items)) {
            browser->clear();
            browser->showLine(0);
            browser->setIndents(control_.indents());
            for (const std::string& item : control_.items()) browser->add(item.c_str());
        }
        if (changed.has(Property::Selection)) {
            int selected = control_.selectedIndex();
            if (selected >= 0) {
                browser->select(selected + 1);
                browser->showLine(selected + 1);
            } else {
                browser->deselect();
                browser->showLine(0);
            }
        }
    }

  private:
    static void changedCallback(Fl_Widget* widget, void* self) {
        auto* role = static_cast<ListRole*>(self);
        auto* browser = static_cast<TreeBrowser*>(widget);
        widget->clear_changed();
        auto alive = role->form_.aliveToken();
        DialogManager& dialog = role->form_.dialog();
        dialog.selected(role->control_, browser->value() - 1);
        bool second = Fl::event() == FL_RELEASE && Fl::event_clicks() > 0;
        if (*alive && second) dialog.doubleClicked(role->control_);
    }
};

class DriveListRole : public FltkRole {
  public:
    DriveListRole(FltkForm& form, Control& control) : FltkRole(form, control) {
        auto* choice = new Fl_Choice(0, 0, widthPixels(), heightPixels());
        choice->callback(changedCallback, this);
        adopt(choice);
    }
    bool windowed() const override { return true; }

  protected:
    void applyStyle() override {
        FltkRole::applyStyle();
        FltkFont font =
            fltkFont(control_.design().font.value_or(form_.font()), form_.screen().dotsPerInch());
        auto* choice = static_cast<Fl_Choice*>(widget_);
        choice->textfont(font.face);
        choice->textsize(font.pixels);
    }
    void show(Properties changed) override {
        auto* choice = static_cast<Fl_Choice*>(widget_);
        if (changed.has(Property::Items)) {
            choice->clear();
            for (const std::string& item : control_.items()) choice->add(menuEntry(item).c_str());
        }
        if (changed.has(Property::Selection) || changed.has(Property::Items)) {
            choice->value(control_.selectedIndex());
            choice->redraw();
        }
    }

  private:
    static void changedCallback(Fl_Widget* widget, void* self) {
        auto* role = static_cast<DriveListRole*>(self);
        role->form_.dialog().selected(role->control_, static_cast<Fl_Choice*>(widget)->value());
    }
};

}  // namespace

std::unique_ptr<FltkRole> makeListRole(FltkForm& form, Control& control) {
    return std::make_unique<ListRole>(form, control);
}

std::unique_ptr<FltkRole> makeDriveListRole(FltkForm& form, Control& control) {
    return std::make_unique<DriveListRole>(form, control);
}

}  // namespace pictavo::platform::fltk
