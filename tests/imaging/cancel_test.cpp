// A decode nobody wants any more stops: with its request's cancel flag
// raised, every format ends with "decoding cancelled" instead of a picture,
// having looked at the flag inside its loops (the decoders look at it
// nowhere else). Pictures are made at test time by command-line tools, and
// by a few lines of ours for the vector formats.

#include <gtest/gtest.h>
#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <map>
#include <string>
#include <thread>

#include "adapters/ghostscript/eps_ghostscript.h"
#include "adapters/imagelibs/system_decoders.h"
#include "imaging/decoders/dxf.h"
#include "imaging/picture_decoding.h"
#include "tool_pictures.h"

namespace pictavo::imaging::testing {
namespace {

using namespace std::chrono_literals;

std::shared_ptr<WorkMeter> cancelledMeter(CancelFlag& flag) {
    flag.cancel();
    return std::make_shared<WorkMeter>(&flag);
}

// Little-endian words, for the vector formats written by hand.
class Bytes {
  public:
    Bytes& u8(int v) {
        data.push_back(static_cast<uint8_t>(v));
        return *this;
    }
    Bytes& u16(int v) { return u8(v & 0xFF).u8((v >> 8) & 0xFF); }
    Bytes& u32(uint32_t v) {
        return u16(static_cast<int>(v & 0xFFFF)).u16(static_cast<int>(v >> 16));
    }
    std::vector<uint8_t> data;
};

// A metafile of a window and 200 rectangles.
std::vector<uint8_t> metafile() {
    Bytes records;
    auto record = [&](int function, std::initializer_list<int> params) {
        records.u32(static_cast<uint32_t>(3 + params.size())).u16(function);
        for (int p : params) records.u16(p);
    };
    record(0x020C, {400, 400});  // window extent
    for (int i = 0; i < 200; ++i) record(0x041B, {i * 2 + 10, i * 2 + 10, i, i});
    record(0, {});
    Bytes file;
    file.u16(1).u16(9).u16(0x300).u32(static_cast<uint32_t>(9 + records.data.size() / 2));
    file.u16(0).u32(0).u16(0);
    file.data.insert(file.data.end(), records.data.begin(), records.data.end());
    return file.data;
}

// A WordPerfect graphic (version 1) of 200 rectangles.
std::vector<uint8_t> wordPerfectGraphic() {
    Bytes file;
    file.u8(0xFF).u8('W').u8('P').u8('C').u32(16).u8(1).u8(0x16).u8(1).u8(0).u16(0).u16(0);
    auto record = [&](int type, const Bytes& body) {
        file.u8(type).u8(static_cast<int>(body.data.size()));
        file.data.insert(file.data.end(), body.data.begin(), body.data.end());
    };
    record(0x0F, Bytes().u8(1).u8(0).u16(2400).u16(1200));
    for (int i = 0; i < 200; ++i) record(0x07, Bytes().u16(i).u16(i).u16(100).u16(100));
    record(0x10, Bytes());
    return file.data;
}

std::string dxfOf(const std::string& blocks, const std::string& entities) {
    return "0\nSECTION\n2\nBLOCKS\n" + blocks + "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n" + entities +
           "0\nENDSEC\n0\nEOF\n";
}

// A drawing of 300 lines.
std::vector<uint8_t> drawing() {
    std::string lines;
    for (int i = 0; i < 300; ++i)
        lines += "0\nLINE\n8\n0\n10\n" + std::to_string(i) + "\n20\n0\n11\n0\n21\n" +
                 std::to_string(i) + "\n";
    const std::string text = dxfOf("", lines);
    return {text.begin(), text.end()};
}

// An empty block inserted as a 1000 x 1000 array inside a block that is
// itself inserted as a 1000 x 1000 array: a trillion cells of nothing.
std::vector<uint8_t> endlessArrays() {
    const std::string array = "70\n1000\n71\n1000\n44\n1\n45\n1\n";
    const std::string text = dxfOf(
        "0\nBLOCK\n2\nE\n10\n0\n20\n0\n0\nENDBLK\n"
        "0\nBLOCK\n2\nA\n10\n0\n20\n0\n0\nINSERT\n2\nE\n10\n0\n20\n0\n" +
            array + "0\nENDBLK\n",
        "0\nINSERT\n2\nA\n10\n0\n20\n0\n" + array);
    return {text.begin(), text.end()};
}

Result<Image> decode(const DecoderList& decoders, std::span<const uint8_t> bytes,
                     std::string_view name, std::shared_ptr<WorkMeter> work = nullptr) {
    return decodePicture(
        {.decoders = decoders, .fileName = name, .bytes = bytes, .work = std::move(work)});
}

class CancelledDecodes : public ScratchFolderTest {
  protected:
    // The decoders of the Linux build, with Ghostscript when it is installed.
    std::shared_ptr<const DecoderList> decoders = pictureDecoders(
        platform::systemDecoders(), std::make_shared<platform::GhostscriptRenderer>());

