#pragma once
// A stand-in decoder whose decodes the test lets through one by one: each
// waits at a gate until the test opens it or the decode is cancelled, and
// the gate counts what came by. The pictures themselves are PPM files.

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "test_pictures.h"

namespace pictavo::testing {

class DecodeGate {
  public:
    void open() {
        {
            std::lock_guard lock(mutex_);
            open_ = true;
        }
        changed_.notify_all();
    }
    void close() {
        std::lock_guard lock(mutex_);
        open_ = false;
    }
    // A decode that does not look at its cancel flag, as a system call
    // that cannot be interrupted: only open() lets it go.
    void ignoreCancel() {
        std::lock_guard lock(mutex_);
        ignoreCancel_ = true;
    }

    // Blocks the calling decode; false when it was cancelled first.
    bool pass(const imaging::WorkMeter& work) {
        std::unique_lock lock(mutex_);
        ++arrived_;
        changed_.notify_all();
        while (!open_) {
            if (!ignoreCancel_ && work.stopped()) {
                ++cancelled_;
                changed_.notify_all();
                return false;
            }
            changed_.wait_for(lock, std::chrono::milliseconds(1));
        }
        return true;
    }
    void finished() {
        {
            std::lock_guard lock(mutex_);
            ++finished_;
        }
        changed_.notify_all();
    }

    // Waits (in real time, up to 10 s) until the counts reach at least these.
    bool waitFor(int arrived, int finished = 0, int cancelled = 0) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(10), [&] {
            return arrived_ >= arrived && finished_ >= finished && cancelled_ >= cancelled;
        });
    }
    int arrived() {
        std::lock_guard lock(mutex_);
        return arrived_;
    }
    int finishedCount() {
        std::lock_guard lock(mutex_);
        return finished_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = true;
    bool ignoreCancel_ = false;
    int arrived_ = 0;
    int finished_ = 0;
    int cancelled_ = 0;
};

class GatedPpmDecoder : public PpmDecoder {
  public:
    explicit GatedPpmDecoder(std::shared_ptr<DecodeGate> gate) : gate_(std::move(gate)) {}
    Result<imaging::Image> decode(const imaging::DecodeRequest& request) const override {
        if (!gate_->pass(*request.work)) return request.work->stopError();
        auto image = PpmDecoder::decode(request);
        gate_->finished();
        return image;
    }

  private:
    std::shared_ptr<DecodeGate> gate_;
};

// Decoders for a host's decoder source: each list shares the one gate.
inline std::function<imaging::DecoderList()> gatedPpmDecoders(std::shared_ptr<DecodeGate> gate) {
    return [gate] {
        imaging::DecoderList list;
        list.push_back(std::make_unique<GatedPpmDecoder>(gate));
        return list;
    };
}

}  // namespace pictavo::testing
