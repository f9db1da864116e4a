#include "slideshow/staging_worker.h"

#include <condition_variable>
#include <mutex>
#include <new>
#include <utility>

#include "imaging/picture_decoding.h"
#include "imaging/work_meter.h"

namespace pictavo::slideshow {

namespace {

// Nothing may leave the thread: a picture too big for memory is an error
// line on the slide, as any other picture that cannot be shown.
PreparedPicture prepareSafely(const imaging::DecoderList& decoders,
                              const platform::FileSystem& files, const PictureOrder& order,
                              std::shared_ptr<imaging::WorkMeter> work) {
    try {
        return preparePicture(decoders, files, order, std::move(work));
    } catch (const std::bad_alloc&) {
        PreparedPicture failed;
        failed.order = order;
        failed.loaded = makeError("not enough memory");
        return failed;
    }
}

}  // namespace

struct StagingWorker::Job {
    enum class Kind {
        Prepare,  // read and decode
        Confirm,  // look whether the file changed since; read and decode again if so
    };
    uint64_t generation = 0;
    PictureOrder order;
    Kind kind = Kind::Prepare;
    // The picture was asked for before it was ready: fresh, it needs no confirming.
    bool confirmWhenDone = false;
};

// Everything both threads touch, under mutex. The thread holds its own
// reference, so a thread left behind at the end finds it still there.
struct StagingWorker::Shared {
    std::mutex mutex;
    std::condition_variable changed;
    imaging::CancelFlag cancel;
    // Woken when something is ready; gone once the end has come.
    platform::EventLoop* loop = nullptr;
    // Orders older than this are done with: their work is thrown away.
    uint64_t generation = 0;
    std::optional<Job> queued;
    bool working = false;
    std::optional<PreparedPicture> prepared;
    bool confirmed = false;
    bool started = false;
    bool stopping = false;
    bool finished = false;
};

StagingWorker::StagingWorker(platform::Host& host)
    : host_(host), shared_(std::make_shared<Shared>()) {
    shared_->loop = &host.eventLoop();
}

StagingWorker::~StagingWorker() {
    stop();
}

void StagingWorker::startThread() {
    if (thread_.joinable()) return;
    thread_ = std::thread(work, shared_, &host_);
}

void StagingWorker::prepare(const PictureOrder& order) {
    if (stopped_) return;
    startThread();
    {
        std::lock_guard lock(shared_->mutex);
        ++shared_->generation;
        shared_->queued = Job{shared_->generation, order, Job::Kind::Prepare, false};
        shared_->prepared.reset();
        shared_->confirmed = false;
        if (shared_->working) shared_->cancel.cancel();
    }
    shared_->changed.notify_all();
    ordered_ = order;
}

void StagingWorker::confirm() {
    if (!ordered_) return;
    {
        std::lock_guard lock(shared_->mutex);
        if (shared_->confirmed) return;
        if (shared_->queued && shared_->queued->generation == shared_->generation) {
            if (shared_->queued->kind == Job::Kind::Prepare)
                shared_->queued->confirmWhenDone = true;
            return;
        }
        shared_->queued = Job{shared_->generation, *ordered_, Job::Kind::Confirm, false};
    }
    shared_->changed.notify_all();
}

std::optional<PreparedPicture> StagingWorker::takeConfirmed() {
    std::optional<PreparedPicture> taken;
    {
        std::lock_guard lock(shared_->mutex);
        if (!shared_->confirmed || !shared_->prepared) return std::nullopt;
        taken = std::move(shared_->prepared);
        shared_->prepared.reset();
        shared_->confirmed = false;
    }
    ordered_.reset();
    return taken;
}

void StagingWorker::drop() {
    {
        std::lock_guard lock(shared_->mutex);
        ++shared_->generation;
        shared_->queued.reset();
        shared_->prepared.reset();
        shared_->confirmed = false;
        if (shared_->working) shared_->cancel.cancel();
    }
    ordered_.reset();
}

void StagingWorker::stop() {
    stopped_ = true;
    if (!thread_.joinable()) return;
    std::unique_lock lock(shared_->mutex);
    // The thread's set-up still asks the host for its decoders.
    shared_->changed.wait(lock, [this] { return shared_->started; });
    shared_->stopping = true;
    shared_->queued.reset();
    shared_->loop = nullptr;
    shared_->cancel.cancel();
    shared_->changed.notify_all();
    const bool finished =
        shared_->changed.wait_for(lock, kStopGrace, [this] { return shared_->finished; });
    lock.unlock();
    if (finished) {
        thread_.join();
    } else {
        thread_.detach();
        joined_ = false;
    }
}

void StagingWorker::work(std::shared_ptr<Shared> shared, platform::Host* host) {
    const auto scope = host->enterDecodingThread();
    const auto decoders =
        imaging::pictureDecoders(host->platformDecoders(), host->postScriptRenderer());
    const platform::FileSystem& files = host->files();

    std::unique_lock lock(shared->mutex);
    shared->started = true;
    shared->changed.notify_all();
    for (;;) {
        shared->changed.wait(lock, [&] { return shared->stopping || shared->queued.has_value(); });
        if (shared->stopping) break;
        Job job = std::move(*shared->queued);
        shared->queued.reset();
        shared->working = true;
        shared->cancel.reset();
        const bool confirming = job.kind == Job::Kind::Confirm && shared->prepared.has_value();
        // A picture whose file could not be looked at is never taken as unchanged.
        const bool stamped = confirming && shared->prepared->stamp.has_value();
        const platform::FileStamp readStamp =
            stamped ? *shared->prepared->stamp : platform::FileStamp{};
        lock.unlock();

        bool unchanged = false;
        if (stamped) {
            auto now = files.stamp(job.order.path);
            unchanged = now && *now == readStamp;
        }
        std::optional<PreparedPicture> result;
        if (!unchanged) {
            if (confirming) {
                // The outdated picture goes before its successor is decoded.
                std::lock_guard dropOld(shared->mutex);
                if (job.generation == shared->generation) shared->prepared.reset();
            }
            result = prepareSafely(*decoders, files, job.order,
                                   std::make_shared<imaging::WorkMeter>(&shared->cancel));
        }

        lock.lock();
        shared->working = false;
        if (job.generation == shared->generation && !shared->stopping) {
            if (result) shared->prepared = std::move(result);
            shared->confirmed = job.kind == Job::Kind::Confirm || job.confirmWhenDone;
            if (shared->loop != nullptr) shared->loop->wake();
        }
        shared->changed.notify_all();
    }
    shared->finished = true;
    shared->changed.notify_all();
}

}  // namespace pictavo::slideshow
