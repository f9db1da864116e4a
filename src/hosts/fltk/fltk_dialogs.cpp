#include "hosts/fltk/fltk_dialogs.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <algorithm>

#include "hosts/fltk/fltk_event_loop.h"
#include "hosts/fltk/fltk_screen.h"
#include "hosts/fltk/fltk_style.h"
#include "hosts/fltk/native_window.h"
#include "hosts/fltk/x11_display.h"

namespace pictavo::platform::fltk {

namespace {

constexpr int kMargin = 12;
constexpr int kIconSize = 32;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 25;
constexpr int kTextWidth = 360;
constexpr Fl_Fontsize kTextSize = 12;

struct Icon {
    const char* symbol;
    Colour colour;
};

// The style's icon as a letter in a coloured round badge; none for plain.
Icon iconFor(int style) {
    switch (style & 0x70) {
        case kMbIconStop:
            return {"X", bgr(192, 0, 0)};
        case kMbIconQuestion:
            return {"?", bgr(0, 0, 192)};
        case kMbIconExclamation:
            return {"!", bgr(224, 160, 0)};
        case kMbIconInformation:
            return {"i", bgr(0, 0, 192)};
        default:
            return {nullptr, 0};
    }
}

void measure(const std::string& label, int& width, int& height) {
    fl_font(FL_HELVETICA, kTextSize);
    width = kTextWidth;
    height = 0;
    fl_measure(label.c_str(), width, height, 1);
    width = std::max(width, 1);
}

// Shows window modally until it hides; a request to end the program ends it too.
void runModal(Fl_Window& window, FltkEventLoop& loop) {
    // Where the keys went before, to give them back after: without a window
    // manager nobody else does.
    XId before = windowManagerRunning() ? 0 : focusedWindow();
    window.set_modal();
    // Made the way the forms are, so a window manager keeps it centred too.
    realise(window, NativeWindowOptions{});
    mapRealised(window);
    // Above the topmost slide window and the password prompt.
    if (::Window xid = nativeHandle(window); xid != 0) addWindowState(xid, "_NET_WM_STATE_ABOVE");
    while (window.shown() && !loop.endRequested()) loop.waitOnce();
    window.hide();
    if (before != 0 && windowExists(before)) focusWindow(before);
}

void hideWindow(Fl_Widget* widget, void*) {
    widget->top_window()->hide();
}

}  // namespace

void FltkDialogs::centre(Fl_Window& window) const {
    window.position(screen_.originX() + (screen_.widthPixels() - window.w()) / 2,
                    screen_.originY() + (screen_.heightPixels() - window.h()) / 2);
}

int FltkDialogs::messageBox(const std::string& text, const std::string& title, int style) {
    std::string label = plainLabel(text);
    int textWidth = 0, textHeight = 0;
    measure(label, textWidth, textHeight);
    Icon icon = iconFor(style);
    int textLeft = kMargin + (icon.symbol != nullptr ? kIconSize + kMargin : 0);
    int width = std::max(textLeft + textWidth + kMargin, kButtonWidth + 2 * kMargin);
    int height = kMargin + std::max(textHeight, icon.symbol != nullptr ? kIconSize : 0) + kMargin +
                 kButtonHeight + kMargin;

    Fl_Group::current(nullptr);
    Fl_Window window(width, height);
    window.copy_label(title.c_str());
    if (icon.symbol != nullptr) {
        auto* badge = new Fl_Box(kMargin, kMargin, kIconSize, kIconSize, icon.symbol);
        badge->box(FL_OVAL_BOX);
        badge->color(fltkColour(icon.colour));
        badge->labelcolor(FL_WHITE);
        badge->labelfont(FL_HELVETICA_BOLD);
        badge->labelsize(20);
    }
    auto* message = new Fl_Box(textLeft, kMargin, textWidth, textHeight);
    message->copy_label(label.c_str());
    message->labelsize(kTextSize);
    message->align(FL_ALIGN_LEFT | FL_ALIGN_TOP | FL_ALIGN_INSIDE | FL_ALIGN_WRAP);
    auto* ok = new Fl_Return_Button((width - kButtonWidth) / 2, height - kMargin - kButtonHeight,
                                    kButtonWidth, kButtonHeight, "OK");
    ok->callback(hideWindow);
    window.end();
    window.callback(hideWindow);  // closing it, or Esc, is OK too: the box has one button
    centre(window);
    runModal(window, loop_);
    return 1;
}

}  // namespace pictavo::platform::fltk
