#include "startup/placeholder_windows.h"

namespace pictavo::startup {

namespace {
constexpr int kPreviewTickMs = 1000;
}

platform::Form& PlaceholderWindows::open(const char* caption, platform::FormStyle style,
                                         std::vector<platform::ControlSpec> controls) {
    platform::FormSpec spec;
    spec.name = "Placeholder";
    spec.caption = caption;
    spec.clientWidth = 4800;
    spec.clientHeight = 1800;
    spec.style = style;
    spec.controls = std::move(controls);
    forms_.push_back(host_.forms().create(spec, *this, nullptr));
    return *forms_.back();
}

void PlaceholderWindows::startSlideShow() {
    open(kSlideWindowCaption, platform::FormStyle::FixedDialog).show(false);
}

void PlaceholderWindows::showConfiguration(const char* caption) {
    open(caption, platform::FormStyle::FixedDialog).show(true);
}

void PlaceholderWindows::loadPreview() {
    platform::ControlSpec picture;
    picture.name = "Picture1";
    picture.kind = platform::ControlKind::PictureBox;
    picture.rect = {0, 0, 1500, 1125};
    picture.backColour = platform::bgr(0, 0, 0);
    platform::ControlSpec timer;
    timer.name = "Timer1";
    timer.kind = platform::ControlKind::Timer;
    timer.intervalMs = kPreviewTickMs;
    platform::Form& form = open("", platform::FormStyle::Hidden, {picture, timer});

    platform::WindowSystem& windows = host_.windows();
    platform::Control& picture1 = form.control("Picture1");
    platform::ClientRect rect = windows.clientRect(state_.PreviewWindow);
    picture1.move({0, 0, (rect.right - rect.left) * state_.TwipsPerPixelX,
                   (rect.bottom - rect.top) * state_.TwipsPerPixelY});
    previewHook_ = windows.hookMessage(picture1.handle(), platform::WindowSystem::kWmClose,
                                       [this](uint32_t) { previewClosed_ = true; });
    windows.setParent(picture1.handle(), state_.PreviewWindow);
}

void PlaceholderWindows::showChangePassword() {
    open(kChangePasswordCaption, platform::FormStyle::FixedDialog).show(false);
}

void PlaceholderWindows::previewTick(platform::Form& form) {
    if (host_.windows().isWindow(state_.PreviewWindow) && !previewClosed_) return;
    previewHook_.reset();
    form.unload();
    host_.eventLoop().requestEnd();
}

void PlaceholderWindows::onEvent(platform::Form& form, platform::Event& event) {
    if (event.type == platform::EventType::Close) form.unload();
    if (event.type == platform::EventType::Timer) previewTick(form);
}

}  // namespace pictavo::startup
