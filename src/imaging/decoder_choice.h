#pragma once
// Chooses the decoder for some bytes. Content decides: every decoder sniffs
// and the surest wins (a signature beats a plausible header); the file's
// extension only settles a tie, since files are often misnamed.

#include <span>
#include <string>
#include <string_view>

#include "common/result.h"
#include "imaging/decoder.h"

namespace pictavo::imaging {

// The decoder that should read the bytes, or nullptr when none recognises them.
const Decoder* pickDecoder(const DecoderList& decoders, std::span<const uint8_t> bytes,
                           std::string_view fileName);

// Decodes with the picked decoder; "unsupported format" when there is none.
// The decoder is picked by the bytes of the request (a big file's beginning);
// one that does not read in pieces is given the whole file.
Result<Image> decodePicture(const DecoderList& decoders, const DecodeRequest& request);

// "Photo.JPG" -> "jpg"; "" when the name has no extension.
std::string lowerCaseExtension(std::string_view fileName);

}  // namespace pictavo::imaging
