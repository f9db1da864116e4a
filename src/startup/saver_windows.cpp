#include "startup/saver_windows.h"

#include "config/change_password.h"
#include "config/ss_config.h"
#include "slideshow/preview_form.h"

namespace pictavo::startup {

SaverWindows::SaverWindows(platform::Host& host, SaverState& state)
    : host_(host), state_(state), placeholders_(host.forms()) {}

SaverWindows::~SaverWindows() = default;

void SaverWindows::startSlideShow() { placeholders_.startSlideShow(); }

void SaverWindows::showConfiguration(const char* caption) {
    configuration_ = std::make_unique<config::SSConfig>(host_, state_);
    configuration_->show(caption);
}

void SaverWindows::loadPreview() {
    preview_ = std::make_unique<slideshow::PreviewForm>(host_, state_);
    preview_->load();
}

void SaverWindows::showChangePassword() {
    changePassword_ = std::make_unique<config::frmChangePass>(host_, state_);
    changePassword_->showAsProgram();
}

}  // namespace pictavo::startup
