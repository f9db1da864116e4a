#pragma once
// The decoders of our own, shared by every build, for the formats no
// platform library reads for us.

#include "imaging/decoder.h"

namespace pictavo::imaging {

DecoderList ownDecoders();

}  // namespace pictavo::imaging
