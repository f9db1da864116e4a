#include "hosts/fltk/screen_presenter.h"

// Before any X11 header, whose macros would rewrite the core's names.
#include "hosts/fltk/picture_window.h"

#include <FL/Fl.H>
#include <FL/x.H>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <vector>

#include "hosts/fltk/x11_display.h"
#include "hosts/fltk/x_pixel_format.h"

namespace pictavo::platform::fltk {

namespace {

// An XImage whose pixels live in a vector we own: the put without MIT-SHM.
class ClientImage {
  public:
    ClientImage(int width, int height) {
        image_ = XCreateImage(display(), fl_visual->visual, static_cast<unsigned>(fl_visual->depth),
                              ZPixmap, 0, nullptr, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), 32, 0);
        if (image_ == nullptr) return;
        bytes_.resize(static_cast<size_t>(image_->bytes_per_line) * static_cast<size_t>(height));
        image_->data = bytes_.data();
    }
    ~ClientImage() {
        if (image_ == nullptr) return;
        image_->data = nullptr;  // ours, not Xlib's to free
        XDestroyImage(image_);
    }
    ClientImage(const ClientImage&) = delete;
    ClientImage& operator=(const ClientImage&) = delete;
    XImage* get() const { return image_; }

  private:
    XImage* image_ = nullptr;
    std::vector<char> bytes_;
};

}  // namespace

// One image in a segment the X server maps too: a put sends only the
// request, and the server reads the pixels straight from our memory.
struct ScreenPresenter::SharedImage {
    XShmSegmentInfo info{};
    XImage* image = nullptr;
    bool attached = false;

    ~SharedImage() {
        if (attached) XShmDetach(display(), &info);
        if (image != nullptr) {
            image->data = nullptr;
            XDestroyImage(image);
        }
        if (info.shmaddr != nullptr) shmdt(info.shmaddr);
    }
};

ScreenPresenter::ScreenPresenter() = default;

namespace {
constexpr std::chrono::microseconds kFrame{16'000};
}

ScreenPresenter::~ScreenPresenter() {
    if (timerArmed_) Fl::remove_timeout(frameDue, this);
    if (shared_ && putInFlight_) XSync(display(), False);
}

bool ScreenPresenter::usesSharedMemory() {
    if (!sharedTried_) {
        sharedTried_ = true;
        sharedUsable_ = XShmQueryExtension(display()) == True;
    }
    return sharedUsable_;
}

bool ScreenPresenter::sharedImageFor(int width, int height) {
    if (!usesSharedMemory()) return false;
    if (shared_ && shared_->image->width >= width && shared_->image->height >= height) return true;
    if (putInFlight_) XSync(display(), False);
    putInFlight_ = false;
    int oldWidth = shared_ ? shared_->image->width : 0,
        oldHeight = shared_ ? shared_->image->height : 0;
    shared_.reset();
    auto made = std::make_unique<SharedImage>();
    made->image = XShmCreateImage(display(), fl_visual->visual,
                                  static_cast<unsigned>(fl_visual->depth), ZPixmap, nullptr,
                                  &made->info, static_cast<unsigned>(std::max(width, oldWidth)),
                                  static_cast<unsigned>(std::max(height, oldHeight)));
    if (made->image == nullptr) {
        sharedUsable_ = false;
        return false;
    }
    made->info.shmid = shmget(
        IPC_PRIVATE,
        static_cast<size_t>(made->image->bytes_per_line) * static_cast<size_t>(made->image->height),
        IPC_CREAT | 0600);
    if (made->info.shmid < 0) {
        sharedUsable_ = false;
        return false;
    }
    void* address = shmat(made->info.shmid, nullptr, 0);
    if (address == reinterpret_cast<void*>(-1)) {
        shmctl(made->info.shmid, IPC_RMID, nullptr);
        sharedUsable_ = false;
        return false;
    }
    made->info.shmaddr = made->image->data = static_cast<char*>(address);
    made->info.readOnly = False;
    bool failed;
    {
        // A display on another machine cannot map our memory: the attach fails.
        XErrorTrap trap;
        XShmAttach(display(), &made->info);
        failed = trap.failed();
    }
    // Marked for removal at once: the segment goes with the last process
    // that maps it, whichever way the program ends.
    shmctl(made->info.shmid, IPC_RMID, nullptr);
    if (failed) {
        sharedUsable_ = false;
        return false;
    }
    made->attached = true;
    shared_ = std::move(made);
    return true;
}

void ScreenPresenter::put(const imaging::Image& image, const PixelRect& rect, XId drawable,
                          _XGC* gc, int dx, int dy) {
    PixelRect from = intersect(rect, {0, 0, image.width, image.height});
    if (from.empty() || drawable == 0) return;
    dx += from.x - rect.x;
    dy += from.y - rect.y;
    auto rowOf = [&](int y) {
        return image.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(image.width) +
               static_cast<size_t>(from.x);
    };
    if (sharedImageFor(image.width, image.height)) {
        XImage* xi = shared_->image;
        // The server may still be reading the previous put from this memory.
        if (putInFlight_) XSync(display(), False);
        XPixelFormat format(fl_visual->visual, xi);
        for (int row = 0; row < from.height; ++row)
            format.toRow(rowOf(from.y + row), from.width, xi, from.x, from.y + row);
        XShmPutImage(display(), drawable, gc, xi, from.x, from.y, dx, dy,
                     static_cast<unsigned>(from.width), static_cast<unsigned>(from.height), False);
        putInFlight_ = true;
        return;
    }
    ClientImage buffer(from.width, from.height);
    XImage* xi = buffer.get();
    if (xi == nullptr) return;
    XPixelFormat format(fl_visual->visual, xi);
    for (int row = 0; row < from.height; ++row)
        format.toRow(rowOf(from.y + row), from.width, xi, 0, row);
    XPutImage(display(), drawable, gc, xi, 0, 0, dx, dy, static_cast<unsigned>(from.width),
              static_cast<unsigned>(from.height));
}

void ScreenPresenter::add(PictureWindow* window) {
    windows_.push_back(window);
}

void ScreenPresenter::remove(PictureWindow* window) {
    windows_.erase(std::remove(windows_.begin(), windows_.end(), window), windows_.end());
}

bool ScreenPresenter::presentAll(bool evenWithinFrame) {
    const auto now = std::chrono::steady_clock::now();
    if (!evenWithinFrame && now - lastFrame_ < kFrame) return false;
    uint64_t pixels = 0;
    for (PictureWindow* window : windows_) pixels += window->presentChanges(*this);
    return finish(pixels);
}

void ScreenPresenter::changesPending() {
    if (timerArmed_) return;
    timerArmed_ = true;
    Fl::add_timeout(std::chrono::duration<double>(kFrame).count(), frameDue, this);
}

void ScreenPresenter::frameDue(void* self) {
    auto* presenter = static_cast<ScreenPresenter*>(self);
    presenter->timerArmed_ = false;
    // A transition's pause may have put a frame since the timer was armed:
    // the next one waits for its turn.
    const auto since = std::chrono::steady_clock::now() - presenter->lastFrame_;
    if (since < kFrame) {
        presenter->timerArmed_ = true;
        Fl::repeat_timeout(std::chrono::duration<double>(kFrame - since).count(), frameDue, self);
        return;
    }
    presenter->presentAll(true);
}

bool ScreenPresenter::finish(uint64_t pixels) {
    if (pixels == 0) return false;
    lastFrame_ = std::chrono::steady_clock::now();
    ++presents_;
    pixelsPresented_ += pixels;
    XFlush(display());
    return true;
}

}  // namespace pictavo::platform::fltk
