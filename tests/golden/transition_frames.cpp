#include "golden/transition_frames.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/random.h"
#include "golden/effect_playback.h"
#include "golden/pixel_hash.h"
#include "hosts/shared/memory_surface.h"
#include "transitions/transition_rig.h"

namespace pictavo::golden {

namespace {

using transitions::testing::TransitionRig;

struct Size {
    int width;
    int height;
};

struct Family {
    std::vector<int> effects;
    std::vector<Size> sizes;
};

// Sizes where each family's arithmetic has an edge:
// - strip wipes: a strip count of 160.5 rounded to the even 160 (642), 161.5
//   rounded up so the last strip is clipped (646), a bottom front that ends
//   exactly on the edge (600) and an odd height whose centre is a half row (601);
// - interlaced strips and blinds: an odd row count (768), an odd column count
//   whose last strip is partial (1152), fifteen columns in pairs (150), band
//   sizes of 50.5 cut to 50 (1010) and 30 rows each (600), the smear on 480 rows;
// - slides: whole steps of 15 (600) and 19 with an 8-row margin (768), exact
//   steps of 12.8 (1024) and 10.666... (640);
// - blocks and diagonals: the common 640 x 480 and one pixel off every block
//   size (641 x 479); the diagonals also on a portrait picture, where their
//   bounds, taken from the width, stop short of the bottom;
// - stretch reveals: a ratio of 3/4 (640 x 480, and 800 x 600, where the
//   vertical opening takes 60 steps) and of 0.5622... (1366 x 768).
// Every effect also runs on two small odd sizes, landscape and portrait,
// and on a single pixel.
const std::vector<Family>& families() {
    static const std::vector<Family> table = {
        {{0, 1, 2, 3, 4, 5, 6, 31}, {{642, 480}, {646, 480}, {640, 600}, {640, 601}}},
        {{9, 14, 15, 16, 17, 18, 19}, {{640, 480}, {1010, 768}, {1152, 600}, {150, 100}}},
        {{20, 21, 22, 23, 24, 25}, {{640, 480}, {800, 600}, {1024, 768}}},
        {{7, 8, 26, 27, 28, 29, 30}, {{640, 480}, {641, 479}}},
        {{10, 11, 12, 13}, {{640, 480}, {641, 479}, {480, 640}}},
        {{32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42}, {{640, 480}, {800, 600}, {1366, 768}}},
    };
    return table;
}

const std::vector<Size> kEverySize = {{67, 45}, {45, 67}, {1, 1}};

std::string keyOf(int effect, Size size, const char* frame) {
    return transitionKey(effect, size.width, size.height, frame);
}

// The rig's pictures (every staged pixel tells where it came from), set up
// once per size and put back before every run: an effect starts on a fresh
// old slide and an unseeded generator, as after the slide show's start.
class EffectRunner {
  public:
    explicit EffectRunner(Size size) : rig_(size.width, size.height), oldSlide_(rig_.picture2) {}

    // Runs the effect's own pattern; onPause sees the number of each pause.
    // Returns the number of pauses.
    int run(int effect, std::function<void(int)> onPause = {}) {
        rig_.picture2.copyFrom(oldSlide_, 0, 0, oldSlide_.width(), oldSlide_.height(), 0, 0);
        rig_.state.random = Random();
        rig_.trace.events.clear();
        const int before = rig_.loop.dispatchCount();
        rig_.loop.setOnDispatch([&](int dispatch) {
            if (onPause) onPause(dispatch - before);
        });
        rig_.runEffect(effect);
        rig_.loop.setOnDispatch({});
        return rig_.loop.dispatchCount() - before;
    }
    const imaging::Image& shown() const { return rig_.picture2.image(); }

  private:
    TransitionRig rig_;
    const platform::MemorySurface oldSlide_;
};

// Runs the effect twice: once to count its pauses, once to take the frame
// shown at the middle one. The stretch reveals get an image of the screen's
// size, as the slide show stages stretched slides.
void addEffect(Entries& entries, EffectRunner& runner, int effect, Size size) {
    const int pauses = runner.run(effect);
    std::optional<uint64_t> middle;
    runner.run(effect, [&](int pause) {
        if (pause == (pauses + 1) / 2) middle = pixelHash(runner.shown());
    });
    entries[keyOf(effect, size, "final")] = hexHash(pixelHash(runner.shown()));
    if (middle) entries[keyOf(effect, size, "middle")] = hexHash(*middle);
}

}  // namespace

Computed transitionFrames() {
    Computed computed;
    for (const Family& family : families()) {
        std::vector<Size> sizes = family.sizes;
        sizes.insert(sizes.end(), kEverySize.begin(), kEverySize.end());
        for (Size size : sizes) {
            EffectRunner runner(size);
            for (int effect : family.effects) addEffect(computed.entries, runner, effect, size);
        }
    }
    return computed;
}

}  // namespace pictavo::golden
