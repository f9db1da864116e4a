#include "imaging/picture_decoding.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "imaging/alpha.h"
#include "imaging/decoder_choice.h"
#include "imaging/decoders/eps.h"
#include "imaging/decoders/own_decoders.h"
#include "imaging/limits.h"

namespace pictavo::imaging {

namespace {

constexpr int64_t kTrueColour = 16777216;
// A file up to this size is read at once; of a bigger one, this much is
// what the decoders sniff, and the rest is read as they need it.
constexpr uint64_t kHeadBytes = uint64_t{4} << 20;

Result<Image> laidOnBlack(Result<Image> decoded) {
    if (!decoded) return decoded.error();
    layOnBlack(*decoded);
    return decoded;
}

DecodeRequest decodeRequest(const PictureRequest& request, std::span<const uint8_t> bytes) {
    DecodeRequest decode{bytes, request.fileName, request.target};
    if (request.work) decode.work = request.work;
    return decode;
}

Result<Image> decodeBytes(const PictureRequest& request) {
    if (request.bytes.empty()) return makeError("file is empty");
    return laidOnBlack(decodePicture(request.decoders, decodeRequest(request, request.bytes)));
}

Result<Image> decodeFile(const PictureRequest& request, const ByteSource& file) {
    const uint64_t size = file.size();
    if (size == 0) return makeError("file is empty");
    if (size > (request.target.bounded() ? kMaxStagedFileBytes : kMaxFileBytes))
        return fileTooLarge(size);
    std::vector<uint8_t> head(static_cast<size_t>(std::min(size, kHeadBytes)));
    if (auto read = readExactly(file, 0, head); !read) return read.error();
    DecodeRequest decode = decodeRequest(request, head);
    decode.source = &file;
    return laidOnBlack(decodePicture(request.decoders, decode));
}

}  // namespace

std::shared_ptr<const DecoderList> pictureDecoders(
    DecoderList platformDecoders, std::shared_ptr<const PostScriptRenderer> postScript) {
    auto decoders = std::make_shared<DecoderList>(std::move(platformDecoders));
    for (auto& decoder : ownDecoders()) decoders->push_back(std::move(decoder));
    decoders->push_back(makeEpsDecoder(std::move(postScript), decoders.get()));
    return decoders;
}

Result<Image> decodePicture(const PictureRequest& request) {
    return request.file ? decodeFile(request, *request.file) : decodeBytes(request);
}

int64_t colourCount(const Image& image) {
    if (image.empty()) return 0;
    if (image.sourceBits >= 24) return kTrueColour;
    return int64_t{1} << std::max(image.sourceBits, 1);
}

}  // namespace pictavo::imaging
