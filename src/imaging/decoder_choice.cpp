#include "imaging/decoder_choice.h"

#include <algorithm>
#include <new>
#include <vector>

#include "common/text.h"
#include "imaging/alpha.h"
#include "imaging/errors.h"
#include "imaging/resample.h"

namespace pictavo::imaging {

namespace {

bool claimsExtension(const Decoder& decoder, std::string_view extension) {
    if (extension.empty()) return false;
    const auto known = decoder.extensions();
    return std::find(known.begin(), known.end(), extension) != known.end();
}

}  // namespace

std::string lowerCaseExtension(std::string_view fileName) {
    const size_t dot = fileName.find_last_of('.');
    const size_t separator = fileName.find_last_of("/\\");
    if (dot == std::string_view::npos || (separator != std::string_view::npos && dot < separator)) {
        return {};
    }
    return toLowerAscii(fileName.substr(dot + 1));
}

const Decoder* pickDecoder(const DecoderList& decoders, std::span<const uint8_t> bytes,
                           std::string_view fileName) {
    const std::string extension = lowerCaseExtension(fileName);
    const Decoder* best = nullptr;
    int bestRank = 0;
    for (const auto& decoder : decoders) {
        const auto confidence = decoder->sniff(bytes, fileName);
        if (confidence == Confidence::None) continue;
        // Confidence first, the extension second; the list's order keeps
        // earlier decoders ahead of later ones that rank the same.
        const int rank =
            2 * static_cast<int>(confidence) + (claimsExtension(*decoder, extension) ? 1 : 0);
        if (rank > bestRank) {
            best = decoder.get();
            bestRank = rank;
        }
    }
    return best;
}

namespace {

// A decoder that wants the whole file gets it, within its limit.
Result<Image> decodeWhole(const Decoder& decoder, const DecodeRequest& request) {
    if (request.source == nullptr || request.source->size() == request.bytes.size())
        return decoder.decode(request);
    const uint64_t size = request.source->size();
    if (size > decoder.largestWholeFile(request.bytes)) return fileTooLarge(size);
    std::vector<uint8_t> whole;
    try {
        whole.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        return makeError("not enough memory");
    }
    if (auto read = readExactly(*request.source, 0, whole); !read) return read.error();
    DecodeRequest wholeRequest = request;
    wholeRequest.bytes = whole;
    wholeRequest.source = nullptr;
    return decoder.decode(wholeRequest);
}

// A decoder that cannot scale as it decodes (a drawing drawn at a size at
// or above the target, a platform's decoder) gave more than the target:
// scaled here, laid on black first as any picture is before it is scaled.
Result<Image> scaledToTarget(Result<Image> image, const Target& target) {
    if (!image || !target.bounded() || target.fit == Fit::Centre) return image;
    const int fullWidth = image->pictureWidth();
    const int fullHeight = image->pictureHeight();
    const PixelSize wanted = deliveredSize(target, fullWidth, fullHeight);
    if (image->width == wanted.width && image->height == wanted.height) return image;
    layOnBlack(*image);
    auto scaled = resample(*image, wanted.width, wanted.height);
    if (!scaled) return scaled.error();
    scaled->sourceBits = image->sourceBits;
    if (wanted.width != fullWidth || wanted.height != fullHeight) {
        scaled->fullWidth = fullWidth;
        scaled->fullHeight = fullHeight;
    }
    return scaled;
}

}  // namespace

Result<Image> decodePicture(const DecoderList& decoders, const DecodeRequest& request) {
    const Decoder* decoder = pickDecoder(decoders, request.bytes, request.fileName);
    if (decoder == nullptr) return unsupportedFormat();
    auto image = scaledToTarget(
        decoder->readsInPieces() ? decoder->decode(request) : decodeWhole(*decoder, request),
        request.target);
    // Whatever a decoder (ours or a platform's) returns, the rest of the
    // saver may index every pixel of it.
    if (image &&
        (image->empty() || image->pixels.size() != static_cast<size_t>(image->width) *
                                                       static_cast<size_t>(image->height))) {
        return makeError("invalid picture from the " + std::string(decoder->name()) + " decoder");
    }
    return image;
}

}  // namespace pictavo::imaging
