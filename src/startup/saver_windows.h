#pragma once
// The real windows of each mode, for the programs' mains.

#include <memory>
#include <ostream>

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
class ShowTrace;
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

    // The show started later writes its record there, in wall-clock
    // milliseconds since it began, with a line when each effect ends.
    void setShowTrace(std::ostream* out) { traceOut_ = out; }

  private:
    platform::Host& host_;
    SaverState& state_;
    std::unique_ptr<config::ConfigDialog> configuration_;
    std::unique_ptr<config::ChangePasswordDialog> changePassword_;
    std::unique_ptr<slideshow::PreviewForm> preview_;
    std::unique_ptr<slideshow::EngineTransitions> transitions_;
    std::ostream* traceOut_ = nullptr;
    std::unique_ptr<slideshow::ShowTrace> showTrace_;
    std::unique_ptr<slideshow::SlideWindow> slideWindow_;
};

}  // namespace pictavo::startup
