#pragma once
// Kodak Photo CD image packs (*.pcd): the three resolutions stored without
// Huffman coding, Base (768 x 512), Base/4 and Base/16. The higher ones are
// not read; Base is what a screen of the era shows.

#include <memory>

#include "imaging/decoder.h"

namespace pictavo::imaging {

std::unique_ptr<Decoder> makePhotoCdDecoder();

}  // namespace pictavo::imaging
