#include "hosts/fltk/fltk_event_loop.h"

#include <FL/Fl.H>
#include <FL/x.H>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>

namespace pictavo::platform::fltk {

namespace {
// A signal handler can reach nothing but plain variables.
volatile sig_atomic_t signalPipeWriteEnd = -1;
// The termination signal that came, 0 before any.
volatile sig_atomic_t terminationSignalled = 0;

// What a byte in the pipe stands for.
constexpr char kSignalByte = 's';
constexpr char kWakeByte = 'w';

void onTerminationSignal(int signal) {
    terminationSignalled = signal;
    if (signalPipeWriteEnd < 0) return;
    char byte = kSignalByte;
    [[maybe_unused]] ssize_t written = write(signalPipeWriteEnd, &byte, 1);
}

// Long enough not to spin, short enough that nothing is waited for long.
constexpr double kLongestWaitSeconds = 0.5;
// FLTK's timers are looked at no less often than this when nothing else
// comes, so a tick during a transition is at most this late.
constexpr int64_t kTimerGrainMicros = 1'000;
}  // namespace

FltkEventLoop::FltkEventLoop(const Clock& clock) : clock_(clock) {
    // A signal belongs to the loop that was running when it came.
    terminationSignalled = 0;
    if (pipe2(wakePipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
        wakePipe_[0] = wakePipe_[1] = -1;
        return;
    }
    Fl::add_fd(wakePipe_[0], pipeReadable, this);
}

FltkEventLoop::~FltkEventLoop() {
    if (wakePipe_[0] < 0) return;
    if (signalPipeWriteEnd == wakePipe_[1]) signalPipeWriteEnd = -1;
    Fl::remove_fd(wakePipe_[0]);
    close(wakePipe_[0]);
    close(wakePipe_[1]);
}

bool FltkEventLoop::anythingWaiting() const {
    if (fl_display == nullptr) return true;
    // Events Xlib has read already, then the socket and the pipe, without
    // flushing the output buffer.
    if (XEventsQueued(fl_display, QueuedAlready) > 0) return true;
    pollfd fds[2] = {{ConnectionNumber(fl_display), POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
    return poll(fds, wakePipe_[0] >= 0 ? 2 : 1, 0) > 0;
}

void FltkEventLoop::doEvents() {
    const int64_t now = clock_.nowMicros();
    if (!anythingWaiting() && now - lastDispatchMicros_ < kTimerGrainMicros) return;
    lastDispatchMicros_ = now;
    Fl::check();
}

void FltkEventLoop::presentDrawing(Present when) {
    if (present_) present_(when == Present::Now);
}

void FltkEventLoop::waitForEvents(int64_t deadlineMicros) {
    const int64_t left = deadlineMicros - clock_.nowMicros();
    if (left <= 0) {
        Fl::check();
        return;
    }
    Fl::wait(static_cast<double>(left) / 1e6);
}

void FltkEventLoop::awaitWake(int64_t maxMicros) {
    presentDrawing(Present::Now);
    Fl::wait(static_cast<double>(std::max<int64_t>(maxMicros, 0)) / 1e6);
}

void FltkEventLoop::wake() {
    if (wakePipe_[1] < 0) return;
    char byte = kWakeByte;
    // A full pipe already holds a wake-up.
    [[maybe_unused]] ssize_t written = write(wakePipe_[1], &byte, 1);
}

int FltkEventLoop::terminationSignal() {
    return terminationSignalled;
}

bool FltkEventLoop::endRequested() const {
    return endRequested_ || terminationSignalled != 0;
}

void FltkEventLoop::run() {
    while (!endRequested() && alive_()) {
        presentDrawing(Present::Now);
        Fl::wait(kLongestWaitSeconds);
    }
}

void FltkEventLoop::waitOnce() {
    presentDrawing(Present::Now);
    Fl::wait(kLongestWaitSeconds);
}

void FltkEventLoop::endOnTerminationSignals() {
    if (wakePipe_[1] < 0) return;
    signalPipeWriteEnd = wakePipe_[1];
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
}

void FltkEventLoop::pipeReadable(int fd, void* self) {
    char bytes[64];
    bool signalled = false;
    for (ssize_t got; (got = read(fd, bytes, sizeof bytes)) > 0;)
        signalled = signalled || std::find(bytes, bytes + got, kSignalByte) != bytes + got;
    if (signalled) static_cast<FltkEventLoop*>(self)->requestEnd();
}

}  // namespace pictavo::platform::fltk
