// The hash and the comparison the golden tier stands on.

#include <gtest/gtest.h>

#include "golden/golden_file.h"
#include "golden/pixel_hash.h"
#include "golden/sample_pictures.h"
#include "temp_folder.h"

namespace pictavo::golden {
namespace {

TEST(PixelHash, IsFnv1aOverSizeAndPixelBytes) {
    // Worked out by hand from the bytes 02 00 00 00 01 00 00 00 (2 x 1) and
    // then 10 20 30 ff and 01 02 03 00 (red, green, blue, alpha).
    imaging::Image image(2, 1);
    image.at(0, 0) = imaging::rgb(0x10, 0x20, 0x30);
    image.at(1, 0) = 0x00010203u;
    EXPECT_EQ(hexHash(pixelHash(image)), "dd05ef0a4a39e15b");
    EXPECT_EQ(hexHash(pixelHash(imaging::Image())), "a8c7f832281a39c5");
}

TEST(PixelHash, TellsOnePixelAndTheShapeApart) {
    imaging::Image image(3, 2, imaging::rgb(1, 2, 3));
    const uint64_t before = pixelHash(image);
    image.at(2, 1) = imaging::rgb(1, 2, 4);
    EXPECT_NE(pixelHash(image), before);
    EXPECT_NE(pixelHash(imaging::Image(3, 2)), pixelHash(imaging::Image(2, 3)));
    EXPECT_NE(pixelHash(imaging::Image(1, 1, 0x00000000u)),
              pixelHash(imaging::Image(1, 1, 0xFF000000u)));
}

TEST(GoldenFile, ComparesLikeADiffAndSparesWhatThisMachineCannotMake) {
    const Entries file = {{"made/a", "1111"},
                          {"made/b", "2222"},
                          {"made/gone", "3333"},
                          {"made/no-tool", "4444"},
                          {"other/x", "5555"}};
    Computed computed;
    computed.entries = {{"made/a", "1111"}, {"made/b", "2223"}, {"made/new", "6666"}};
    computed.skipped = {{"made/no-tool", "no gm"}};
    const Verdict verdict = compare(file, "made/", computed);
    EXPECT_EQ(verdict.matched, 1);
    EXPECT_EQ(verdict.diff, (std::vector<std::string>{"-made/b  2222", "+made/b  2223",
                                                      "-made/gone  3333", "+made/new  6666"}));
    EXPECT_EQ(verdict.notChecked, (std::vector<std::string>{"made/no-tool (no gm)"}));

    // Regenerated: the kind's entries replaced, the skipped one and other kinds kept.
    const Entries rewritten = updated(file, "made/", computed);
    EXPECT_EQ(rewritten, (Entries{{"made/a", "1111"},
                                  {"made/b", "2223"},
                                  {"made/new", "6666"},
                                  {"made/no-tool", "4444"},
                                  {"other/x", "5555"}}));
}

TEST(GoldenFile, PicturesBesideTheCheckoutMayBeMoreThanTheFileLists) {
    const Entries file = {{"sample/shared/a.bmp:BMP", "1111"}};
    Computed computed;
    computed.entries = {{"sample/shared/a.bmp:BMP", "1111"}, {"sample/shared/b.bmp:BMP", "2222"}};
    computed.unlistedAllowedPrefix = "sample/shared/";
    const Verdict verdict = compare(file, "sample/shared/", computed);
    EXPECT_TRUE(verdict.diff.empty());
    EXPECT_EQ(verdict.unlisted, (std::vector<std::string>{"sample/shared/b.bmp:BMP  2222"}));
}

TEST(GoldenFile, ReadsBackWhatItWrote) {
    TempFolder folder;
    const Entries entries = {{"transition/00-WipeDown/1x1/final", "0123456789abcdef"},
                             {"made/TGA/gm-rle-67x29", "failed"}};
    ASSERT_TRUE(writeGoldenFile(folder.path() / "hashes.txt", {"a comment"}, entries));
    EXPECT_EQ(readGoldenFile(folder.path() / "hashes.txt"), entries);
    EXPECT_TRUE(readGoldenFile(folder.path() / "absent.txt").empty());
}

TEST(GoldenFile, SharedSamplesListedButAbsentHereAreNamed) {
    TempFolder folder;
    std::filesystem::create_directories(folder.path() / "bmp");
    folder.write("bmp/here.bmp", "BM");
    const Entries file = {{"sample/shared/bmp/here.bmp:BMP", "1111"},
                          {"sample/shared/bmp/gone.bmp:BMP", "2222"},
                          {"sample/shared/gone/x.pcx:PCX", "3333"},
                          {"sample/demo/gone.jpg:JPEG(libjpeg)", "4444"}};
    const std::vector<Skip> absent = listedButAbsent(folder.path(), file);
    ASSERT_EQ(absent.size(), 2u);
    EXPECT_EQ(absent[0].keyPrefix, "sample/shared/bmp/gone.bmp:");
    EXPECT_EQ(absent[1].keyPrefix, "sample/shared/gone/x.pcx:");
}

}  // namespace
}  // namespace pictavo::golden
