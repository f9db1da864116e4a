#include "golden/picture_decoders.h"

#include <algorithm>
#include <memory>

#include "adapters/imagelibs/system_decoders.h"
#include "golden/golden_file.h"
#include "golden/pixel_hash.h"
#include "imaging/decoders/eps.h"
#include "imaging/decoders/own_decoders.h"

namespace pictavo::golden {

PictureDecoders::PictureDecoders() : list_(platform::systemDecoders()) {
    for (auto& decoder : imaging::ownDecoders()) list_.push_back(std::move(decoder));
    list_.push_back(imaging::makeEpsDecoder(nullptr, &list_));
}

const imaging::Decoder* PictureDecoders::named(std::string_view name) const {
    for (const auto& decoder : list_)
        if (decoder->name() == name) return decoder.get();
    return nullptr;
}

std::string PictureDecoders::label(const imaging::Decoder& decoder) const {
    const std::string_view name = decoder.name();
    if (name == "JPEG") return "JPEG(libjpeg)";
    if (name == "PNG") return "PNG(libpng)";
    if (name == "TIFF") return "TIFF(libtiff)";
    if (name == "EPS") return "EPS(preview)";
    std::string label(name);
    std::replace(label.begin(), label.end(), ' ', '-');
    return label;
}

std::string decodedValue(const Result<imaging::Image>& decoded) {
    return decoded ? hexHash(pixelHash(*decoded)) : kFailed;
}

}  // namespace pictavo::golden
