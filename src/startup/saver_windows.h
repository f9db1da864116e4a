#pragma once
// The real windows of each mode, for the programs' mains.

#include <memory>

#include "platform/host.h"
#include "startup/mode_windows.h"
#include "startup/placeholder_windows.h"
#include "startup/saver_state.h"

namespace pictavo::config {
class SSConfig;
class frmChangePass;
}  // namespace pictavo::config
namespace pictavo::slideshow {
class PreviewForm;
}  // namespace pictavo::slideshow

namespace pictavo::startup {

class SaverWindows : public ModeWindows {
public:
    SaverWindows(platform::Host& host, SaverState& state);
    ~SaverWindows() override;

    void startSlideShow() override;
    void showConfiguration(const char* caption) override;
    void loadPreview() override;
    void showChangePassword() override;

private:
    platform::Host& host_;
    SaverState& state_;
    PlaceholderWindows placeholders_;
    std::unique_ptr<config::SSConfig> configuration_;
    std::unique_ptr<config::frmChangePass> changePassword_;
    std::unique_ptr<slideshow::PreviewForm> preview_;
};

}  // namespace pictavo::startup
