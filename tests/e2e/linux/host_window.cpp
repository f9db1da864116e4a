// A window for the saver to draw into, as a screen-saver host or the
// display settings lend one: prints its id, keeps the window until SIGTERM,
// then destroys it and exits.
//
//   host_window WIDTH HEIGHT TITLE

#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: host_window WIDTH HEIGHT TITLE\n");
        return 2;
    }
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    sigprocmask(SIG_BLOCK, &signals, nullptr);
    int signalFd = signalfd(-1, &signals, SFD_CLOEXEC);

    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "host_window: no display\n");
        return 1;
    }
    auto width = static_cast<unsigned>(std::atoi(argv[1])),
         height = static_cast<unsigned>(std::atoi(argv[2]));
    Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 100, 100, width,
                                        height, 0, 0, 0x808080);
    XStoreName(display, window, argv[3]);
    XMapWindow(display, window);
    XSync(display, False);
    std::printf("%lu\n", window);
    std::fflush(stdout);

    // Answers the server while waiting, without busy looping.
    pollfd fds[2] = {{signalFd, POLLIN, 0}, {ConnectionNumber(display), POLLIN, 0}};
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
        }
        if (poll(fds, 2, -1) < 0 || fds[0].revents != 0) break;
    }
    XDestroyWindow(display, window);
    XSync(display, False);
    XCloseDisplay(display);
    return 0;
}
