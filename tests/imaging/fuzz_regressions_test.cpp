// Every input a fuzzer once broke on (fuzz/regressions/FORMAT/), replayed
// through what that fuzzer does with an input: each decode ends in a sound
// picture or an error that says why. Under the sanitizer build a relapse
// into the old fault stops the run outright.

#include <gtest/gtest.h>

#include <filesystem>

#include "fuzz_entries.h"
#include "reference_images.h"

namespace pictavo::imaging::testing {
namespace {

namespace fs = std::filesystem;

TEST(FuzzRegressions, EveryInputEndsInAPictureOrAReason) {
    const fs::path root = fs::path(PICTAVO_SOURCE_DIR) / "fuzz" / "regressions";
    int replayed = 0;
    for (const auto& folder : fs::directory_iterator(root)) {
        const std::string format = folder.path().filename().string();
        const fuzz::FuzzEntry entry = fuzz::fuzzEntry(format);
        ASSERT_NE(entry, nullptr) << "no fuzzer reads " << format;
        for (const auto& file : fs::directory_iterator(folder.path())) {
            SCOPED_TRACE(file.path().string());
            for (const Result<Image>& outcome : entry(readBytes(file.path()))) {
                if (!outcome) {
                    EXPECT_FALSE(outcome.error().message.empty());
                    continue;
                }
                EXPECT_GT(outcome->width, 0);
                EXPECT_GT(outcome->height, 0);
                EXPECT_EQ(outcome->pixels.size(), static_cast<size_t>(outcome->width) *
                                                      static_cast<size_t>(outcome->height));
            }
            ++replayed;
        }
    }
    EXPECT_GT(replayed, 0);
}

}  // namespace
}  // namespace pictavo::imaging::testing
