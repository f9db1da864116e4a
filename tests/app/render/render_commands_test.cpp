#include "adapters/imagelibs/system_decoders.h"
#include "app/render/commands.h"
#include "imaging/decoders/eps.h"
#include "imaging/picture_decoding.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "slideshow/test_pictures.h"
#include "temp_folder.h"

namespace pictavo::render {
namespace {

using imaging::rgb;

RenderServices ppmServices() {
    return RenderServices{testing::ppmDecoders, nullptr, nullptr};
}

std::string readAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

imaging::Image readPng(const std::filesystem::path& path) {
    const auto decoders = imaging::pictureDecoders(platform::systemDecoders());
    const std::string bytes = readAll(path);
    const std::string name = path.filename().string();
    auto decoded = imaging::decodePicture(
        {.decoders = *decoders,
         .fileName = name,
         .bytes = std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())});
    EXPECT_TRUE(decoded.ok()) << (decoded.ok() ? "" : decoded.error().message);
    return decoded.ok() ? std::move(decoded).value() : imaging::Image{};
}

struct CommandRun {
    int status = 0;
    std::string out;
    std::string err;
};

template <typename Command>
CommandRun run(Command command, const std::vector<std::string>& args,
               const RenderServices& services = ppmServices()) {
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    CommandRun result;
    result.status = command(args, services);
    result.out = ::testing::internal::GetCapturedStdout();
    result.err = ::testing::internal::GetCapturedStderr();
    return result;
}

bool oneLine(const std::string& text) {
    return !text.empty() && text.find('\n') == text.size() - 1;
}

TEST(DecodeCommand, WritesThePictureAtItsOwnSizeOnlyWhenAsked) {
    TempFolder folder;
    testing::writeFile(folder.path() / "p.tga", testing::ppmBytes(37, 21, testing::positionPixel));
    auto printed = run(runDecodeCommand, {(folder.path() / "p.tga").string()});
    EXPECT_EQ(printed.status, 0);
    EXPECT_NE(printed.out.find("37 x 21"), std::string::npos);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);

    auto png = folder.path() / "p.png";
    EXPECT_EQ(
        run(runDecodeCommand, {(folder.path() / "p.tga").string(), "--out", png.string()}).status,
        0);
    imaging::Image image = readPng(png);
    ASSERT_EQ(image.width, 37);
    ASSERT_EQ(image.height, 21);
    EXPECT_EQ(image.at(0, 0), testing::positionPixel(0, 0));
    EXPECT_EQ(image.at(36, 20), testing::positionPixel(36, 20));
}

