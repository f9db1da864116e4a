#include "slideshow/preview_form.h"

#include <algorithm>

#include "slideshow/control_spec.h"
#include "slideshow/picture_loader.h"

namespace pictavo::slideshow {

namespace {
using platform::ControlKind;
using platform::ControlSpec;
using platform::EventType;

constexpr int kTickMs = 1000;

}  // namespace

PreviewForm::PreviewForm(platform::Host& host, SaverState& state)
    : host_(host),
      state_(state),
      codec_(host.platformDecoders(), host.postScriptRenderer()),
      MessageHook1(host.windows(), [this](uint32_t message) { messageHook1Message(message); }) {
    codec_.setTargetColourCount(host.screen().displayColours());
}

PreviewForm::~PreviewForm() = default;

platform::FormSpec PreviewForm::layout() {
    platform::FormSpec design;
    design.name = "ControlForm";
    design.caption = "ControlForm";
    design.clientWidth = 3000;
    design.clientHeight = 2250;
    design.style = platform::FormStyle::Hidden;

    ControlSpec picture1 = makeControl("Picture1", ControlKind::PictureBox, {0, 0, 1500, 1125});
    picture1.backColour = kStagedBackColour;
    ControlSpec timer1 = makeControl("Timer1", ControlKind::Timer, {});
    timer1.intervalMs = 400;
    // File1 and MessageHook1 are the form's picture list and hook, not controls.
    design.controls = {picture1, timer1};
    return design;
}

void PreviewForm::load() {
    if (form_) return;
    form_ = host_.forms().create(layout(), *this, nullptr);
    platform::Control& picture1 = form_->control("Picture1");
    MessageHook1.setHookedWindow(picture1.handle());
    MessageHook1.setMessage(platform::WindowSystem::kWmClose, true);
    fillPreviewWindow();
    form_->control("Timer1").setInterval(kTickMs);
    File1 = PictureList::read(host_.files(), state_.PicturePath);
    host_.windows().setParent(picture1.handle(), state_.PreviewWindow);
    state_.PreviewActive = true;
}

void PreviewForm::onEvent(platform::Form&, platform::Event& event) {
    if (event.type == EventType::Timer && event.control == "Timer1") timer1Timer();
}

void PreviewForm::timer1Timer() {
    if (!host_.windows().isWindow(state_.PreviewWindow) || !state_.PreviewActive) {
        unload();
        return;
    }
    // The window may have been resized since: the picture follows its size.
    if (state_.PreviewActive) fillPreviewWindow();
    if (timer1Tag_.tick(state_.Interval)) ShowNextPreviewPicture();
}

void PreviewForm::fillPreviewWindow() {
    platform::Control& picture1 = form_->control("Picture1");
    platform::ClientRect rect = host_.windows().clientRect(state_.PreviewWindow);
    platform::TwipsRect wanted{0, 0, (rect.right - rect.left) * state_.TwipsPerPixelX,
                               (rect.bottom - rect.top) * state_.TwipsPerPixelY};
    platform::TwipsRect now = picture1.bounds();
    if (now.left != wanted.left || now.top != wanted.top || now.width != wanted.width ||
        now.height != wanted.height)
        picture1.move(wanted);
}

void PreviewForm::messageHook1Message(uint32_t message) {
    if (message != platform::WindowSystem::kWmClose || !form_) return;
    host_.windows().setParent(form_->control("Picture1").handle(), form_->handle());
    state_.PreviewActive = false;
}

void PreviewForm::ShowNextPreviewPicture() {
    // An empty folder shows nothing: the preview keeps what it showed.
    if (File1.empty()) return;
    Pick pick = pickNextPicture(File1, state_.random, state_.LastPictureIndex);
    state_.LastPictureIndex = pick.index;
    auto file = host_.files().openFile(state_.PicturePath + File1.List(pick.index));
    if (!file) return;
    platform::Surface& picture1 = *form_->control("Picture1").surface();
    if (!codec_.load(**file, File1.List(pick.index), picture1.width(), picture1.height())) return;
    fitColours(codec_);
    display(picture1);
}

void PreviewForm::display(platform::Surface& picture1) {
    // The whole picture, as large as the little window allows, centred.
    int boxWidth = picture1.width(), boxHeight = picture1.height();
    if (boxWidth <= 0 || boxHeight <= 0 || codec_.width() <= 0 || codec_.height() <= 0) return;
    double scale = std::min(static_cast<double>(boxWidth) / codec_.width(),
                            static_cast<double>(boxHeight) / codec_.height());
    int width = std::max(1, static_cast<int>(codec_.width() * scale));
    int height = std::max(1, static_cast<int>(codec_.height() * scale));
    if (!codec_.render(width, height)) return;
    picture1.clear(kStagedBackColour);
    picture1.drawImage(codec_.image(), (boxWidth - width) / 2, (boxHeight - height) / 2);
    picture1.present();
}

void PreviewForm::unload() {
    if (!form_ || !form_->loaded()) return;
    form_->unload();
    host_.eventLoop().requestEnd();
}

}  // namespace pictavo::slideshow
