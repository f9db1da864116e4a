#include "slideshow/slide_window.h"

#include <utility>

#include "common/numbers.h"
#include "dialogs/reactions.h"
#include "slideshow/control_spec.h"
#include "slideshow/mouse_cursor.h"
#include "state/screen_pixels.h"

namespace pictavo::slideshow {

namespace {
using platform::ControlKind;
using platform::ControlSpec;
using platform::EventType;
using platform::kAnyControl;
using platform::Reaction;

constexpr int kTickMs = 1000;
// The longest the window waits for its picture without looking at its events.
constexpr int64_t kWaitSliceMicros = 10'000;
constexpr int kEffectsWithoutStretch = 32;
constexpr int kEffectsWithStretch = 43;

}  // namespace

SlideWindow::SlideWindow(platform::Host& host, SaverState& state, TransitionRunner& transitions,
                         PasswordEncoder encodePassword)
    : host_(host),
      state_(state),
      transitions_(transitions),
      PicBuf1(host),
      loader_(host.screen()),
      prompt_(host, state, std::move(encodePassword), [this] { unload(); }),
      picture1Font_(stagedFont()) {}

SlideWindow::~SlideWindow() = default;

platform::FormSpec SlideWindow::layout() {
    platform::FormSpec design;
    design.name = "frmSS";
    design.caption = kSlideWindowCaption;
    // The design size; the set-up makes it the screen's.
    design.clientWidth = 9600;
    design.clientHeight = 7200;
    design.style = platform::FormStyle::Borderless;
    design.backColour = platform::bgr(192, 192, 192);
    design.keyPreview = true;

    ControlSpec picture2 = makeControl("Picture2", ControlKind::PictureBox, {0, 0, 2400, 1800});
    picture2.backColour = kStagedBackColour;
    ControlSpec picture1 = makeControl("Picture1", ControlKind::PictureBox, {0, 0, 2400, 1800});
    picture1.backColour = kStagedBackColour;
    picture1.foreColour = kStagedForeColour;
    picture1.font = stagedFont();
    picture1.visible = false;
    ControlSpec timer1 = makeControl("Timer1", ControlKind::Timer, {});
    timer1.intervalMs = 500;
    // File1 and PicBuf1 are the window's picture list and decoders, not controls.
    design.controls = {picture2, picture1, timer1};
    return design;
}

void SlideWindow::show() {
    if (form_) return;
    form_ = host_.forms().create(layout(), *this, nullptr);
    load();
    form_->show(false);
}

void SlideWindow::load() {
    platform::Form& form = *form_;
    state_.MouseOriginPending = true;
    form.control("Timer1").setInterval(kTickMs);
    timer1Tag_.setText(std::to_string(state_.Interval));
    form.move({0, 0, toInt32(host_.screen().widthTwips()), toInt32(host_.screen().heightTwips())});
    platform::TwipsRect inner = form.clientSize();
    form.control("Picture1").move({0, 0, inner.width, inner.height});
    form.control("Picture2").move({0, 0, inner.width, inner.height});
    host_.windows().setTopmost(form.handle());
    ReadOsVersion();
    if (!state_.Password.empty() && passwordPromptInForce(state_)) {
        host_.system().setScreenSaverRunning(true);
        state_.ScreenSaverRunningSet = true;
    }
    File1 = PictureList::read(host_.files(), state_.PicturePath);
    HideMouseCursor(host_.cursor());
    stageNext();
}

void SlideWindow::ReadOsVersion() {
    platform::OsVersionInfo info;
    info.size = sizeof(info);
    host_.system().getVersion(info);
    state_.OsPlatformId = static_cast<int32_t>(info.platformId);
}

void SlideWindow::onEvent(platform::Form&, platform::Event& event) {
    static constexpr Reaction<SlideWindow> kReactions[] = {
        {EventType::Timer, "Timer1", &SlideWindow::countTowardsNextSlide},
        {EventType::MouseMove, "Picture2", &SlideWindow::exitOnMouseMove},
        {EventType::Click, "Picture2", &SlideWindow::exitSaver},
        {EventType::KeyDown, kAnyControl, &SlideWindow::exitOnKey},
        {EventType::Resize, kAnyControl, &SlideWindow::fitToNewSize},
    };
    platform::react(*this, kReactions, event);
}

void SlideWindow::countTowardsNextSlide() {
    // A tick that comes while a change is still drawing is not counted: a
    // second change must not start inside the first.
    if (slideChanging_ || host_.eventLoop().endRequested()) return;
    if (timer1Tag_.tick(state_.Interval)) ShowNextSlide();
}

// The window drawn into another program's window follows that window's
// size, which stands for the screen: the pictures cover it again and the
// next slide is placed for it.
void SlideWindow::fitToNewSize() {
    if (!form_ || !form_->loaded()) return;
    // The change on the stack draws at the old size; the new one comes after it.
    if (slideChanging_) {
        resizePending_ = true;
        return;
    }
    measureScreen(host_.screen(), state_);
    platform::TwipsRect inner = form_->clientSize();
    form_->control("Picture1").move({0, 0, inner.width, inner.height});
    form_->control("Picture2").move({0, 0, inner.width, inner.height});
    stagedForOldSize_ = true;
}

void SlideWindow::exitOnMouseMove(platform::Event& event) {
    const double x = event.x, y = event.y;
    if (state_.MouseOriginPending) {
        state_.LastMouseX = toInt16(x);
        state_.LastMouseY = toInt16(y);
        state_.MouseOriginPending = false;
        return;
    }
    if (x != state_.LastMouseX || y != state_.LastMouseY) exitSaver();
}

// The key is swallowed: it only ends the show.
void SlideWindow::exitOnKey(platform::Event& event) {
    event.key = 0;
    exitSaver();
}

void SlideWindow::exitSaver() {
    ExitSaver(host_.cursor(), state_, *this);
}

void SlideWindow::ShowNextSlide() {
    platform::Control& picture1 = form_->control("Picture1");
    platform::Surface& picture2 = *form_->control("Picture2").surface();
    slideChanging_ = true;
    changeSlide(picture1, picture2);
    slideChanging_ = false;
    if (observer_ != nullptr) observer_->slideChangeEnded(picture2);
    if (resizePending_) {
        resizePending_ = false;
        fitToNewSize();
    }
    if (unloadPending_) {
        unloadPending_ = false;
        form_->unload();
        return;
    }
    stageNext();
}

// The next change's pick is made now, in the order the random generator
// has always been drawn in (each change's pick, then its effect), and its
// picture is prepared while the current one shows.
void SlideWindow::stageNext() {
    if (File1.empty() || host_.eventLoop().endRequested() || !form_ || !form_->loaded()) return;
    nextPick_ = pickNextPicture(File1, state_.random, state_.LastPictureIndex);
    if (nextPick_->onlyPictureAgain) return;
    const std::string& name = File1.List(nextPick_->index);
    PicBuf1.prepare(
        slideOrder(state_, host_.screen(), *form_->control("Picture1").surface(), name));
}

Pick SlideWindow::takeNextPick() {
    if (!nextPick_) return pickNextPicture(File1, state_.random, state_.LastPictureIndex);
    return *std::exchange(nextPick_, std::nullopt);
}

// The prepared picture of name as the file is now, ordered again when the
// screen changed since; the window goes on dispatching events meanwhile,
// through the same yield as a transition's pauses. nullopt when the end
// was asked for during the wait.
std::optional<PreparedPicture> SlideWindow::stagedPicture(const std::string& name,
                                                          const platform::Surface& picture1) {
    platform::EventLoop& loop = host_.eventLoop();
    const PictureOrder wanted = slideOrder(state_, host_.screen(), picture1, name);
    if (PicBuf1.ordered() != wanted) PicBuf1.prepare(wanted);
    PicBuf1.confirm();
    for (;;) {
        if (loop.endRequested()) return std::nullopt;
        if (auto prepared = PicBuf1.takeConfirmed()) return prepared;
        loop.awaitWake(kWaitSliceMicros);
    }
}

void SlideWindow::changeSlide(platform::Control& picture1, platform::Surface& picture2) {
    platform::Surface& staged = *picture1.surface();
    if (File1.empty()) {
        printOnStaged(staged, kEmptyFolderPoints, emptyFolderLine(state_.PicturePath));
        runTransition(kEffectsWithoutStretch, staged, picture2);
        return;
    }
    Pick pick = takeNextPick();
    // The only picture is staged once, and again after the size changed.
    if (pick.onlyPictureAgain && !stagedForOldSize_) {
        runTransition(effectRange(), staged, picture2);
        return;
    }
    stagedForOldSize_ = false;
    const std::string& name = File1.List(pick.index);
    Result<PlacedSize> placed = PlacedSize{};
    {
        auto prepared = stagedPicture(name, staged);
        // Ended while the picture was on its way: nothing is drawn.
        if (!prepared) return;
        placed = loader_.place(*prepared, picture1, state_);
    }
    if (!placed) {
        printOnStaged(staged, kLoadErrorPoints,
                      loadErrorLine(placed.error().message, state_.PicturePath, name));
        runTransition(kEffectsWithoutStretch, staged, picture2);
        return;
    }
    keepPlacedSize(*placed, state_);
    state_.LastPictureIndex = pick.index;
    if (observer_ != nullptr) observer_->picturePlaced(pick.index, name);
    runTransition(effectRange(), staged, picture2);
}

void SlideWindow::printOnStaged(platform::Surface& picture1, double points,
                                const std::string& line) {
    printStagedLine(picture1, picture1Font_, points, line);
    if (observer_ != nullptr) observer_->linePrinted(line);
}

void SlideWindow::runTransition(int k, platform::Surface& picture1, platform::Surface& picture2) {
    auto effect = static_cast<int16_t>(state_.random.pick(k));
    transitions_.Transition(effect, picture1, picture2);
}

int SlideWindow::effectRange() const {
    return state_.Stretch != 0 ? kEffectsWithStretch : kEffectsWithoutStretch;
}

void SlideWindow::askForPassword() {
    prompt_.show();
}

void SlideWindow::endNow() {
    unload();
    host_.eventLoop().requestEnd();
}

void SlideWindow::unload() {
    if (!form_ || !form_->loaded()) return;
    // Whatever is being decoded will not be shown.
    nextPick_.reset();
    PicBuf1.drop();
    // The transition on the stack still draws on Picture1 and Picture2:
    // the window goes when the change has unwound.
    if (slideChanging_) {
        unloadPending_ = true;
        return;
    }
    form_->unload();
}

}  // namespace pictavo::slideshow
