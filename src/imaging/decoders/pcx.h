#pragma once
// ZSoft PCX: monochrome, 4- and 16-colour planar (EGA), 256-colour and
// 24-bit pictures, run-length encoded.

#include <memory>

#include "imaging/decoder.h"

namespace pictavo::imaging {

std::unique_ptr<Decoder> makePcxDecoder();

// Decodes one PCX picture, a whole file or a page of a DCX file, a line at
// a time; the 256-colour palette is looked for at the end of the file.
// It delivers what target asks for and stops between lines once work says so.
Result<Image> decodePcx(const ByteSource& file, WorkMeter& work, const Target& target = {});

}  // namespace pictavo::imaging
