// How quickly the show answers: at its tick, and to the user.
//
//   bench_staging [changes [trials [folder-of-jpegs]]]
//
// The real slide window on the headless host, 1920 x 1080, with two kinds
// of pictures: a slow stand-in decoder (300 ms of work per picture, looking
// at its cancel flag every millisecond, as a decoder does between rows) and
// the real decoders on 24-megapixel JPEGs (made with cjpeg unless a folder
// is given). Wall-clock times, median and worst:
//
//   - tick to transition, over `changes` slide changes (100): from the
//     dispatch that delivers the tick to the start of the transition. With
//     one second between ticks, as the show has at Interval 0, the next
//     picture is ready at its tick; with the ticks back to back it never
//     is, which is what every change cost when the picture was decoded at
//     its tick;
//   - input to exit, over `trials` shows (100): a key posted from another
//     thread at a random moment of a busy show (ticks back to back, the real
//     transitions) until the window is gone, and until the decoding thread
//     is joined as the program's end does.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "adapters/imagelibs/system_decoders.h"
#include "hosts/headless/headless_host.h"
#include "slideshow/engine_transitions.h"
#include "slideshow/slide_window.h"
#include "startup/main.h"

namespace {

using namespace pictavo;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;
constexpr auto kStandInWork = 300ms;

double msBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Works for kStandInWork, a millisecond at a time, unless cancelled.
class SlowDecoder final : public imaging::Decoder {
  public:
    std::string_view name() const override { return "slow stand-in"; }
    imaging::Confidence sniff(std::span<const uint8_t> bytes, std::string_view) const override {
        return bytes.size() >= 5 && std::equal(bytes.begin(), bytes.begin() + 4, "SLOW")
                   ? imaging::Confidence::Strong
                   : imaging::Confidence::None;
    }
    Result<imaging::Image> decode(const imaging::DecodeRequest& request) const override {
        const auto until = Clock::now() + kStandInWork;
        while (Clock::now() < until) {
            if (request.work->stopped()) return request.work->stopError();
            std::this_thread::sleep_for(1ms);
        }
        const uint8_t shade = request.bytes[4];
        return imaging::Image(kScreenWidth / 2, kScreenHeight / 2, imaging::rgb(shade, 80, 80));
    }
};

imaging::DecoderList standInDecoders() {
    imaging::DecoderList list;
    list.push_back(std::make_unique<SlowDecoder>());
    return list;
}

// Notes when each transition starts, then lets the engine (or a cut) draw it.
class TimedTransitions final : public slideshow::TransitionRunner {
  public:
    TimedTransitions(platform::Host& host, SaverState& state, bool engine)
        : host_(host), engine_(host, state), useEngine_(engine) {}
    void Transition(int16_t effect, platform::Surface& picture1,
                    platform::Surface& picture2) override {
        started.push_back(Clock::now());
        if (useEngine_) {
            engine_.Transition(effect, picture1, picture2);
            return;
        }
        host_.eventLoop().doEvents();
        picture2.copyFrom(picture1, 0, 0, picture1.width(), picture1.height(), 0, 0);
    }
    std::vector<Clock::time_point> started;

  private:
    platform::Host& host_;
    slideshow::EngineTransitions engine_;
    bool useEngine_;
};

struct Show {
    Show(const std::string& folder, std::function<imaging::DecoderList()> decoders, bool engine,
         bool stretch)
        : transitions(host, state, engine) {
        host.setDecoderSource(std::move(decoders));
        host.screen().setPixels(kScreenWidth, kScreenHeight);
        measureScreen(host.screen(), state);
        state.PicturePath = folder + "/";
        state.Interval = 0;
        state.Stretch = stretch ? 1 : 0;
        state.random.seed(20240611);
        window = std::make_unique<slideshow::SlideWindow>(
            host, state, transitions, [](const std::string& typed) { return typed; });
        window->show();
    }

    platform::headless::HeadlessHost host;
    SaverState state;
    TimedTransitions transitions;
    std::unique_ptr<slideshow::SlideWindow> window;
};

struct Figures {
    double median = 0;
    double worst = 0;
};

Figures figuresOf(std::vector<double> values) {
    if (values.empty()) return {};
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.back()};
}

void print(const char* what, const Figures& figures, size_t count) {
    std::printf("  %-46s median %8.2f ms   worst %8.2f ms   (%zu)\n", what, figures.median,
                figures.worst, count);
}

// changes slide changes, the ticks a second apart in real time or back to back.
std::vector<double> tickToTransition(const std::string& folder,
                                     const std::function<imaging::DecoderList()>& decoders,
                                     bool stretch, int changes, bool secondApart) {
    Show show(folder, decoders, false, stretch);
    std::vector<double> latencies;
    auto lastChange = Clock::now();
    for (int i = 0; i < changes; ++i) {
        show.host.eventLoop().runFor(999);
        if (secondApart) std::this_thread::sleep_until(lastChange + 1s);
        const size_t before = show.transitions.started.size();
        const auto tick = Clock::now();
        show.host.eventLoop().runFor(1);
        if (show.transitions.started.size() != before + 1) {
            std::fprintf(stderr, "bench_staging: change %d did not come at its tick\n", i);
            continue;
        }
        latencies.push_back(msBetween(tick, show.transitions.started.back()));
        lastChange = Clock::now();
    }
    return latencies;
}

