#pragma once
// DCX: several PCX pages in one file, as fax programs wrote them. The
// slide shows the first page.

#include <memory>

#include "imaging/decoder.h"

namespace pictavo::imaging {

std::unique_ptr<Decoder> makeDcxDecoder();

}  // namespace pictavo::imaging
