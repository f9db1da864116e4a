// The 43 effects on the real Linux host: each drawn by the FLTK host into a
// full-screen picture box on the X display named by DISPLAY (an Xvfb of
// 1920 x 1080 in bench/host_cost.sh), paced and presented as in the show.
// Per effect: pauses, frames presented, wall time against the nominal time
// (delay units x 10 x Speed x 7 us), and processor time of this program and,
// given its pid, of the X server.
// usage: bench_x_transitions [--server-pid PID] [--speed S] [--effects N,N,...]

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "hosts/fltk/fltk_host.h"
#include "hosts/fltk/fltk_surface.h"
#include "hosts/fltk/picture_window.h"
#include "state/saver_state.h"
#include "transitions/pacing.h"
#include "transitions/trace.h"
#include "transitions/transition_engine.h"

// After the core's headers, whose names X11's macros would rewrite.
#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>

namespace {

using namespace pictavo;
using platform::fltk::FltkSurface;

// Sums the nominal waits of the pauses the effect asks for.
class NominalTime final : public transitions::TraceSink {
  public:
    explicit NominalTime(int speed) : speed_(speed) {}
    void copy(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) override {}
    void stretch(int32_t, int32_t, int32_t, int32_t) override {}
    void delay(int32_t units) override {
        ++pauses;
        nanos += transitions::nominalDelayNanos(units, speed_);
    }
    long pauses = 0;
    int64_t nanos = 0;

  private:
    int speed_;
};

imaging::Image patterned(int w, int h, uint32_t salt) {
    imaging::Image image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.at(x, y) =
                0xFF000000u |
                ((static_cast<uint32_t>(x) * 2654435761u + static_cast<uint32_t>(y) * salt) >> 8);
    return image;
}

double processSeconds(long pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Fields after the command's closing parenthesis; utime and stime are 14 and 15.
    size_t close = text.rfind(')');
    if (close == std::string::npos) return 0;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    double ticks = 0;
    for (int index = 3; fields >> field; ++index) {
        if (index == 14 || index == 15) ticks += std::stod(field);
        if (index == 15) break;
    }
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double nowSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::vector<int> effectList(const char* text) {
    std::vector<int> effects;
    if (text == nullptr) {
        for (int e = 0; e < transitions::kEffectCount; ++e) effects.push_back(e);
        return effects;
    }
    std::istringstream in(text);
    for (std::string item; std::getline(in, item, ',');) effects.push_back(std::stoi(item));
    return effects;
}

}  // namespace

int main(int argc, char** argv) {
    long serverPid = 0;
    int speed = 1;
    const char* effectsText = nullptr;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string_view option = argv[i];
        if (option == "--server-pid") serverPid = std::atol(argv[i + 1]);
        if (option == "--speed") speed = std::atoi(argv[i + 1]);
        if (option == "--effects") effectsText = argv[i + 1];
    }
    if (auto problem = platform::fltk::openDisplay()) {
        std::fprintf(stderr, "bench_x_transitions: %s\n", problem->c_str());
        return 1;
    }
    platform::fltk::FltkHost host;
    const int w = host.screen().widthPixels(), h = host.screen().heightPixels();
    FltkSurface picture1(w, h), picture2(w, h);
    const imaging::Image oldSlide = patterned(w, h, 40503u), newSlide = patterned(w, h, 7919u);

    Fl_Window top(0, 0, w, h);
    top.border(0);
    auto* shown =
        new platform::fltk::PictureWindow(0, 0, w, h, picture2, host.forms().presenter(), false);
    shown->end();
    top.end();
    top.show();
    shown->show();
    for (int i = 0; i < 20; ++i) Fl::wait(0.02);

    SaverState state;
    state.Speed = static_cast<int16_t>(speed);
    state.ImageWidth = static_cast<int16_t>(w);
    state.ImageHeight = static_cast<int16_t>(h);
    auto& presenter = host.forms().presenter();

    std::printf("Effects on the X host at %d x %d, Speed %d (%s)\n", w, h, speed,
                presenter.usesSharedMemory() ? "MIT-SHM" : "no MIT-SHM");
    std::printf("%3s %-22s %8s %8s %10s %10s %6s %5s %9s %9s %9s\n", "#", "routine", "pauses",
                "presents", "wall ms", "nominal ms", "ratio", "goal", "frames<=", "cpu ms",
                "server ms");
    int late = 0;
    for (int effect : effectList(effectsText)) {
        picture2.drawImage(oldSlide, 0, 0);
        picture1.drawImage(newSlide, 0, 0);
        host.eventLoop().presentDrawing(platform::EventLoop::Present::Now);
        XSync(fl_display, False);
        NominalTime nominal(speed);
        transitions::TransitionEngine engine(picture1, picture2, state, host.screen(),
                                             host.eventLoop(), host.clock());
        engine.setTrace(&nominal);
        const uint64_t presentsBefore = presenter.presents();
        const double serverBefore = serverPid != 0 ? processSeconds(serverPid) : 0;
        const double selfBefore = processSeconds(getpid());
        const double start = nowSeconds();
        engine.Transition(effect);
        XSync(fl_display, False);
        const double wall = nowSeconds() - start;
        const double self = processSeconds(getpid()) - selfBefore;
        const double server = serverPid != 0 ? processSeconds(serverPid) - serverBefore : 0;
        const double nominalSeconds = static_cast<double>(nominal.nanos) / 1e9;
        const bool onTime = wall <= 1.10 * nominalSeconds + 0.100;
        late += onTime ? 0 : 1;
        const uint64_t presents = presenter.presents() - presentsBefore;
        const std::string_view name = transitions::effectName(effect);
        std::printf("%3d %-22.*s %8ld %8llu %10.1f %10.1f %6.2f %5s %9.0f %9.0f %9.0f\n", effect,
                    static_cast<int>(name.size()), name.data(), nominal.pauses,
                    static_cast<unsigned long long>(presents), wall * 1e3, nominalSeconds * 1e3,
                    wall / std::max(nominalSeconds, 1e-9), onTime ? "ok" : "LATE", wall / 0.016 + 2,
                    self * 1e3, server * 1e3);
        std::fflush(stdout);
    }
    std::printf("%d effect(s) later than 1.10 x nominal + 100 ms\n", late);
    shown->detach();
    return 0;
}