    // The file a shell command made from source.ppm, or nothing when a tool is missing.
    std::optional<std::vector<uint8_t>> made(const std::string& name, const std::string& tool,
                                             const std::string& command) {
        if (!haveTool(tool)) return std::nullopt;
        if (!run(command + " > " + quoted(name) + " 2>/dev/null")) return std::nullopt;
        return readBytes(file(name));
    }
};

TEST_F(CancelledDecodes, EveryFormatEndsWithDecodingCancelled) {
    writePpm(file("source.ppm"), testPattern(320, 200));
    const std::string source = quoted("source.ppm");
    std::map<std::string, std::optional<std::vector<uint8_t>>> pictures = {
        {"a.bmp", made("a.bmp", "ppmtobmp", "ppmtobmp " + source)},
        {"rle.bmp",
         made("rle.bmp", "gm", "gm convert " + source + " -colors 200 -compress RLE bmp3:-")},
        {"a.pcx", made("a.pcx", "ppmtopcx", "ppmtopcx " + source)},
        {"a.dcx", made("a.dcx", "gm", "gm convert " + source + " dcx:-")},
        {"raw.tga", made("raw.tga", "pamtotga", "pamtotga -norle " + source)},
        {"rle.tga", made("rle.tga", "pamtotga", "pamtotga " + source)},
        {"a.rle", made("a.rle", "pnmtorle", "pnmtorle " + source)},
        {"a.img", made("a.img", "pbmtogem", "pamditherbw " + source + " | pamtopnm | pbmtogem")},
        {"a.pcd", made("a.pcd", "gm", "gm convert " + source + " pcd:-")},
        {"a.tif", made("a.tif", "pnmtotiff", "pnmtotiff " + source)},
        {"a.png", made("a.png", "pnmtopng", "pnmtopng " + source)},
        {"interlaced.png", made("interlaced.png", "pnmtopng", "pnmtopng -interlace " + source)},
        {"a.jpg", made("a.jpg", "cjpeg", "cjpeg " + source)},
        {"progressive.jpg", made("progressive.jpg", "cjpeg", "cjpeg -progressive " + source)},
        {"preview.eps", made("preview.eps", "gm", "gm convert " + source + " ept:-")},
        {"a.wmf", metafile()},
        {"a.wpg", wordPerfectGraphic()},
        {"a.dxf", drawing()},
    };
    std::string skipped;
    for (const auto& [name, bytes] : pictures) {
        if (!bytes) {
            skipped += " " + name;
            continue;
        }
        ASSERT_TRUE(decode(*decoders, *bytes, name)) << name << " does not decode at all";
        CancelFlag flag;
        auto cancelled = decode(*decoders, *bytes, name, cancelledMeter(flag));
        ASSERT_FALSE(cancelled) << name;
        EXPECT_EQ(cancelled.error().message, "decoding cancelled") << name;
    }
    if (!skipped.empty()) std::cout << "[ skipped, tool missing ]" << skipped << "\n";
}

TEST_F(CancelledDecodes, AnEpsPreviewStopsToo) {
    if (!haveTool("gm")) GTEST_SKIP() << "GraphicsMagick absent";
    writePpm(file("source.ppm"), testPattern(120, 80));
    auto eps = made("p.eps", "gm", "gm convert " + quoted("source.ppm") + " ept:-");
    ASSERT_TRUE(eps);
    const auto withoutGhostscript = pictureDecoders(platform::systemDecoders());
    ASSERT_TRUE(decode(*withoutGhostscript, *eps, "p.eps"));
    CancelFlag flag;
    auto cancelled = decode(*withoutGhostscript, *eps, "p.eps", cancelledMeter(flag));
    ASSERT_FALSE(cancelled);
    EXPECT_EQ(cancelled.error().message, "decoding cancelled");
}

// The children of this process, as the kernel lists them.
std::string children() {
    std::string all;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream in(task.path() / "children");
        std::string some;
        std::getline(in, some);
        all += some;
    }
    return all;
}

// Cancelled from another thread while the decode runs: the work that would
// go on for a long time ends with the cancel.
Result<Image> loadCancelledMidway(const DecoderList& decoders, const std::vector<uint8_t>& bytes,
                                  const std::string& name) {
    CancelFlag flag;
    auto meter = std::make_shared<WorkMeter>(&flag, int64_t{1} << 62);
    auto decoding =
        std::async(std::launch::async, [&] { return decode(decoders, bytes, name, meter); });
    std::this_thread::sleep_for(200ms);
    flag.cancel();
    return decoding.get();
}

TEST_F(CancelledDecodes, GhostscriptBusyForeverIsKilled) {
    if (!haveTool("gs")) GTEST_SKIP() << "no Ghostscript";
    const std::string endless = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 200 100\n{} loop\n";
    const std::vector<uint8_t> bytes(endless.begin(), endless.end());
    auto result = loadCancelledMidway(*decoders, bytes, "endless.eps");
    ASSERT_FALSE(result);
    // Not "EPS rendering timed out": the end came with the cancel.
    EXPECT_EQ(result.error().message, "decoding cancelled");
    EXPECT_EQ(children(), "") << "Ghostscript outlived its decode";
}

TEST_F(CancelledDecodes, ADrawingOfEndlessArraysStopsBetweenCells) {
    auto result = loadCancelledMidway(*decoders, endlessArrays(), "arrays.dxf");
    ASSERT_FALSE(result);
    EXPECT_TRUE(result.error().message == "decoding cancelled" ||
                result.error().message == "drawing too complex to render")
        << result.error().message;
}

}  // namespace
}  // namespace pictavo::imaging::testing
