// Encapsulated PostScript: Ghostscript in its own process on the sample
// files, the previews of DOS binary headers when there is no Ghostscript,
// and a file that never ends.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <string>
#include <vector>

#include "adapters/ghostscript/eps_ghostscript.h"
#include "imaging/decoders/eps.h"
#include "imaging/decoders/wmf.h"
#include "imaging/source_pictures.h"
#include "temp_folder.h"
#include "vector_test_support.h"

namespace pictavo::imaging {
namespace {

namespace fs = std::filesystem;
using platform::GhostscriptRenderer;

const fs::path kSamples = testing::samplesDirectory();

std::span<const uint8_t> view(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// TIFF previews decoded by GraphicsMagick: the library decoders are another
// part's concern, and this keeps the test to the EPS decoder's own work.
class GraphicsMagickTiff final : public Decoder {
  public:
    std::string_view name() const override { return "TIFF"; }
    Confidence sniff(std::span<const uint8_t> bytes, std::string_view) const override {
        const bool tiff =
            bytes.size() > 4 && ((bytes[0] == 'I' && bytes[1] == 'I' && bytes[2] == 42) ||
                                 (bytes[0] == 'M' && bytes[1] == 'M' && bytes[3] == 42));
        return tiff ? Confidence::Strong : Confidence::None;
    }
    Result<Image> decode(const DecodeRequest& request) const override {
        const fs::path file = folder_.path() / "preview.tif";
        testing::writeBytes(file, {request.bytes.begin(), request.bytes.end()});
        Image image = testing::readWithGraphicsMagick(file);
        if (image.empty()) return makeError("no TIFF");
        return image;
    }

  private:
    TempFolder folder_;
};

DecoderList tiffOnly() {
    DecoderList list;
    list.push_back(std::make_unique<GraphicsMagickTiff>());
    return list;
}

// A DOS binary EPS around the given PostScript and previews.
std::vector<uint8_t> dosEps(const std::string& postScript, const std::vector<uint8_t>& wmf,
                            const std::vector<uint8_t>& tiff) {
    std::vector<uint8_t> out;
    auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    const uint32_t psAt = 30;
    const auto psSize = static_cast<uint32_t>(postScript.size());
    const auto wmfSize = static_cast<uint32_t>(wmf.size());
    put32(0xC6D3D0C5);
    put32(psAt);
    put32(psSize);
    put32(wmf.empty() ? 0 : psAt + psSize);
    put32(wmfSize);
    put32(tiff.empty() ? 0 : psAt + psSize + wmfSize);
    put32(static_cast<uint32_t>(tiff.size()));
    out.push_back(0xFF);
    out.push_back(0xFF);
    out.insert(out.end(), postScript.begin(), postScript.end());
    out.insert(out.end(), wmf.begin(), wmf.end());
    out.insert(out.end(), tiff.begin(), tiff.end());
    return out;
}

const std::string kSquare = testing::kEpsSquare;

TEST(EpsBoundingBox, ReadsTheHeaderTheTrailerAndHighResolution) {
    auto box = findBoundingBox(view(kSquare));
    ASSERT_TRUE(box);
    EXPECT_DOUBLE_EQ(box->left, 100);
    EXPECT_DOUBLE_EQ(box->top, 236);
    const std::string atEnd =
        "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: (atend)\nstuff\n%%Trailer\n%%BoundingBox: 1 2 3 "
        "4\n";
    box = findBoundingBox(view(atEnd));
    ASSERT_TRUE(box);
    EXPECT_DOUBLE_EQ(box->right, 3);
    const std::string fine =
        "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\n%%HiResBoundingBox: 0 0 9.5 9.25\n";
    box = findBoundingBox(view(fine));
    ASSERT_TRUE(box);
    EXPECT_DOUBLE_EQ(box->right, 9.5);
    EXPECT_FALSE(findBoundingBox(view("%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 5 5 5 9\n")));
}

TEST(EpsDecoder, WithoutGhostscriptOrPreviewSaysSo) {
    const auto decoder = makeEpsDecoder(nullptr, nullptr);
    auto image = decoder->decode({view(kSquare), "square.eps"});
    ASSERT_FALSE(image);
    EXPECT_EQ(image.error().message, "EPS needs Ghostscript, and the file has no preview");
    const std::string noBox = "%!PS-Adobe-3.0 EPSF-3.0\nshowpage\n";
    EXPECT_EQ(decoder->decode({view(noBox), ""}).error().message,
              "invalid EPS file: no bounding box");
}

TEST(EpsDecoder, WmfPreviewStandsInAtTheBoundingBoxSize) {
    const fs::path wmf = kSamples / "wmf" / "sample2.wmf";
    if (!fs::exists(wmf)) GTEST_SKIP() << "no samples";
    const auto bytes = dosEps(kSquare, testing::readBytes(wmf), {});
    // A renderer that is not installed is the same as none.
    const auto missing = std::make_shared<GhostscriptRenderer>("no-such-ghostscript");
    EXPECT_FALSE(missing->available());
    const auto decoder = makeEpsDecoder(missing, nullptr);
    auto image = decoder->decode({bytes, "drawing.eps"});
    ASSERT_TRUE(image) << image.error().message;
    EXPECT_EQ(image->width, 96);  // 72 points
    EXPECT_EQ(image->height, 48);
    auto preview = decodeWmf(testing::readBytes(wmf));
    ASSERT_TRUE(preview);
    EXPECT_LT(testing::meanGreyDifference(*image, testing::scaleTo(*preview, 96, 48)), 8);
}

TEST(EpsDecoder, TiffPreviewOfTheSamplesStandsIn) {
    if (!fs::exists(kSamples / "eps")) GTEST_SKIP() << "no samples";
    if (!testing::haveTool("gm")) GTEST_SKIP() << "no GraphicsMagick";
    const DecoderList previews = tiffOnly();
    const auto decoder = makeEpsDecoder(nullptr, &previews);
    // 1.eps: a 72 x 48 point box with a TIFF preview.
    auto image = decoder->decode({testing::readBytes(kSamples / "eps" / "1.eps"), "1.eps"});
    ASSERT_TRUE(image) << image.error().message;
    EXPECT_EQ(image->width, 96);
    EXPECT_EQ(image->height, 64);
    EXPECT_GT(testing::inkCoverage(*image, rgb(255, 255, 255)), 0.01);
}

TEST(EpsDecoder, PreviewWrittenByGraphicsMagickStandsIn) {
    if (!testing::haveTool("gm")) GTEST_SKIP() << "no GraphicsMagick";
    TempFolder folder;
    const fs::path eps = folder.path() / "square.eps";
    testing::writeBytes(eps, {kSquare.begin(), kSquare.end()});
    const fs::path ept = folder.path() / "square.ept";
    ASSERT_TRUE(
        testing::run("gm convert '" + eps.string() + "' 'ept:" + ept.string() + "' 2>/dev/null"));
    const DecoderList previews = tiffOnly();
    const auto decoder = makeEpsDecoder(nullptr, &previews);
    auto image = decoder->decode({testing::readBytes(ept), "square.ept"});
    ASSERT_TRUE(image) << image.error().message;
    EXPECT_EQ(image->width, 96);
    EXPECT_EQ(image->height, 48);
    // Red on the left half, blue on the right.
    EXPECT_GT(red(image->at(20, 24)), 200);
    EXPECT_LT(blue(image->at(20, 24)), 60);
    EXPECT_GT(blue(image->at(76, 24)), 200);
}

class EpsThroughGhostscript : public ::testing::Test {
  protected:
    void SetUp() override {
        renderer_ = std::make_shared<GhostscriptRenderer>();
        if (!renderer_->available()) GTEST_SKIP() << "no Ghostscript";
    }
    std::shared_ptr<GhostscriptRenderer> renderer_;
};

TEST_F(EpsThroughGhostscript, DrawsTheBoundingBoxAtNinetySixDpi) {
    const auto decoder = makeEpsDecoder(renderer_, nullptr);
    auto image = decoder->decode({view(kSquare), "square.eps"});
    ASSERT_TRUE(image) << image.error().message;
    EXPECT_EQ(image->width, 96);
    EXPECT_EQ(image->height, 48);
    EXPECT_EQ(image->at(2, 2), rgb(255, 0, 0));
    EXPECT_EQ(image->at(47, 45), rgb(255, 0, 0));
    EXPECT_EQ(image->at(49, 2), rgb(0, 0, 255));
    EXPECT_EQ(image->at(93, 45), rgb(0, 0, 255));
}

TEST_F(EpsThroughGhostscript, SamplesMatchGhostscriptRunByHand) {
    if (!fs::exists(kSamples / "eps")) GTEST_SKIP() << "no samples";
    TempFolder folder;
    // The pixels are what is compared here: a machine busy with other work
    // may take longer than a slide's two seconds for the larger samples.
    auto patient = GhostscriptRenderer::kDefaultLimits;
    patient.time = std::chrono::seconds(30);
    const auto decoder =
        makeEpsDecoder(std::make_shared<GhostscriptRenderer>("gs", patient), nullptr);
    for (const char* name :
         {"1.eps", "non_zero_bb.eps", "zero_bb.eps", "pil_sample_cmyk.eps", "illu10_preview.eps"}) {
        const fs::path file = kSamples / "eps" / name;
        auto image = decoder->decode({testing::readBytes(file), name});
        ASSERT_TRUE(image) << name << ": " << image.error().message;
        const auto box = findBoundingBox(splitEps(testing::readBytes(file)).value().postScript);
        ASSERT_TRUE(box);
        EXPECT_EQ(image->width, std::lround(box->width() * 96 / 72)) << name;
        EXPECT_EQ(image->height, std::lround(box->height() * 96 / 72)) << name;
        EXPECT_GT(testing::inkCoverage(*image, rgb(255, 255, 255)), 0.001) << name;
        const fs::path reference = folder.path() / (std::string(name) + ".ppm");
        ASSERT_TRUE(
            testing::run("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=ppmraw -r96 -dEPSCrop "
                         "-dTextAlphaBits=4 -dGraphicsAlphaBits=4 -sOutputFile='" +
                         reference.string() + "' '" + file.string() + "' 2>/dev/null"));
        const Image expected = testing::readPpm(reference);
        ASSERT_FALSE(expected.empty()) << name;
        const int w = std::max(1, image->width / 4);
        const int h = std::max(1, image->height / 4);
        EXPECT_LT(testing::meanGreyDifference(testing::scaleTo(*image, w, h),
                                              testing::scaleTo(expected, w, h)),
                  4.0)
            << name;
    }
}

TEST_F(EpsThroughGhostscript, ProgramThatNeverEndsTimesOut) {
    const std::string forever =
        "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\n{ 1 pop } loop\n";
    const auto impatient = std::make_shared<GhostscriptRenderer>(
        "gs", GhostscriptRenderer::Limits{std::chrono::milliseconds(1500), uint64_t{1} << 30});
    const auto decoder = makeEpsDecoder(impatient, nullptr);
    auto image = decoder->decode({view(forever), "forever.eps"});
    ASSERT_FALSE(image);
    EXPECT_EQ(image.error().message, "EPS rendering timed out");
    // The renderer is ready for the next picture.
    auto next = decoder->decode({view(kSquare), "square.eps"});
    ASSERT_TRUE(next) << next.error().message;
    EXPECT_EQ(next->at(2, 2), rgb(255, 0, 0));
}

// Its header promises a PostScript section longer than the file, full of
// zeros: it is refused before any interpreter sees it.
TEST_F(EpsThroughGhostscript, FileThatHangsOtherReadersIsRefused) {
    const fs::path file = kSamples / "malformed" / "eps-timeout.eps";
    if (!fs::exists(file)) GTEST_SKIP() << "no samples";
    const auto decoder = makeEpsDecoder(renderer_, nullptr);
    auto image = decoder->decode({testing::readBytes(file), "eps-timeout.eps"});
    ASSERT_FALSE(image);
    EXPECT_EQ(image.error().message, "invalid EPS file: no bounding box");
}

TEST_F(EpsThroughGhostscript, BrokenPostScriptIsAnErrorNotACrash) {
    const std::string broken =
        "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\nthis is not postscript {\n";
    const auto decoder = makeEpsDecoder(renderer_, nullptr);
    auto image = decoder->decode({view(broken), "broken.eps"});
    // Ghostscript may draw an empty page or nothing at all; either way a
    // picture or an error comes back, and the saver goes on.
    if (image) {
        EXPECT_EQ(image->width, 13);
    } else {
        EXPECT_NE(image.error().message.find("EPS rendering"), std::string::npos);
    }
}

TEST(EpsDecoder, SniffsBothKinds) {
    const auto decoder = makeEpsDecoder(nullptr, nullptr);
    EXPECT_EQ(decoder->sniff(view(kSquare), ""), Confidence::Strong);
    EXPECT_EQ(decoder->sniff(dosEps(kSquare, {}, {}), ""), Confidence::Strong);
    EXPECT_EQ(decoder->sniff(view("%!PS-Adobe-3.0\n"), ""), Confidence::Weak);
    EXPECT_EQ(decoder->sniff(view("GIF89a"), ""), Confidence::None);
}

}  // namespace
}  // namespace pictavo::imaging
