// Ten thousand slide changes over a folder of mixed, partly broken
// pictures, in simulated time. Run it under the sanitizer build or valgrind
// to see leaks and bad accesses; here it checks that the heap in use does
// not grow from the early changes to the late ones.

#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <filesystem>
#include <limits>

#include "hosts/headless/headless_host.h"
#include "slideshow/slide_window.h"
#include "startup/main.h"
#include "temp_folder.h"
#include "test_pictures.h"

namespace pictavo::slideshow {
namespace {

using imaging::rgb;

std::string bmpBytes(int width, int height, imaging::Pixel colour) {
    int rowBytes = (width * 3 + 3) / 4 * 4;
    uint32_t size = 54 + static_cast<uint32_t>(rowBytes * height);
    std::string bytes(size, '\0');
    auto put = [&bytes](size_t at, uint32_t value, int count) {
        for (int i = 0; i < count; ++i)
            bytes[at + static_cast<size_t>(i)] = static_cast<char>(value >> (8 * i));
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put(2, size, 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<uint32_t>(width), 4);
    put(22, static_cast<uint32_t>(height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            size_t at = 54 + static_cast<size_t>(y * rowBytes + x * 3);
            put(at,
                imaging::blue(colour) | (imaging::green(colour) << 8) |
                    (imaging::red(colour) << 16),
                3);
        }
    return bytes;
}

void fillFolder(const TempFolder& folder) {
    testing::writePpm(folder.path() / "exact.bmp", 64, 48, rgb(10, 20, 30));
    testing::writePpm(folder.path() / "small.jpg", 17, 9, rgb(200, 10, 10));
    testing::writePpm(folder.path() / "wide.png", 150, 30, rgb(10, 200, 10));
    testing::writeFile(folder.path() / "large.tif",
                       testing::ppmBytes(160, 120, testing::positionPixel));
    testing::writeFile(folder.path() / "real.BMP", bmpBytes(40, 30, rgb(1, 2, 250)));
    testing::writeFile(folder.path() / "cut.bmp", bmpBytes(40, 30, rgb(9, 9, 9)).substr(0, 300));
    testing::writeFile(folder.path() / "cut.pcx",
                       testing::ppmBytes(40, 30, testing::positionPixel).substr(0, 500));
    testing::writeFile(folder.path() / "words.jpg", "this is not a picture");
    testing::writeFile(folder.path() / "empty.tga", "");
    testing::writeFile(folder.path() / "huge.dib", "P6\n16000 16000\n255\n");
}

// Counts transitions and lets the loop run twice in each, as the pacing does.
class PacedTransitions : public TransitionRunner {
  public:
    explicit PacedTransitions(platform::headless::HeadlessHost& host) : host_(host) {}
    void Transition(int16_t effect, platform::Surface& picture1,
                    platform::Surface& picture2) override {
        ++count;
        highest = std::max(highest, static_cast<int>(effect));
        for (int pause = 0; pause < 2; ++pause) {
            host_.clock().advance(300'000);
            host_.eventLoop().doEvents();
        }
        picture2.copyFrom(picture1, 0, 0, picture1.width(), picture1.height(), 0, 0);
    }
    int count = 0;
    int highest = 0;

  private:
    platform::headless::HeadlessHost& host_;
};

// The smallest heap in use over the changes of one stretch of the show:
// what stays when the show happens to hold its smallest picture.
class HeapWatch : public SlideShowObserver {
  public:
    void picturePlaced(int, const std::string&) override { ++placed; }
    void linePrinted(const std::string&) override { ++failed; }
    void slideChangeEnded(platform::Surface&) override {
        ++changes;
        size_t inUse = mallinfo2().uordblks;
        if (changes > 500 && changes <= 1000) early = std::min(early, inUse);
        if (changes > 4500) late = std::min(late, inUse);
    }
    int changes = 0;
    int placed = 0;
    int failed = 0;
    size_t early = std::numeric_limits<size_t>::max();
    size_t late = std::numeric_limits<size_t>::max();
};

TEST(SlideShowSoak, TenThousandChangesOverBrokenPicturesKeepTheHeapFlat) {
    // The pictures are decoded on the show's own thread: one arena for all
    // threads, so that what the heap holds is counted wherever it was taken.
    mallopt(M_ARENA_MAX, 1);
    TempFolder folder;
    fillFolder(folder);
    int total = 0;
    for (int16_t stretch : {int16_t{0}, int16_t{1}}) {
        // Listed at the start, gone when it is picked.
        testing::writeFile(folder.path() / "vanishing.wmf", "P6\n1 1\n255\nabc");
        platform::headless::HeadlessHost host;
        host.setDecoderSource(testing::ppmDecoders);
        host.screen().setPixels(64, 48);
        SaverState state;
        measureScreen(host.screen(), state);
        state.PicturePath = folder.withSeparator();
        state.Interval = 0;
        state.Stretch = stretch;
        state.random.seed(stretch == 0 ? 1 : 2);
        PacedTransitions transitions(host);
        HeapWatch watch;
        SlideWindow frmSS(host, state, transitions, [](const std::string& typed) { return typed; });
        frmSS.setObserver(&watch);
        frmSS.show();
        ASSERT_EQ(frmSS.pictures().ListCount(), 11);
        std::filesystem::remove(folder.path() / "vanishing.wmf");

        // The ticks during the 0.6 s of each change are not counted: one change per second.
        host.eventLoop().runFor(5000 * 1000);

        EXPECT_EQ(watch.changes, 5000);
        EXPECT_EQ(transitions.count, 5000);
        EXPECT_GT(watch.placed, 1000);
        EXPECT_GT(watch.failed, 1000);
        EXPECT_EQ(transitions.highest >= 32, stretch != 0);
        EXPECT_LE(watch.late, watch.early + 32 * 1024)
            << "early " << watch.early << ", late " << watch.late;
        RecordProperty(stretch == 0 ? "heap_early_centre" : "heap_early_stretch",
                       std::to_string(watch.early));
        RecordProperty(stretch == 0 ? "heap_late_centre" : "heap_late_stretch",
                       std::to_string(watch.late));
        total += watch.changes;
    }
    EXPECT_EQ(total, 10000);
    EXPECT_FALSE(std::filesystem::exists("~3402tmp.bmp"));
}

}  // namespace
}  // namespace pictavo::slideshow
