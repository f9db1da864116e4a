#pragma once
// The real windows of each mode, for the programs' mains.

#include <memory>

#include "platform/host.h"
#include "startup/mode_windows.h"
#include "state/saver_state.h"

namespace pictavo::config {
class ConfigDialog;
class ChangePasswordDialog;
}  // namespace pictavo::config
namespace pictavo::slideshow {
class PreviewForm;
class SlideWindow;
class EngineTransitions;
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
    std::unique_ptr<config::ConfigDialog> configuration_;
    std::unique_ptr<config::ChangePasswordDialog> changePassword_;
    std::unique_ptr<slideshow::PreviewForm> preview_;
    std::unique_ptr<slideshow::EngineTransitions> transitions_;
    std::unique_ptr<slideshow::SlideWindow> slideWindow_;
};

}  // namespace pictavo::startup
