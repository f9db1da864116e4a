// What a slide change costs the codec: re-rendering a camera photo at the
// screen's size, and fitting a screen-sized picture to 256 colours.

#include <benchmark/benchmark.h>

#include <random>

#include "imaging/colour_reduction.h"
#include "imaging/resample.h"

namespace pictavo::imaging {
namespace {

// Smooth areas with some grain, like a photo: gradients plus noise.
Image photoLike(int width, int height) {
    Image image(width, height);
    std::mt19937 random(1);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto grain = static_cast<int>(random() % 16);
            image.at(x, y) =
                rgb(static_cast<uint8_t>((x * 200 / width + grain) & 0xFF),
                    static_cast<uint8_t>((y * 180 / height + grain) & 0xFF),
                    static_cast<uint8_t>(((x + y) * 90 / (width + height) + 60 + grain) & 0xFF));
        }
    }
    return image;
}

void BM_ResamplePhotoToFullHd(benchmark::State& state) {
    const Image photo = photoLike(6000, 4000);
    for (auto _ : state) {
        auto out = resample(photo, 1920, 1080);
        benchmark::DoNotOptimize(out);
    }
    state.counters["source Mpx"] = 24;
}
BENCHMARK(BM_ResamplePhotoToFullHd)->Unit(benchmark::kMillisecond);

void BM_UpscaleToFullHd(benchmark::State& state) {
    const Image small = photoLike(800, 600);
    for (auto _ : state) {
        auto out = resample(small, 1920, 1080);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_UpscaleToFullHd)->Unit(benchmark::kMillisecond);

void BM_FitPalette256FullHd(benchmark::State& state) {
    const Image screen = photoLike(1920, 1080);
    for (auto _ : state) {
        auto palette = adaptivePalette(screen, 256);
        benchmark::DoNotOptimize(palette);
    }
}
BENCHMARK(BM_FitPalette256FullHd)->Unit(benchmark::kMillisecond);

void BM_Reduce256DitheredFullHd(benchmark::State& state) {
    const Image screen = photoLike(1920, 1080);
    for (auto _ : state) {
        Image reduced = screen;
        mapToPalette(reduced, adaptivePalette(reduced, 256), Dither::ErrorDiffusion);
        benchmark::DoNotOptimize(reduced);
    }
}
BENCHMARK(BM_Reduce256DitheredFullHd)->Unit(benchmark::kMillisecond);

void BM_Reduce16DitheredFullHd(benchmark::State& state) {
    const Image screen = photoLike(1920, 1080);
    for (auto _ : state) {
        Image reduced = screen;
        mapToPalette(reduced, standardPalette16(), Dither::ErrorDiffusion);
        benchmark::DoNotOptimize(reduced);
    }
}
BENCHMARK(BM_Reduce16DitheredFullHd)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pictavo::imaging

BENCHMARK_MAIN();
