#pragma once
// Decoding a file with one of our decoders, the way the tests need it.

#include <filesystem>
#include <string>

#include "common/result.h"
#include "imaging/decoder.h"
#include "reference_images.h"

namespace pictavo::imaging::testing {

inline Result<Image> decodeWith(const Decoder& decoder, const std::vector<uint8_t>& bytes,
                                const std::string& name = "") {
    return decoder.decode(DecodeRequest{bytes, name});
}

inline Result<Image> decodeFile(const Decoder& decoder, const std::filesystem::path& path) {
    return decodeWith(decoder, readBytes(path), path.filename().string());
}

}  // namespace pictavo::imaging::testing
