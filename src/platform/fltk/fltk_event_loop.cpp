#include "platform/fltk/fltk_event_loop.h"

#include <FL/Fl.H>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <csignal>

namespace pictavo::platform::fltk {

namespace {
// A signal handler can reach nothing but a plain variable.
volatile sig_atomic_t signalPipeWriteEnd = -1;

void onTerminationSignal(int) {
    if (signalPipeWriteEnd < 0) return;
    char byte = 1;
    [[maybe_unused]] ssize_t written = write(signalPipeWriteEnd, &byte, 1);
}

// Long enough not to spin, short enough that nothing is waited for long.
constexpr double kLongestWaitSeconds = 0.5;
}  // namespace

FltkEventLoop::~FltkEventLoop() {
    if (signalPipe_[0] < 0) return;
    signalPipeWriteEnd = -1;
    Fl::remove_fd(signalPipe_[0]);
    close(signalPipe_[0]);
    close(signalPipe_[1]);
}

void FltkEventLoop::doEvents() {
    Fl::check();
}

void FltkEventLoop::run() {
    while (!endRequested_ && alive_()) Fl::wait(kLongestWaitSeconds);
}

void FltkEventLoop::waitOnce() {
    Fl::wait(kLongestWaitSeconds);
}

void FltkEventLoop::endOnTerminationSignals() {
    if (signalPipe_[0] >= 0 || pipe2(signalPipe_, O_CLOEXEC | O_NONBLOCK) != 0) return;
    signalPipeWriteEnd = signalPipe_[1];
    Fl::add_fd(signalPipe_[0], signalArrived, this);
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
}

void FltkEventLoop::signalArrived(int fd, void* self) {
    char bytes[16];
    while (read(fd, bytes, sizeof bytes) > 0) {
    }
    static_cast<FltkEventLoop*>(self)->requestEnd();
}

}  // namespace pictavo::platform::fltk
