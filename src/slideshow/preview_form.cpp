#include "slideshow/preview_form.h"

#include <utility>

#include "dialogs/reactions.h"
#include "slideshow/control_spec.h"
#include "slideshow/picture_loader.h"

namespace pictavo::slideshow {

namespace {
using platform::ControlKind;
using platform::ControlSpec;
using platform::EventType;
using platform::Reaction;

constexpr int kTickMs = 1000;
// The longest a tick waits for its picture without looking at events.
constexpr int64_t kWaitSliceMicros = 10'000;

}  // namespace

PreviewForm::PreviewForm(platform::Host& host, SaverState& state)
    : host_(host),
      state_(state),
      decoding_(host),
      MessageHook1(host.windows(), [this](uint32_t message) { reclaimPictureOnClose(message); }) {}

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
    stageNext();
}

void PreviewForm::onEvent(platform::Form&, platform::Event& event) {
    static constexpr Reaction<PreviewForm> kReactions[] = {
        {EventType::Timer, "Timer1", &PreviewForm::countTowardsNextPicture},
    };
    platform::react(*this, kReactions, event);
}

void PreviewForm::countTowardsNextPicture() {
    if (!host_.windows().isWindow(state_.PreviewWindow) || !state_.PreviewActive) {
        unload();
        return;
    }
    // Ticks that come while a picture is on its way are not counted.
    if (waiting_) return;
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

void PreviewForm::reclaimPictureOnClose(uint32_t message) {
    if (message != platform::WindowSystem::kWmClose || !form_) return;
    host_.windows().setParent(form_->control("Picture1").handle(), form_->handle());
    state_.PreviewActive = false;
}

void PreviewForm::ShowNextPreviewPicture() {
    // An empty folder shows nothing: the preview keeps what it showed.
    if (File1.empty()) return;
    const int index = takeNextIndex();
    platform::Surface& picture1 = *form_->control("Picture1").surface();
    {
        auto prepared = stagedPicture(index, picture1);
        if (!prepared) return;
        // A file that fails leaves the previous picture on display.
        if (prepared->loaded && prepared->rendered && *prepared->rendered)
            display(picture1, prepared->image);
    }
    stageNext();
}

// The next change's pick is made now, in the order the random generator
// has always been drawn in, and its picture is prepared meanwhile.
void PreviewForm::stageNext() {
    if (File1.empty() || !form_ || !form_->loaded() || host_.eventLoop().endRequested()) return;
    nextIndex_ = pickNextPicture(File1, state_.random, state_.LastPictureIndex).index;
    decoding_.prepare(previewOrder(*nextIndex_, *form_->control("Picture1").surface()));
}

// The change's pick; it becomes LastPictureIndex before its picture is loaded.
int PreviewForm::takeNextIndex() {
    const int index = nextIndex_
                          ? *std::exchange(nextIndex_, std::nullopt)
                          : pickNextPicture(File1, state_.random, state_.LastPictureIndex).index;
    state_.LastPictureIndex = index;
    return index;
}

PictureOrder PreviewForm::previewOrder(int index, const platform::Surface& picture1) const {
    PictureOrder order;
    order.name = File1.List(index);
    order.path = state_.PicturePath + order.name;
    order.fit = PictureOrder::Fit::Box;
    order.width = picture1.width();
    order.height = picture1.height();
    order.targetColours = host_.screen().displayColours();
    return order;
}

// The prepared picture as the file is now, ordered again when the window's
// size changed since; events are dispatched meanwhile. nullopt when the
// program ends during the wait.
std::optional<PreparedPicture> PreviewForm::stagedPicture(int index,
                                                          const platform::Surface& picture1) {
    const PictureOrder wanted = previewOrder(index, picture1);
    if (decoding_.ordered() != wanted) decoding_.prepare(wanted);
    decoding_.confirm();
    platform::EventLoop& loop = host_.eventLoop();
    std::optional<PreparedPicture> prepared;
    waiting_ = true;
    while (!loop.endRequested() && !(prepared = decoding_.takeConfirmed()))
        loop.awaitWake(kWaitSliceMicros);
    waiting_ = false;
    if (unloadPending_) {
        unloadPending_ = false;
        form_->unload();
        return std::nullopt;
    }
    return prepared;
}

void PreviewForm::display(platform::Surface& picture1, const imaging::Image& image) {
    // The whole picture, as large as the little window allows, centred.
    picture1.clear(kStagedBackColour);
    picture1.drawImage(image, (picture1.width() - image.width) / 2,
                       (picture1.height() - image.height) / 2);
    picture1.present();
}

void PreviewForm::unload() {
    if (!form_ || !form_->loaded()) return;
    nextIndex_.reset();
    decoding_.drop();
    host_.eventLoop().requestEnd();
    // A tick waiting for its picture still holds the form: it goes after.
    if (waiting_) {
        unloadPending_ = true;
        return;
    }
    form_->unload();
}

}  // namespace pictavo::slideshow