TEST(DecodeCommand, AFileThatFailsIsExitStatusOne) {
    TempFolder folder;
    testing::writeFile(folder.path() / "bad.jpg", "junk");
    auto result = run(runDecodeCommand, {(folder.path() / "bad.jpg").string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("unsupported format"), std::string::npos);
    EXPECT_EQ(run(runDecodeCommand, {(folder.path() / "none.jpg").string()}).status, 1);
}

// Draws every PostScript program in one colour.
class FlatPostScript : public imaging::PostScriptRenderer {
  public:
    bool available() const override { return true; }
    Result<imaging::Image> renderPostScript(std::span<const uint8_t>, int width, int height,
                                            const imaging::BoundingBox&,
                                            imaging::WorkMeter&) const override {
        return imaging::Image(width, height, rgb(0, 90, 200));
    }
};

TEST(DecodeCommand, NoGhostscriptLeavesAnEpsFileToItsPreview) {
    TempFolder folder;
    const auto eps = folder.path() / "p.eps";
    testing::writeFile(eps, "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 36 18\nshowpage\n");
    RenderServices services = ppmServices();
    services.postScript = std::make_shared<FlatPostScript>();

    auto png = folder.path() / "drawn.png";
    auto drawn = run(runDecodeCommand, {eps.string(), "--out", png.string()}, services);
    ASSERT_EQ(drawn.status, 0) << drawn.err;
    imaging::Image image = readPng(png);
    ASSERT_EQ(image.width, 48);  // 36 points at 96 dpi
    EXPECT_EQ(image.at(0, 0), rgb(0, 90, 200));

    // This file has no preview, so without the interpreter there is nothing to show.
    auto previewOnly = run(runDecodeCommand, {eps.string(), "--no-ghostscript"}, services);
    EXPECT_EQ(previewOnly.status, 1);
    EXPECT_NE(previewOnly.err.find("EPS needs Ghostscript, and the file has no preview"),
              std::string::npos)
        << previewOnly.err;
}

TEST(RenderCommands, BadArgumentsAreOneLineAndExitStatusTwo) {
    const std::vector<std::pair<decltype(&runDecodeCommand), std::vector<std::string>>> cases = {
        {runDecodeCommand, {}},
        {runDecodeCommand, {"a.bmp", "b.bmp"}},
        {runDecodeCommand, {"a.bmp", "--out"}},
        {runDecodeCommand, {"a.bmp", "--colour", "x"}},
        {runDecodeCommand, {"a.bmp", "--no-ghostscript", "--no-ghostscript"}},
        {runSlideCommand, {"a.bmp"}},
        {runSlideCommand, {"a.bmp", "--size", "640by480"}},
        {runSlideCommand, {"a.bmp", "--size", "0x480"}},
        {runSlideCommand, {"a.bmp", "--size", "640x480", "--size", "640x480"}},
        {runShowCommand, {"--folder", "/tmp", "--size", "64x48"}},
        {runShowCommand, {"--folder", "/tmp", "--size", "64x48", "--seconds", "-1"}},
        {runShowCommand,
         {"--folder", "/tmp", "--size", "64x48", "--seconds", "5", "--interval", "ten"}},
        {runShowCommand, {"--folder", "/tmp", "--size", "64x48", "--seconds", "5", "extra"}},
    };
    for (const auto& [command, args] : cases) {
        auto result = run(command, args);
        EXPECT_EQ(result.status, 2) << ::testing::PrintToString(args);
        EXPECT_TRUE(oneLine(result.err)) << result.err;
    }
}

TEST(SlideCommand, StagesThePictureCentredOnTheScreen) {
    TempFolder folder;
    testing::writeFile(folder.path() / "p.bmp", testing::ppmBytes(11, 6, testing::positionPixel));
    auto png = folder.path() / "slide.png";
    auto result = run(runSlideCommand, {(folder.path() / "p.bmp").string(), "--size", "20x10",
                                        "--out", png.string()});
    EXPECT_EQ(result.status, 0) << result.err;
    imaging::Image image = readPng(png);
    ASSERT_EQ(image.width, 20);
    // (20 - 11) / 2 = 4.5 goes to 4; (10 - 6) / 2 = 2.
    EXPECT_EQ(image.at(4, 2), testing::positionPixel(0, 0));
    EXPECT_EQ(image.at(3, 2), rgb(0, 0, 0));
    EXPECT_EQ(image.at(14, 7), testing::positionPixel(10, 5));

    auto stretched = folder.path() / "stretched.png";
    EXPECT_EQ(run(runSlideCommand, {(folder.path() / "p.bmp").string(), "--size", "20x10",
                                    "--stretch", "--out", stretched.string()})
                  .status,
              0);
    EXPECT_NE(readPng(stretched).at(19, 9), rgb(0, 0, 0));
}

TEST(SlideCommand, AFailingFileWritesTheErrorLineThenExitsOne) {
    TempFolder folder;
    testing::writeFile(folder.path() / "cut.bmp", "P6\n8 8\n255\nxy");
    auto png = folder.path() / "error.png";
    auto result = run(runSlideCommand, {(folder.path() / "cut.bmp").string(), "--size", "320x200",
                                        "--out", png.string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("file is truncated"), std::string::npos);
    imaging::Image image = readPng(png);
    EXPECT_GT(std::count(image.pixels.begin(), image.pixels.end(), rgb(192, 192, 192)), 0);
}

TEST(ShowCommand, TracesEveryEventInSimulatedTimeAndSavesEachScreen) {
    TempFolder folder;
    testing::writePpm(folder.path() / "a.bmp", 8, 8, rgb(200, 0, 0));
    testing::writePpm(folder.path() / "b.bmp", 8, 8, rgb(0, 200, 0));
    testing::writeFile(folder.path() / "c.bmp", "junk");
    TempFolder output;
    auto trace = output.path() / "trace.txt";
    auto frames = output.path() / "frames";
    auto result = run(runShowCommand, {"--folder", folder.path().string(), "--size", "32x24",
                                       "--seconds", "12", "--interval", "1", "--seed", "7",
                                       "--trace", trace.string(), "--out-dir", frames.string()});
    ASSERT_EQ(result.status, 0) << result.err;

    std::ifstream lines(trace);
    std::regex event(
        R"((\d+) (slide [0-2] [abc]\.bmp|transition ([0-9]|[12][0-9]|3[01])|text unsupported format; .*c\.bmp))");
    std::string line;
    std::vector<int64_t> transitionTimes;
    while (std::getline(lines, line)) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(line, match, event)) << line;
        if (line.find(" transition ") != std::string::npos)
            transitionTimes.push_back(std::stoll(match[1]));
    }
    EXPECT_EQ(transitionTimes, (std::vector<int64_t>{1000, 3000, 5000, 7000, 9000, 11000}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(frames), {}), 6);
    EXPECT_EQ(readPng(frames / "slide-00001.png").width, 32);

    auto again = output.path() / "again.txt";
    run(runShowCommand, {"--folder", folder.path().string(), "--size", "32x24", "--seconds", "12",
                         "--interval", "1", "--seed", "7", "--trace", again.string()});
    EXPECT_EQ(readAll(trace), readAll(again));
}

TEST(ShowCommand, ANameWithANewlineStaysOnOneTraceLine) {
    TempFolder folder;
    testing::writePpm(folder.path() / "two\nlines.bmp", 8, 8, rgb(200, 0, 0));
    TempFolder output;
    auto trace = output.path() / "trace.txt";
    auto result =
        run(runShowCommand, {"--folder", folder.path().string(), "--size", "32x24", "--seconds",
                             "3", "--interval", "1", "--trace", trace.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    std::ifstream lines(trace);
    std::string line;
    int slides = 0;
    while (std::getline(lines, line)) {
        EXPECT_TRUE(
            std::regex_match(line, std::regex(R"(\d+ (slide 0 two\\nlines\.bmp|transition \d+))")))
            << line;
        slides += line.find(" slide ") != std::string::npos;
    }
    EXPECT_GT(slides, 0);
}

TEST(RenderArguments, ErrorsEchoOnlyTheStartOfALongArgument) {
    const std::string huge(100000, 'x');
    auto result = run(runShowCommand, {"--folder", ".", "--size", huge, "--seconds", "1"});
    EXPECT_NE(result.status, 0);
    EXPECT_LT(result.err.size(), 300u) << result.err.substr(0, 300);
    EXPECT_NE(result.err.find("xxx..."), std::string::npos) << result.err.substr(0, 300);
}

}  // namespace
}  // namespace pictavo::render
