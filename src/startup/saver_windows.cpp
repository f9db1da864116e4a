#include "startup/saver_windows.h"

#include "config/change_password_dialog.h"
#include "config/config_dialog.h"
#include "config/password_encoding.h"
#include "slideshow/engine_transitions.h"
#include "slideshow/preview_form.h"
#include "slideshow/show_trace.h"
#include "slideshow/slide_window.h"

namespace pictavo::startup {

SaverWindows::SaverWindows(platform::Host& host, SaverState& state) : host_(host), state_(state) {}

SaverWindows::~SaverWindows() = default;

void SaverWindows::startSlideShow() {
    transitions_ = std::make_unique<slideshow::EngineTransitions>(host_, state_);
    slideshow::TransitionRunner* runner = transitions_.get();
    if (traceOut_ != nullptr) {
        showTrace_ = std::make_unique<slideshow::ShowTrace>(
            host_.clock(), host_.clock().nowMicros(), *transitions_, traceOut_, true);
        runner = showTrace_.get();
    }
    slideWindow_ = std::make_unique<slideshow::SlideWindow>(
        host_, state_, *runner,
        [](const std::string& typed) { return config::EncodePassword(typed); });
    if (showTrace_) slideWindow_->setObserver(showTrace_.get());
    slideWindow_->show();
}

void SaverWindows::showConfiguration(const char* caption) {
    configuration_ = std::make_unique<config::ConfigDialog>(host_, state_);
    configuration_->show(caption);
}

void SaverWindows::loadPreview() {
    preview_ = std::make_unique<slideshow::PreviewForm>(host_, state_);
    preview_->load();
}

void SaverWindows::showChangePassword() {
    changePassword_ = std::make_unique<config::ChangePasswordDialog>(host_, state_);
    changePassword_->showAsProgram();
}

}  // namespace pictavo::startup
