#pragma once
// The real windows of each mode, for the programs' mains.

#include <functional>
#include <memory>

#include "platform/host.h"
#include "slideshow/transition_runner.h"
#include "startup/mode_windows.h"
#include "startup/saver_state.h"

namespace pictavo::config {
class SSConfig;
class frmChangePass;
}  // namespace pictavo::config
namespace pictavo::slideshow {
class PreviewForm;
class SlideWindow;
}  // namespace pictavo::slideshow

namespace pictavo::startup {

class SaverWindows : public ModeWindows {
  public:
    using TransitionsFactory =
        std::function<std::unique_ptr<slideshow::TransitionRunner>(platform::Host&, SaverState&)>;

    // Without a transitions factory every slide change is a cut.
    SaverWindows(platform::Host& host, SaverState& state, TransitionsFactory transitions = {});
    ~SaverWindows() override;

    void startSlideShow() override;
    void showConfiguration(const char* caption) override;
    void loadPreview() override;
    void showChangePassword() override;

  private:
    platform::Host& host_;
    SaverState& state_;
    TransitionsFactory makeTransitions_;
    std::unique_ptr<slideshow::TransitionRunner> transitions_;
    std::unique_ptr<slideshow::SlideWindow> slideWindow_;
    std::unique_ptr<config::SSConfig> configuration_;
    std::unique_ptr<config::frmChangePass> changePassword_;
    std::unique_ptr<slideshow::PreviewForm> preview_;
};

}  // namespace pictavo::startup
