#include "imaging/codec.h"

#include <algorithm>
#include <utility>

#include "imaging/alpha.h"
#include "imaging/colour_reduction.h"
#include "imaging/decoder_choice.h"
#include "imaging/decoders/eps.h"
#include "imaging/decoders/own_decoders.h"
#include "imaging/resample.h"

namespace pictavo::imaging {

namespace {

constexpr int kErrorDiffusion = 3;
constexpr int64_t kTrueColour = 16777216;
// A file up to this size is read at once; of a bigger one, this much is
// what the decoders sniff, and the rest is read as they need it.
constexpr uint64_t kHeadBytes = uint64_t{4} << 20;

int bitsFor(int count) {
    int bits = 1;
    while ((1 << bits) < count) ++bits;
    return bits;
}

std::vector<Pixel> fittedPalette(const Image& image, int count, bool keepStandard16) {
    if (!keepStandard16 || count <= 16) return adaptivePalette(image, count);
    const auto standard = standardPalette16();
    std::vector<Pixel> palette(standard.begin(), standard.end());
    for (Pixel p : adaptivePalette(image, count - 16)) {
        if (std::find(palette.begin(), palette.end(), p) == palette.end()) palette.push_back(p);
    }
    return palette;
}

}  // namespace

Codec::Codec(DecoderList platformDecoders, std::shared_ptr<const PostScriptRenderer> postScript)
    : decoders_(std::move(platformDecoders)) {
    for (auto& decoder : ownDecoders()) decoders_.push_back(std::move(decoder));
    decoders_.push_back(makeEpsDecoder(std::move(postScript), &decoders_));
}

Result<void> Codec::load(std::span<const uint8_t> bytes, std::string_view fileName,
                         const Target& target, std::shared_ptr<WorkMeter> work) {
    if (bytes.empty()) return makeError("file is empty");
    DecodeRequest request{bytes, fileName, target};
    if (work) request.work = std::move(work);
    return take(decodePicture(decoders_, request));
}

Result<void> Codec::load(const ByteSource& file, std::string_view fileName, const Target& target,
                         std::shared_ptr<WorkMeter> work) {
    const uint64_t size = file.size();
    if (size == 0) return makeError("file is empty");
    if (size > (target.bounded() ? kMaxStagedFileBytes : kMaxFileBytes)) return fileTooLarge(size);
    std::vector<uint8_t> head(static_cast<size_t>(std::min(size, kHeadBytes)));
    if (auto read = readExactly(file, 0, head); !read) return read.error();
    DecodeRequest request{head, fileName, target};
    request.source = &file;
    if (work) request.work = std::move(work);
    return take(decodePicture(decoders_, request));
}

Result<void> Codec::take(Result<Image> decoded) {
    if (!decoded) return decoded.error();
    image_ = std::move(decoded).value();
    layOnBlack(image_);
    palette_.clear();
    pending_ = {};
    return {};
}

int Codec::width() const {
    return image_.pictureWidth();
}
int Codec::height() const {
    return image_.pictureHeight();
}
int Codec::originX() const {
    return image_.originX;
}
int Codec::originY() const {
    return image_.originY;
}

int64_t Codec::colourCount() const {
    if (image_.empty()) return 0;
    if (image_.sourceBits >= 24) return kTrueColour;
    return int64_t{1} << std::max(image_.sourceBits, 1);
}

void Codec::setTargetColourCount(int64_t count) {
    targetColours_ = count;
}
int64_t Codec::targetColourCount() const {
    return targetColours_;
}

void Codec::setDither(int option) {
    dither_ = option;
}

void Codec::reduceColours(int count, bool keepStandard16, bool fitted) {
    if (count < 2 || count > 256) {
        pending_ = {};
        return;
    }
    pending_ = {count, keepStandard16, fitted};
}

void Codec::apply() {
    const Reduction reduction = std::exchange(pending_, {});
    if (reduction.count == 0 || image_.empty()) return;
    if (!reduction.fitted && reduction.count == 16) {
        const auto standard = standardPalette16();
        palette_.assign(standard.begin(), standard.end());
    } else if (!reduction.fitted && reduction.count == 256) {
        palette_ = fixedPalette256();
    } else {
        palette_ = fittedPalette(image_, reduction.count, reduction.keepStandard16);
    }
    mapToPalette(image_, palette_,
                 dither_ == kErrorDiffusion ? Dither::ErrorDiffusion : Dither::None);
    image_.sourceBits = bitsFor(reduction.count);
}

Result<void> Codec::render(int outputWidth, int outputHeight) {
    if (image_.empty()) return makeError("no picture loaded");
    auto rendered = resample(image_, outputWidth, outputHeight);
    if (!rendered) return rendered.error();
    const int sourceBits = image_.sourceBits;
    image_ = std::move(rendered).value();
    image_.sourceBits = sourceBits;
    if (!palette_.empty()) {
        mapToPalette(image_, palette_,
                     dither_ == kErrorDiffusion ? Dither::ErrorDiffusion : Dither::None);
    }
    return {};
}

const Image& Codec::image() const {
    return image_;
}

Image Codec::takeImage() {
    palette_.clear();
    pending_ = {};
    return std::exchange(image_, Image{});
}

}  // namespace pictavo::imaging
