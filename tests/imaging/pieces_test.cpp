// Files bigger than the beginning decodePicture reads at once, decoded from
// the file a piece at a time: the same picture as from the whole file in
// memory, for every decoder that reads in pieces.

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "adapters/imagelibs/system_decoders.h"
#include "imaging/picture_decoding.h"
#include "imaging/tool_pictures.h"

namespace pictavo::imaging::testing {
namespace {

// Noise does not compress: files of a few megapixels stay big. With a
// palette of some colours, or any colour at all (colours 0).
Image noise(int width, int height, int colours) {
    std::mt19937 random(11);
    auto any = [&] {
        return rgb(static_cast<uint8_t>(random()), static_cast<uint8_t>(random()),
                   static_cast<uint8_t>(random()));
    };
    std::vector<Pixel> palette;
    for (int i = 0; i < colours; ++i) palette.push_back(any());
    std::uniform_int_distribution<int> pick(0, std::max(colours - 1, 0));
    Image image(width, height);
    for (Pixel& p : image.pixels)
        p = colours > 0 ? palette[static_cast<size_t>(pick(random))] : any();
    return image;
}

class InPieces : public ScratchFolderTest {
  protected:
    // Decodes the file from memory and from a source, and compares.
    void expectSamePicture(const std::string& name) {
        SCOPED_TRACE(name);
        const auto bytes = readBytes(file(name));
        // Bigger than what is read at once, so the decoder must read the rest.
        ASSERT_GT(bytes.size(), size_t{5} << 20);
        const auto decoders = pictureDecoders(platform::systemDecoders());
        auto whole = decodePicture({.decoders = *decoders, .fileName = name, .bytes = bytes});
        ASSERT_TRUE(whole) << name;
        const MemorySource source(bytes);
        auto pieces = decodePicture({.decoders = *decoders, .fileName = name, .file = &source});
        ASSERT_TRUE(pieces) << pieces.error().message;
        ASSERT_EQ(pieces->pictureWidth(), whole->pictureWidth());
        ASSERT_EQ(pieces->pictureHeight(), whole->pictureHeight());
        EXPECT_EQ(maxDifference(*pieces, *whole), 0);
    }
};

TEST_F(InPieces, RasterFormatsMatchTheirWholeFile) {
    if (!haveTool("ppmtobmp") || !haveTool("ppmtopcx") || !haveTool("pnmtopng") ||
        !haveTool("cjpeg") || !haveTool("ppmtotga")) {
        GTEST_SKIP() << "netpbm or libjpeg tools absent";
    }
    writePpm(file("colour.ppm"), noise(1500, 1300, 0));
    writePpm(file("palette.ppm"), noise(2600, 2200, 200));
    ASSERT_TRUE(
        run("ppmtobmp -bpp 24 " + quoted("colour.ppm") + " > " + quoted("a.bmp") + " 2>/dev/null"));
    ASSERT_TRUE(run("ppmtotga -rgb -norle " + quoted("colour.ppm") + " > " + quoted("a.tga")));
    ASSERT_TRUE(run("ppmtotga -rgb " + quoted("colour.ppm") + " > " + quoted("rle.tga")));
    // 256 colours or fewer: one plane, and the palette after the pixels.
    ASSERT_TRUE(
        run("ppmtopcx " + quoted("palette.ppm") + " > " + quoted("a.pcx") + " 2>/dev/null"));
    ASSERT_TRUE(
        run("ppmtopcx " + quoted("colour.ppm") + " > " + quoted("colour.pcx") + " 2>/dev/null"));
    ASSERT_TRUE(run("pnmtopng " + quoted("colour.ppm") + " > " + quoted("a.png")));
    ASSERT_TRUE(run("cjpeg -quality 100 -progressive " + quoted("palette.ppm") + " > " +
                    quoted("progressive.jpg")));
    ASSERT_TRUE(run("cjpeg -quality 100 " + quoted("palette.ppm") + " > " + quoted("a.jpg")));
    ASSERT_TRUE(run("pnmtorle " + quoted("colour.ppm") + " > " + quoted("utah.rle")));
    for (const char* name : {"a.bmp", "a.tga", "rle.tga", "a.pcx", "colour.pcx", "a.png",
                             "progressive.jpg", "a.jpg", "utah.rle"}) {
        expectSamePicture(name);
    }
}

TEST_F(InPieces, RunLengthBitmapFarIntoItsFile) {
    // An RLE8 bitmap whose pixels start after five megabytes of nothing.
    const uint32_t offset = 5u << 20;
    std::vector<uint8_t> file(offset);
    auto put = [&](size_t at, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) file[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    file[0] = 'B', file[1] = 'M';
    put(10, offset, 4);
    put(14, 40, 4), put(18, 4, 4), put(22, 2, 4), put(26, 1, 2), put(28, 8, 2), put(30, 1, 4);
    put(54 + 4, 0x00FF00, 4);  // colour 1: green
    for (const int b : {4, 1, 0, 0, 2, 1, 2, 0, 0, 1}) file.push_back(static_cast<uint8_t>(b));
    testing::writeBytes(this->file("far.bmp"), file);
    expectSamePicture("far.bmp");
    const auto decoders = pictureDecoders(platform::systemDecoders());
    const MemorySource source(file);
    auto decoded = decodePicture({.decoders = *decoders, .fileName = "far.bmp", .file = &source});
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->at(0, 1), rgb(0, 255, 0));
}

TEST_F(InPieces, DrawingsMatchTheirWholeFile) {
    std::string dxf = "0\nSECTION\n2\nENTITIES\n";
    for (int i = 0; dxf.size() < (size_t{6} << 20); ++i) {
        dxf += "0\nLINE\n8\nlayer" + std::to_string(i % 7) + "\n62\n" + std::to_string(1 + i % 7) +
               "\n10\n" + std::to_string(i % 1000) + ".25\n20\n" + std::to_string(i / 1000) +
               ".5\n11\n" + std::to_string(i % 1000 + 3) + "\n21\n" + std::to_string(i / 1000 + 2) +
               "\n";
    }
    dxf += "0\nENDSEC\n0\nEOF\n";
    testing::writeBytes(file("big.dxf"), {dxf.begin(), dxf.end()});
    expectSamePicture("big.dxf");
}

}  // namespace
}  // namespace pictavo::imaging::testing
