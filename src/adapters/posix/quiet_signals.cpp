#include "adapters/posix/quiet_signals.h"

#include <pthread.h>
#include <signal.h>

namespace pictavo::platform::posix {

namespace {

class HeldSignals final : public DecodingThreadScope {
  public:
    HeldSignals() {
        sigset_t termination;
        sigemptyset(&termination);
        for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&termination, signal);
        pthread_sigmask(SIG_BLOCK, &termination, &previous_);
    }
    ~HeldSignals() override { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    HeldSignals(const HeldSignals&) = delete;
    HeldSignals& operator=(const HeldSignals&) = delete;

  private:
    sigset_t previous_{};
};

}  // namespace

std::unique_ptr<DecodingThreadScope> holdTerminationSignals() {
    return std::make_unique<HeldSignals>();
}

}  // namespace pictavo::platform::posix