struct ExitTimes {
    std::vector<double> windowGone;
    std::vector<double> threadJoined;
};

ExitTimes inputToExit(const std::string& folder,
                      const std::function<imaging::DecoderList()>& decoders, bool stretch,
                      int trials) {
    ExitTimes times;
    std::mt19937 moments(7);
    std::uniform_int_distribution<int> delayMs(0, 1500);
    for (int trial = 0; trial < trials; ++trial) {
        auto show = std::make_unique<Show>(folder, decoders, true, stretch);
        show->state.Speed = 1000;
        platform::headless::HeadlessForm* form = show->host.forms().find("frmSS");
        form->mouseMove("Picture2", 5, 5);
        Clock::time_point pressed;
        std::thread user([&, delay = delayMs(moments)] {
            std::this_thread::sleep_for(std::chrono::milliseconds(delay));
            pressed = Clock::now();
            show->host.eventLoop().post([form] { form->pressKey(65); });
        });
        while (!show->host.eventLoop().endRequested()) show->host.eventLoop().runFor(1000);
        user.join();
        const auto gone = Clock::now();
        if (form->loaded()) std::fprintf(stderr, "bench_staging: the window outlived the show\n");
        show.reset();
        const auto joined = Clock::now();
        times.windowGone.push_back(msBetween(pressed, gone));
        times.threadJoined.push_back(msBetween(pressed, joined));
    }
    return times;
}

void measure(const char* title, const std::string& folder,
             const std::function<imaging::DecoderList()>& decoders, bool stretch, int changes,
             int trials) {
    std::printf("%s\n", title);
    auto ready = tickToTransition(folder, decoders, stretch, changes, true);
    print("tick to transition, ticks 1 s apart (ready)", figuresOf(ready), ready.size());
    auto late = tickToTransition(folder, decoders, stretch, changes, false);
    print("tick to transition, back to back (not ready)", figuresOf(late), late.size());
    auto exits = inputToExit(folder, decoders, stretch, trials);
    print("input to window gone", figuresOf(exits.windowGone), exits.windowGone.size());
    print("input to decoding thread joined", figuresOf(exits.threadJoined),
          exits.threadJoined.size());
    std::fflush(stdout);
}

// A 6000 x 4000 photo-like picture as a JPEG, made with cjpeg.
bool makeJpeg(const std::filesystem::path& jpeg, int variant, bool progressive) {
    constexpr int width = 6000, height = 4000;
    const auto ppm = jpeg.parent_path() / "photo.ppm";
    {
        std::ofstream out(ppm, std::ios::binary);
        out << "P6\n" << width << " " << height << "\n255\n";
        std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
        uint32_t noise = 12345u + static_cast<uint32_t>(variant);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                noise = noise * 1664525u + 1013904223u;
                const int grain = static_cast<int>(noise >> 27) - 16;
                const int shape = ((x / 300 + y / 200 + variant) % 3) * 40;
                const int values[3] = {x * 200 / width + shape, y * 200 / height + 30 * variant,
                                       (x + y) * 120 / (width + height) + 60 + shape / 2};
                for (int c = 0; c < 3; ++c)
                    row[static_cast<size_t>(x) * 3 + static_cast<size_t>(c)] =
                        static_cast<uint8_t>(std::clamp(values[c] + grain, 0, 255));
            }
            out.write(reinterpret_cast<const char*>(row.data()),
                      static_cast<std::streamsize>(row.size()));
        }
    }
    const std::string encode = std::string("cjpeg -quality 90 ") +
                               (progressive ? "-progressive " : "") + "-outfile '" + jpeg.string() +
                               "' '" + ppm.string() + "'";
    const bool made = std::system(encode.c_str()) == 0;
    std::filesystem::remove(ppm);
    return made;
}

}  // namespace

int main(int argc, char** argv) {
    const int changes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
    const int trials = argc > 2 ? std::max(1, std::atoi(argv[2])) : 100;
    std::string pattern =
        (std::filesystem::temp_directory_path() / "pictavo-staging-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return 1;
    const std::filesystem::path work = pattern;

    const auto standIns = work / "stand-ins";
    std::filesystem::create_directory(standIns);
    for (int i = 0; i < 4; ++i)
        std::ofstream(standIns / ("slow" + std::to_string(i) + ".tga"), std::ios::binary)
            << "SLOW" << static_cast<char>(40 * i);
    measure("slow stand-in decoder (300 ms a picture), stretched", standIns.string(),
            standInDecoders, true, changes, trials);

    std::string jpegs = argc > 3 ? argv[3] : "";
    if (jpegs.empty()) {
        const auto made = work / "jpegs";
        std::filesystem::create_directory(made);
        bool ok = true;
        for (int i = 0; i < 3 && ok; ++i)
            ok = makeJpeg(made / ("photo" + std::to_string(i) + ".jpg"), i, i == 1);
        if (ok) jpegs = made.string();
    }
    if (!jpegs.empty()) {
        measure(
            "24-megapixel JPEGs, real decoders, stretched", jpegs,
            [] { return platform::systemDecoders(); }, true, changes, trials);
        measure(
            "24-megapixel JPEGs, real decoders, centred", jpegs,
            [] { return platform::systemDecoders(); }, false, changes, trials);
    } else {
        std::printf("no JPEGs (is cjpeg installed?)\n");
    }
    std::filesystem::remove_all(work);
    return 0;
}
