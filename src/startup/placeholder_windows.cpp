#include "startup/placeholder_windows.h"

namespace pictavo::startup {

platform::Form& PlaceholderWindows::open(const char* caption, platform::FormStyle style) {
    platform::FormSpec design;
    design.name = "Placeholder";
    design.caption = caption;
    design.clientWidth = 4800;
    design.clientHeight = 1800;
    design.style = style;
    forms_.push_back(factory_.create(design, *this, nullptr));
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
