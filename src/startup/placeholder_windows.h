#pragma once
// Empty windows captioned like the real ones, for modes whose windows a
// build does not have yet: the dispatch can be seen from outside. The
// preview's stand-in already lives in the preview window it is given and
// ends the program within a second of that window going away.

#include <memory>
#include <vector>

#include "platform/host.h"
#include "startup/mode_windows.h"
#include "startup/saver_state.h"

namespace pictavo::startup {

class PlaceholderWindows : public ModeWindows, private platform::FormHandler {
  public:
    PlaceholderWindows(platform::Host& host, const SaverState& state)
        : host_(host), state_(state) {}

    void startSlideShow() override;
    void showConfiguration(const char* caption) override;
    void loadPreview() override;
    void showChangePassword() override;

  private:
    void onEvent(platform::Form& form, platform::Event& event) override;
    platform::Form& open(const char* caption, platform::FormStyle style,
                         std::vector<platform::ControlSpec> controls = {});
    void previewTick(platform::Form& form);

    platform::Host& host_;
    const SaverState& state_;
    std::vector<std::unique_ptr<platform::Form>> forms_;
    std::unique_ptr<platform::MessageHookHandle> previewHook_;
    bool previewClosed_ = false;
};

}  // namespace pictavo::startup
