#pragma once
// The thread that prepares the next picture while the show runs, so that
// the window's thread never reads or decodes a file: at the tick only the
// placement onto Picture1 is left. One thread, one picture at a time, at
// most one prepared picture kept.
//
// The window's thread gives orders and takes the prepared picture; the
// thread reads the file, decodes it and returns it through one slot under
// a lock, waking the window's loop when something is ready. A new order
// cancels the decode in progress. At the end the thread is told to stop
// and joined; one stuck in a system call that cannot be interrupted (a
// read from a pipe with no writer) is left behind, and the program ends
// without waiting for it.

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <thread>

#include "platform/host.h"
#include "slideshow/picture_preparation.h"

namespace pictavo::slideshow {

class StagingWorker {
  public:
    // How long the end waits for a cancelled decode to stop before the
    // thread is left behind.
    static constexpr std::chrono::milliseconds kStopGrace{50};

    // The thread starts with the first order; host gives it its decoders
    // on that thread.
    explicit StagingWorker(platform::Host& host);
    ~StagingWorker();
    StagingWorker(const StagingWorker&) = delete;
    StagingWorker& operator=(const StagingWorker&) = delete;

    // Prepares order, dropping whatever was prepared or being prepared.
    void prepare(const PictureOrder& order);
    // The last order given, until dropped.
    const std::optional<PictureOrder>& ordered() const { return ordered_; }
    // Asks for the prepared picture of the last order as the file is now:
    // the thread looks whether its size or last change differ from when it
    // was read, and reads it again if they do (or it has gone).
    void confirm();
    // The picture once confirmed; nullopt while the thread is still at it.
    // The order is done with once its picture is taken.
    std::optional<PreparedPicture> takeConfirmed();
    // Forgets the order and cancels its work.
    void drop();

    // Tells the thread to stop, cancelling its decode, and joins it; a
    // thread that has not stopped within kStopGrace is left behind. The
    // destructor does it; a stopped worker takes no more orders.
    void stop();
    // False once a stop left the thread behind, stuck where it could not
    // be interrupted.
    bool joined() const { return joined_; }

  private:
    struct Shared;
    struct Job;
    static void work(std::shared_ptr<Shared> shared, platform::Host* host);
    void startThread();

    platform::Host& host_;
    std::shared_ptr<Shared> shared_;
    std::thread thread_;
    std::optional<PictureOrder> ordered_;
    bool stopped_ = false;
    bool joined_ = true;
};

}  // namespace pictavo::slideshow
