// A claimed size is checked before anything is allocated for it.

#include <gtest/gtest.h>

#include "allocation_probe.h"
#include "bmp_writer.h"
#include "decode_helpers.h"
#include "imaging/decoder_choice.h"
#include "imaging/decoders/own_decoders.h"
#include "imaging/limits.h"

namespace pictavo::imaging::testing {
namespace {

constexpr size_t kSmallAllocation = 1 << 20;

Result<Image> decodeAny(const std::vector<uint8_t>& bytes) {
    return decodePicture(ownDecoders(), DecodeRequest{bytes, ""});
}

TEST(PictureSize, CapsSidesAndPixelCount) {
    EXPECT_TRUE(checkPictureSize(16384, 4096).ok());
    EXPECT_TRUE(checkPictureSize(1, 16384).ok());
    EXPECT_EQ(checkPictureSize(16385, 1).error().message, "picture too large: 16385 x 1");
    EXPECT_EQ(checkPictureSize(16384, 16384).error().message, "picture too large: 16384 x 16384");
    EXPECT_EQ(checkPictureSize(0, 10).error().message, "invalid picture size: 0 x 10");
    EXPECT_EQ(checkPictureSize(10, -3).error().message, "invalid picture size: 10 x -3");
}

TEST(PictureSize, ProbeSeesAPicturesAllocation) {
    const auto file = bitmapFile(Image(600, 600));
    AllocationProbe probe;
    ASSERT_TRUE(decodeAny(file).ok());
    EXPECT_GE(probe.largest(), size_t{600} * 600 * 4);
}

TEST(PictureSize, HugeBitmapIsRefusedWithoutAllocatingIt) {
    const auto header = bitmapHeaderClaiming(40000, 40000);
    size_t largest = 0;
    Result<Image> result = makeError("");
    {
        AllocationProbe probe;
        result = decodeAny(header);
        largest = probe.largest();
    }
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().message, "picture too large: 40000 x 40000");
    EXPECT_LT(largest, kSmallAllocation);
}

// A size under the caps, but far more pixels than the file holds: refused
// as truncated before the picture is allocated.
TEST(PictureSize, ShortFilesClaimingBigPicturesAreRefusedBeforeAllocating) {
    std::vector<uint8_t> tga = {0, 0, 2, 0,    0,    0,    0,    0,  0,
                                0, 0, 0, 0x00, 0x20, 0x00, 0x20, 24, 0};  // 8192 x 8192
    std::vector<uint8_t> tgaRle = tga;
    tgaRle[2] = 10;
    std::vector<uint8_t> pcx(128, 0);
    pcx[0] = 0x0A, pcx[1] = 5, pcx[2] = 1, pcx[3] = 8;
    pcx[8] = 0xFF, pcx[9] = 0x1F, pcx[10] = 0xFF, pcx[11] = 0x1F;  // 8192 x 8192
    pcx[65] = 1, pcx[66] = 0x00, pcx[67] = 0x20;
    pcx.resize(2000, 0xC1);
    auto bmp = bitmapHeaderClaiming(8000, 8000);
    bmp.resize(4000, 0);
    for (const auto& [label, bytes] : {std::pair{"TGA", tga}, std::pair{"TGA RLE", tgaRle},
                                       std::pair{"PCX", pcx}, std::pair{"BMP", bmp}}) {
        AllocationProbe probe;
        auto result = decodeAny(bytes);
        ASSERT_FALSE(result.ok()) << label;
        EXPECT_EQ(result.error().message, "file is truncated") << label;
        EXPECT_LT(probe.largest(), kSmallAllocation) << label;
    }
}

}  // namespace
}  // namespace pictavo::imaging::testing
