#pragma once
// Empty windows captioned like the real ones, for modes whose windows a
// build does not have yet: the dispatch can be seen from outside.

#include <memory>
#include <vector>

#include "platform/forms.h"
#include "startup/mode_windows.h"

namespace pictavo::startup {

class PlaceholderWindows : public ModeWindows, private platform::FormHandler {
public:
    explicit PlaceholderWindows(platform::FormFactory& factory) : factory_(factory) {}

    void startSlideShow() override;
    void showConfiguration(const char* caption) override;
    void loadPreview() override;
    void showChangePassword() override;

private:
    void onEvent(platform::Form& form, platform::Event& event) override;
    platform::Form& open(const char* caption, platform::FormStyle style);

    platform::FormFactory& factory_;
    std::vector<std::unique_ptr<platform::Form>> forms_;
};

}  // namespace pictavo::startup
