#include "startup/placeholder_windows.h"

namespace pictavo::startup {

platform::Form& PlaceholderWindows::open(const char* caption, platform::FormStyle style) {
    platform::FormSpec spec;
    spec.name = "Placeholder";
    spec.caption = caption;
    spec.clientWidth = 4800;
    spec.clientHeight = 1800;
    spec.style = style;
    forms_.push_back(factory_.create(spec, *this, nullptr));
    return *forms_.back();
}

void PlaceholderWindows::startSlideShow() {
    open(kSlideWindowCaption, platform::FormStyle::FixedDialog).show(false);
}

void PlaceholderWindows::showConfiguration(const char* caption) {
    open(caption, platform::FormStyle::FixedDialog).show(true);
}

void PlaceholderWindows::loadPreview() { open("", platform::FormStyle::Hidden); }

void PlaceholderWindows::showChangePassword() {
    open(kChangePasswordCaption, platform::FormStyle::FixedDialog).show(false);
}

void PlaceholderWindows::onEvent(platform::Form& form, platform::Event& event) {
    if (event.type == platform::EventType::Close) form.unload();
}

}  // namespace pictavo::startup
