// The golden tier: every entry of tests/golden/hashes.txt computed again and
// compared. A deliberate change in pixels is made visible by regenerating
// the file (PICTAVO_UPDATE_GOLDEN=1, see README.md) and reviewing its diff.

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "golden/golden_file.h"
#include "golden/transition_frames.h"
#if PICTAVO_GOLDEN_PICTURES
#include "golden/made_pictures.h"
#include "golden/sample_pictures.h"
#endif

namespace pictavo::golden {
namespace {

const std::filesystem::path kGoldenFile = PICTAVO_GOLDEN_FILE;

const std::vector<std::string> kHeader = {
    "What the transition effects draw and what our decoders make of pictures, as pixel hashes.",
    "Checked by test_golden; after a deliberate change, regenerate with the update-golden",
    "target (see tests/golden/README.md) and review the diff of this file.",
};

bool updating() {
    const char* update = std::getenv("PICTAVO_UPDATE_GOLDEN");
    return update != nullptr && std::string(update) == "1";
}

// Compares the kind's entries, or rewrites them when asked to.
void check(const std::string& prefix, const Computed& computed) {
    const Entries file = readGoldenFile(kGoldenFile);
    const Verdict verdict = compare(file, prefix, computed);
    if (updating()) {
        ASSERT_TRUE(writeGoldenFile(kGoldenFile, kHeader, updated(file, prefix, computed)))
            << "cannot write " << kGoldenFile;
        std::cout << "rewritten: " << describe(prefix, verdict) << "\n";
        return;
    }
    if (verdict.diff.empty()) std::cout << describe(prefix, verdict) << "\n";
    EXPECT_TRUE(verdict.diff.empty()) << describe(prefix, verdict);
    EXPECT_GT(verdict.matched + verdict.notChecked.size(), 0u)
        << "nothing of " << prefix << " in " << kGoldenFile;
}

TEST(Golden, TransitionFramesAreAsBefore) {
    check(kTransitionPrefix, transitionFrames());
}

// The pictures' entries need the system's image libraries (JPEG, PNG, TIFF
// and the PNG references), which the 32-bit build has not.
#if PICTAVO_GOLDEN_PICTURES
TEST(Golden, PicturesWrittenByOtherProgramsDecodeAsBefore) {
    check(kMadePrefix, madePictures());
}

TEST(Golden, DemoPicturesDecodeAsBefore) {
    check(kDemoSamplePrefix, demoSamples());
}

TEST(Golden, SharedSamplesFoundHereDecodeAsBefore) {
    check(kSharedSamplePrefix, sharedSamples(readGoldenFile(kGoldenFile)));
}
#endif

}  // namespace
}  // namespace pictavo::golden
