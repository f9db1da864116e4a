// The transitions drawn on DIB sections: the frames of every effect equal
// the golden hashes of the headless host, so the Windows host shows what the
// golden tier describes.

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "golden/effect_playback.h"
#include "golden/golden_file.h"
#include "golden/pixel_hash.h"
#include "hosts/win32/dib_surface.h"
#include "hosts/win32/win32_host.h"
#include "transitions/transition_engine.h"

namespace pictavo::platform::win32 {
namespace {

// The bits as they are, alpha included: the headless pixels they must equal.
imaging::Image bitsOf(const DibSurface& surface) {
    const ConstPixelView view = surface.pixels();
    imaging::Image image(view.width, view.height);
    image.pixels.assign(view.pixels, view.pixels + image.pixels.size());
    return image;
}

bool opaque(const imaging::Image& image) {
    for (imaging::Pixel p : image.pixels)
        if (p >> 24 != 0xFFu) return false;
    return true;
}

TEST(GoldenFrames, EveryEffectDrawsTheHeadlessFramesOnDibSections) {
    const golden::Entries golden = golden::readGoldenFile(PICTAVO_GOLDEN_FILE);
    ASSERT_FALSE(golden.empty());
    Win32Host host;
    for (auto [width, height] : {std::pair{67, 45}, std::pair{45, 67}}) {
        DibSurface picture1(width, height, 0);
        DibSurface picture2(width, height, 0);
        for (int effect = 0; effect < transitions::kEffectCount; ++effect) {
            golden::playGoldenFrames(
                effect, picture1, picture2, host.eventLoop(), host.clock(),
                [&](const std::string& key, bool) {
                    SCOPED_TRACE(key);
                    EXPECT_EQ(golden.at(key), golden::hexHash(golden::pixelHash(bitsOf(picture2))));
                    EXPECT_TRUE(opaque(picture2.snapshot()));
                });
        }
    }
}

}  // namespace
}  // namespace pictavo::platform::win32
