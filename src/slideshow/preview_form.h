#pragma once
// ControlForm: the hidden form of the preview mode. Its picture control
// lives inside the display settings' preview window and shows the next
// picture every Interval + 1 seconds, without transitions; the program ends
// when that window goes away or asks the control to close.

#include <memory>
#include <optional>

#include "platform/host.h"
#include "platform/layout.h"
#include "slideshow/message_hook.h"
#include "slideshow/picture_list.h"
#include "slideshow/staging_worker.h"
#include "slideshow/tick_counter.h"
#include "state/saver_state.h"

namespace pictavo::slideshow {

class PreviewForm : private platform::FormHandler {
  public:
    PreviewForm(platform::Host& host, SaverState& state);
    ~PreviewForm() override;

    static platform::FormSpec layout();

    // Loads ControlForm without showing it; its set-up hosts the preview.
    void load();

    // ControlForm while it is loaded, else nullptr.
    platform::Form* form() { return form_ && form_->loaded() ? form_.get() : nullptr; }
    const PictureList& pictures() const { return File1; }

  private:
    void onEvent(platform::Form& form, platform::Event& event) override;
    void countTowardsNextPicture();
    void fillPreviewWindow();
    void reclaimPictureOnClose(uint32_t message);
    void ShowNextPreviewPicture();
    void stageNext();
    int takeNextIndex();
    PictureOrder previewOrder(int index, const platform::Surface& picture1) const;
    std::optional<PreparedPicture> stagedPicture(int index, const platform::Surface& picture1);
    void display(platform::Surface& picture1, const imaging::Image& image);
    void unload();

    platform::Host& host_;
    SaverState& state_;
    // The image control's decoding, on a thread of its own: the next
    // picture is read and decoded while the current one shows.
    StagingWorker decoding_;
    PictureList File1;
    MessageHook MessageHook1;
    TickCounter timer1Tag_;
    std::unique_ptr<platform::Form> form_;
    // The next change's pick, made right after the last change.
    std::optional<int> nextIndex_;
    // A tick is waiting for its picture; the form stays until it is done.
    bool waiting_ = false;
    bool unloadPending_ = false;
};

}  // namespace pictavo::slideshow
