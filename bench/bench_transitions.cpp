// Figures for the transition engine on in-memory pictures:
//  - per effect at 1920 x 1080 and 640 x 480: drawing calls, pauses, pixels
//    copied, time spent in blits, and the nominal pacing time at Speed 1;
//  - the block-transfer throughput against a plain memcpy of the same bytes;
//  - with --coverage, the pixels each effect's own pattern leaves of the old
//    slide at common screen sizes (the closing copy brings them on screen).
// usage: bench_transitions [--coverage]

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "hosts/headless/headless_host.h"
#include "hosts/shared/memory_surface.h"
#include "state/saver_state.h"
#include "transitions/pacing.h"
#include "transitions/trace.h"
#include "transitions/transition_engine.h"

namespace {

using namespace pictavo;

class Counter final : public transitions::TraceSink {
  public:
    void copy(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) override { ++calls; }
    void stretch(int32_t, int32_t, int32_t, int32_t) override { ++calls; }
    void delay(int32_t) override { ++pauses; }
    long calls = 0;
    long pauses = 0;
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

struct EffectFigures {
    long calls = 0;
    long pauses = 0;
    uint64_t pixels = 0;
    double blitSeconds = 0;
    double nominalSeconds = 0;
    long leftOver = 0;  // pixels of the old slide the pattern itself leaves
};

EffectFigures measure(int effect, int w, int h, bool closingCopy) {
    platform::MemorySurface picture1(patterned(w, h, 40503u));
    platform::MemorySurface picture2(w, h, 0x00000000u);  // no staged pixel is transparent
    SaverState state;
    state.ImageWidth = static_cast<int16_t>(w);
    state.ImageHeight = static_cast<int16_t>(h);
    // The headless host's clock moves on only when slept on, and no input comes.
    platform::headless::HeadlessHost host;
    host.screen().setPixels(w, h);
    Counter counter;
    transitions::TransitionEngine engine(picture1, picture2, state, host.screen(), host.eventLoop(),
                                         host.clock());
    engine.setTrace(&counter);
    // Processor time, so other work on the machine does not count; with
    // pauses that return at once nearly all of it is spent in the blits.
    const std::clock_t start = std::clock();
    if (closingCopy)
        engine.Transition(effect);
    else
        engine.RunEffect(effect);
    const double cpuSeconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;

    EffectFigures figures;
    figures.calls = counter.calls;
    figures.pauses = counter.pauses;
    figures.pixels = picture2.pixelsBlitted();
    figures.blitSeconds = cpuSeconds;
    figures.nominalSeconds = static_cast<double>(host.clock().nowMicros()) / 1e6;
    const auto& shown = picture2.image().pixels;
    const auto& staged = picture1.image().pixels;
    for (size_t i = 0; i < shown.size(); ++i) figures.leftOver += shown[i] != staged[i] ? 1 : 0;
    return figures;
}

void effectTable(int w, int h) {
    std::printf("\nEffects at %d x %d (Speed 1; the closing full copy included)\n", w, h);
    std::printf("%3s %-22s %9s %8s %12s %10s %11s %7s\n", "#", "routine", "calls", "pauses",
                "pixels", "cpu ms", "nominal ms", "cpu %");
    EffectFigures total;
    for (int effect = 0; effect < transitions::kEffectCount; ++effect) {
        const EffectFigures f = measure(effect, w, h, true);
        const std::string_view name = transitions::effectName(effect);
        std::printf("%3d %-22.*s %9ld %8ld %12llu %10.2f %11.1f %6.1f%%\n", effect,
                    static_cast<int>(name.size()), name.data(), f.calls, f.pauses,
                    static_cast<unsigned long long>(f.pixels), f.blitSeconds * 1e3,
                    f.nominalSeconds * 1e3,
                    100.0 * f.blitSeconds / std::max(f.nominalSeconds, 1e-9));
        total.calls += f.calls;
        total.pixels += f.pixels;
        total.blitSeconds += f.blitSeconds;
        total.nominalSeconds += f.nominalSeconds;
    }
    std::printf("    %-22s %9ld %8s %12llu %10.2f %11.1f\n", "all 43", total.calls, "",
                static_cast<unsigned long long>(total.pixels), total.blitSeconds * 1e3,
                total.nominalSeconds * 1e3);
}

// The shortest processor time of a few runs of work.
template <typename Work>
double bestSeconds(Work work) {
    double best = 1e30;
    for (int trial = 0; trial < 5; ++trial) {
        const std::clock_t start = std::clock();
        work();
        best = std::min(best, static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC);
    }
    return best;
}

// Bytes per second of full-width band copies through the surface, and of
// memcpy moving the same bands between two plain buffers.
void throughput() {
    constexpr int w = 1920, h = 1080, band = 4, rounds = 20;
    platform::MemorySurface source(patterned(w, h, 7u));
    platform::MemorySurface target(w, h);
    std::vector<uint32_t> from(source.image().pixels), to(static_cast<size_t>(w) * h);
    const double bytes = static_cast<double>(w) * h * 4 * rounds;

    const double surfaceSeconds = bestSeconds([&] {
        for (int r = 0; r < rounds; ++r)
            for (int y = 0; y < h; y += band) target.copyFrom(source, 0, y, w, band, 0, y);
    });
    const double memcpySeconds = bestSeconds([&] {
        for (int r = 0; r < rounds; ++r)
            for (int y = 0; y < h; y += band)
                std::memcpy(to.data() + static_cast<size_t>(y) * w,
                            from.data() + static_cast<size_t>(y) * w,
                            static_cast<size_t>(w) * band * 4);
    });
    long blocks = 0;
    const double blockSeconds = bestSeconds([&] {
        blocks = 0;
        for (int y = 0; y < h; y += 16)
            for (int x = 0; x < w; x += 16, ++blocks) target.copyFrom(source, x, y, 16, 16, x, y);
    });
    // A whole-screen scale by nearest pixel, and the exact copy of equal sizes.
    const double scaleSeconds =
        bestSeconds([&] { target.stretchFrom(source, 0, 0, w, h, 0, 0, w - 1, h - 1); });
    const double exactSeconds =
        bestSeconds([&] { target.stretchFrom(source, 0, 0, w, h, 0, 0, w, h); });

    volatile uint32_t keep = to[12345] ^ target.image().pixels[54321];
    (void)keep;
    std::printf("\nBlock transfers on 1920 x 1080 x 32 bits (best of 5, processor time)\n");
    std::printf("  4-row full-width bands  %7.2f GB/s\n", bytes / surfaceSeconds / 1e9);
    std::printf("  memcpy of the same      %7.2f GB/s\n", bytes / memcpySeconds / 1e9);
    std::printf("  bands against memcpy    %7.0f %%\n", 100.0 * memcpySeconds / surfaceSeconds);
    std::printf("  16 x 16 blocks          %7.2f GB/s (%.0f ns a block)\n",
                static_cast<double>(blocks) * 16 * 16 * 4 / blockSeconds / 1e9,
                blockSeconds / static_cast<double>(blocks) * 1e9);
    std::printf("  scaled whole screen     %7.2f ms (%.2f ns a pixel)\n", scaleSeconds * 1e3,
                scaleSeconds / (static_cast<double>(w - 1) * (h - 1)) * 1e9);
    std::printf("  same-size stretch       %7.2f ms\n", exactSeconds * 1e3);
}

void coverageTable() {
    struct Size {
        int w, h;
    };
    const Size sizes[] = {{640, 480},  {800, 600},   {1024, 768},  {1280, 1024},
                          {1366, 768}, {1920, 1080}, {1080, 1920}, {600, 600}};
    std::printf(
        "\nPixels of the old slide each effect's own pattern leaves (before the closing copy)\n");
    std::printf("%3s %-22s", "#", "routine");
    for (Size s : sizes)
        std::printf(" %10s", (std::to_string(s.w) + "x" + std::to_string(s.h)).c_str());
    std::printf("\n");
    for (int effect = 0; effect < transitions::kEffectCount; ++effect) {
        const std::string_view name = transitions::effectName(effect);
        std::printf("%3d %-22.*s", effect, static_cast<int>(name.size()), name.data());
        for (Size s : sizes) std::printf(" %10ld", measure(effect, s.w, s.h, false).leftOver);
        std::printf("\n");
        std::fflush(stdout);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const bool coverage = argc > 1 && std::string_view(argv[1]) == "--coverage";
    std::printf("Nominal pause: %lld ns per iteration, 10 x Speed iterations per unit\n",
                static_cast<long long>(transitions::kNominalIterationNanos));
    if (coverage) {
        coverageTable();
        return 0;
    }
    effectTable(1920, 1080);
    effectTable(640, 480);
    throughput();
    return 0;
}
