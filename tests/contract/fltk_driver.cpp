// The contract on the desktop host: a virtual X display of the test
// program's own, real key and pointer events from xdotool, and FLTK's
// events handled until they are done.

#include <gtest/gtest.h>

#include "contract/dialog_driver.h"
#include "hosts/fltk/fltk_forms.h"
#include "hosts/fltk/fltk_host.h"
#include "hosts/fltk/native_window.h"
#include "hosts/fltk/x11_probe.h"
#include "hosts/fltk/xvfb_environment.h"

// After the program's headers: FLTK's drawing header brings Xlib's macros.
#include <FL/Fl.H>
#include <FL/Fl_Browser.H>
#include <FL/fl_draw.H>

namespace pictavo::testing {

namespace {

using platform::fltk::FltkForm;
using platform::fltk::FltkRole;

// How long the display and FLTK take to deliver what xdotool sent.
constexpr double kSettleSeconds = 0.25;

Fl_Widget* widgetOf(platform::Form& form, const std::string& name) {
    return static_cast<FltkRole*>(form.control(name).native())->widget();
}

class FltkDriver : public DialogDriver {
  public:
    platform::Host& host() override { return host_; }

    void show(platform::Form& form) override {
        form.show(false);
        auto window = static_cast<unsigned long>(form.handle());
        pumpUntil([&] { return probe_.mapped(window); });
        pumpFor(kSettleSeconds);
    }
    void keys(const std::string& strokes) override {
        EXPECT_TRUE(xdotool("key --delay 40 " + strokes)) << strokes;
        pumpFor(kSettleSeconds);
    }
    void type(const std::string& text) override {
        EXPECT_TRUE(xdotool("type --delay 40 '" + text + "'")) << text;
        pumpFor(kSettleSeconds);
    }
    void click(platform::Form& form, const std::string& control) override {
        Fl_Widget* widget = widgetOf(form, control);
        // A check box or option is clicked on its mark, a button in its middle.
        bool mark = form.control(control).design().kind == platform::ControlKind::CheckBox ||
                    form.control(control).design().kind == platform::ControlKind::OptionButton;
        clickAt(*widget, mark ? 8 : widget->w() / 2, widget->h() / 2, 1);
    }
    void clickRow(platform::Form& form, const std::string& list, int row, bool twice) override {
        auto* browser = static_cast<Fl_Browser*>(widgetOf(form, list));
        fl_font(browser->textfont(), browser->textsize());
        int rowHeight = fl_height();
        int y = Fl::box_dy(browser->box()) + row * rowHeight + rowHeight / 2;
        clickAt(*browser, Fl::box_dx(browser->box()) + 30, y, twice ? 2 : 1);
    }
    std::string focused(platform::Form& form) override {
        platform::Control* control = static_cast<FltkForm&>(form).controlOf(Fl::focus());
        return control != nullptr ? control->name() : std::string();
    }
    void duringModal(const std::function<void()>& open, const std::function<void()>& script,
                     const std::function<void()>& close) override {
        Modal modal{script, close};
        // Runs once the modal loop waits for events.
        Fl::add_timeout(0.3, runScript, &modal);
        open();
        Fl::remove_timeout(runScript, &modal);
        EXPECT_TRUE(modal.ran) << "the dialog closed before the script ran";
    }

  private:
    struct Modal {
        std::function<void()> script;
        std::function<void()> close;
        bool ran = false;
    };
    static void runScript(void* data) {
        auto* modal = static_cast<Modal*>(data);
        modal->ran = true;
        modal->script();
        modal->close();
    }
    void clickAt(Fl_Widget& widget, int dx, int dy, int clicks) {
        Fl_Window* window = widget.as_window() != nullptr ? widget.as_window() : widget.window();
        int x = widget.as_window() != nullptr ? dx : widget.x() + dx;
        int y = widget.as_window() != nullptr ? dy : widget.y() + dy;
        ScreenPoint at = probe_.onScreen(platform::fltk::nativeHandle(*window), x, y);
        std::string repeat =
            clicks > 1 ? " --repeat " + std::to_string(clicks) + " --delay 80" : "";
        EXPECT_TRUE(xdotool("mousemove " + std::to_string(at.x) + " " + std::to_string(at.y) +
                            " click" + repeat + " 1"));
        pumpFor(kSettleSeconds);
    }

    platform::fltk::FltkHost host_;
    X11Probe probe_;
};

}  // namespace

std::unique_ptr<DialogDriver> makeDialogDriver() {
    return std::make_unique<FltkDriver>();
}

}  // namespace pictavo::testing
