#include "hosts/fltk/fltk_host.h"

#include <FL/Fl.H>
#include <FL/x.H>

#include <cstdlib>
#include <filesystem>

#include "adapters/ghostscript/eps_ghostscript.h"
#include "adapters/imagelibs/system_decoders.h"
#include "adapters/posix/quiet_signals.h"
#include "hosts/fltk/x11_display.h"

namespace pictavo::platform::fltk {

std::optional<std::string> openDisplay() {
    if (fl_display != nullptr) return std::nullopt;
    const char* named = std::getenv("DISPLAY");
    if (named == nullptr || named[0] == '\0') return "cannot open display: DISPLAY is not set";
    Display* opened = XOpenDisplay(nullptr);
    if (opened == nullptr)
        return std::string("cannot open display \"") + named + "\" named by DISPLAY";
    fl_open_display(opened);
    return std::nullopt;
}

FltkSession::FltkSession() {
    // True colour, so surfaces and windows share one pixel format.
    Fl::visual(FL_RGB);
    installQuietErrorHandler();
    // The classic dialog grey of the layouts.
    Fl::background(192, 192, 192);
    // FLTK's "sans" is whatever the desktop's default is, often a wide face;
    // Helvetica itself (or the metric twin fontconfig has for it) keeps the
    // layouts' captions inside their boxes as MS Sans Serif did.
    Fl::set_font(FL_HELVETICA, " Helvetica");
    Fl::set_font(FL_HELVETICA_BOLD, "BHelvetica");
}

FltkHost::FltkHost()
    : registry_(posix::configFolder() + "/system.ini"),
      settings_(posix::configFolder() + "/settings.ini") {
    loop_.setAliveCheck([this] { return forms_.anyLoaded(); });
    loop_.setFramePresenter(
        [this](bool evenWithinFrame) { forms_.presenter().presentAll(evenWithinFrame); });
}

FltkHost::~FltkHost() = default;

imaging::DecoderList FltkHost::platformDecoders() {
    return systemDecoders();
}

std::unique_ptr<DecodingThreadScope> FltkHost::enterDecodingThread() {
    return posix::holdTerminationSignals();
}

std::shared_ptr<const imaging::PostScriptRenderer> FltkHost::postScriptRenderer() {
    return std::make_shared<GhostscriptRenderer>();
}

std::string FltkHost::defaultPictureFolder() const {
    const char* home = std::getenv("HOME");
    std::string folder = home != nullptr ? home : "/";
    std::error_code error;
    if (std::filesystem::is_directory(folder + "/Pictures", error)) return folder + "/Pictures";
    return folder;
}

Result<void> FltkHost::embedInto(WindowHandle target) {
    auto window = static_cast<::Window>(target);
    if (!windowExists(window)) return makeError("there is no such window");
    XWindowAttributes attributes;
    XGetWindowAttributes(display(), window, &attributes);
    screen_.setSize(attributes.width, attributes.height);
    forms_.embedInto(window);
    cursor_.setLeftAlone(true);
    embedWatch_ = std::make_unique<EmbedWatch>(
        window, loop_, [this](int width, int height) { followEmbedTarget(width, height); });
    return {};
}

void FltkHost::followEmbedTarget(int width, int height) {
    int oldWidth = screen_.widthPixels(), oldHeight = screen_.heightPixels();
    if (width == oldWidth && height == oldHeight) return;
    screen_.setSize(width, height);
    forms_.screenResized(oldWidth, oldHeight);
}

Result<void> FltkHost::embedIntoRoot() {
    return embedInto(static_cast<WindowHandle>(rootDrawingWindow()));
}

}  // namespace pictavo::platform::fltk
