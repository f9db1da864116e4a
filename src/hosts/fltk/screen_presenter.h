#pragma once
// Puts the picture boxes' pixels, held in memory, on screen: through a
// shared-memory image when the X server offers MIT-SHM (a local display),
// otherwise by sending the rectangle's pixels. Also the list of picture
// windows whose changes are shown once per display frame (16 ms): when the
// event loop asks (a transition's pause, an idle wait), or else by an FLTK
// timer started at the first change, so that any loop that waits in FLTK
// (a modal dialog's) shows them too.

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "hosts/fltk/fltk_surface.h"
#include "hosts/fltk/x11_types.h"
#include "imaging/image.h"

namespace pictavo::platform::fltk {

class PictureWindow;

class ScreenPresenter {
  public:
    ScreenPresenter();
    ~ScreenPresenter();
    ScreenPresenter(const ScreenPresenter&) = delete;
    ScreenPresenter& operator=(const ScreenPresenter&) = delete;

    // Puts rect of image at (dx, dy) of drawable with gc (its clipping
    // applies). Sends the request and does not flush.
    void put(const imaging::Image& image, const PixelRect& rect, XId drawable, _XGC* gc, int dx,
             int dy);

    void add(PictureWindow* window);
    void remove(PictureWindow* window);
    // Puts what every picture window's surface drew since it was last shown,
    // and flushes; unless evenWithinFrame, only when the last frame put is a
    // display frame old. True when anything was put.
    bool presentAll(bool evenWithinFrame);
    // A surface changed: a frame is due within a display frame at the latest.
    void changesPending();

    // Display frames presented so far (calls that put anything).
    uint64_t presents() const { return presents_; }
    // Pixels put by those presents.
    uint64_t pixelsPresented() const { return pixelsPresented_; }
    bool usesSharedMemory();

  private:
    struct SharedImage;
    bool sharedImageFor(int width, int height);
    bool finish(uint64_t pixels);
    static void frameDue(void* self);

    std::unique_ptr<SharedImage> shared_;
    bool sharedTried_ = false;
    bool sharedUsable_ = false;
    // A put from the shared image the server may not have read yet.
    bool putInFlight_ = false;
    std::vector<PictureWindow*> windows_;
    uint64_t presents_ = 0;
    uint64_t pixelsPresented_ = 0;
    std::chrono::steady_clock::time_point lastFrame_{};
    bool timerArmed_ = false;
};

}  // namespace pictavo::platform::fltk
