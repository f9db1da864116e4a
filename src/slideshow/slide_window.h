#pragma once
// frmSS: the full-screen slide window and the driver of the show. Its
// one-second timer counts the interval, ShowNextSlide stages the next
// picture and brings it on screen, and any input ends the show or asks
// for the password.

#include <memory>
#include <optional>
#include <string>

#include "platform/host.h"
#include "platform/layout.h"
#include "slideshow/exit_saver.h"
#include "slideshow/password_prompt.h"
#include "slideshow/picture_list.h"
#include "slideshow/picture_loader.h"
#include "slideshow/staging_worker.h"
#include "slideshow/tick_counter.h"
#include "slideshow/transition_runner.h"
#include "state/saver_state.h"

namespace pictavo::slideshow {

// The slide window's caption; start-up looks for a window of this title to
// tell whether a show is already running.
inline constexpr const char* kSlideWindowCaption = "Screen Saver Main Form";

// What a show did, for tools that record it (pictavo-render show).
class SlideShowObserver {
  public:
    virtual ~SlideShowObserver() = default;
    virtual void picturePlaced(int /*index*/, const std::string& /*name*/) {}
    virtual void linePrinted(const std::string& /*line*/) {}
    // A slide change has finished drawing (or was cut short by the end).
    virtual void slideChangeEnded(platform::Surface& /*screen*/) {}
};

class SlideWindow : public platform::FormHandler, private ExitPaths {
  public:
    SlideWindow(platform::Host& host, SaverState& state, TransitionRunner& transitions,
                PasswordEncoder encodePassword);
    ~SlideWindow() override;

    static platform::FormSpec layout();

    // StartSlideShow: loads frmSS, which runs its set-up, and shows it.
    void show();
    void setObserver(SlideShowObserver* observer) { observer_ = observer; }

    // frmSS while it is loaded, else nullptr.
    platform::Form* form() { return form_ && form_->loaded() ? form_.get() : nullptr; }
    PasswordPrompt& passwordPrompt() { return prompt_; }
    const PictureList& pictures() const { return File1; }
    const TickCounter& tickCounter() const { return timer1Tag_; }
    bool slideChanging() const { return slideChanging_; }

  private:
    void onEvent(platform::Form& form, platform::Event& event) override;
    void askForPassword() override;
    void endNow() override;

    void load();
    void ReadOsVersion();
    void countTowardsNextSlide();
    void fitToNewSize();
    void exitOnMouseMove(platform::Event& event);
    void exitOnKey(platform::Event& event);
    void exitSaver();
    void ShowNextSlide();
    void changeSlide(platform::Control& picture1, platform::Surface& picture2);
    void stageNext();
    Pick takeNextPick();
    std::optional<PreparedPicture> stagedPicture(const std::string& name,
                                                 const platform::Surface& picture1);
    void printOnStaged(platform::Surface& picture1, double points, const std::string& line);
    void runTransition(int k, platform::Surface& picture1, platform::Surface& picture2);
    int effectRange() const;
    void unload();

    platform::Host& host_;
    SaverState& state_;
    TransitionRunner& transitions_;
    PictureList File1;
    // PicBuf1's work, on a thread of its own: the next picture is read and
    // decoded while the current one shows.
    StagingWorker PicBuf1;
    PictureLoader loader_;
    // The next change's pick, made right after the last change.
    std::optional<Pick> nextPick_;
    PasswordPrompt prompt_;
    TickCounter timer1Tag_;
    platform::Font picture1Font_;
    std::unique_ptr<platform::Form> form_;
    SlideShowObserver* observer_ = nullptr;
    bool slideChanging_ = false;
    bool unloadPending_ = false;
    bool resizePending_ = false;
    bool stagedForOldSize_ = false;
};

}  // namespace pictavo::slideshow
