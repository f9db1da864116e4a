#include "imaging/decoders/own_decoders.h"

#include "imaging/decoders/bmp.h"
#include "imaging/decoders/dcx.h"
#include "imaging/decoders/dxf.h"
#include "imaging/decoders/gem_img.h"
#include "imaging/decoders/pcx.h"
#include "imaging/decoders/photo_cd.h"
#include "imaging/decoders/tga.h"
#include "imaging/decoders/utah_rle.h"
#include "imaging/decoders/wmf.h"
#include "imaging/decoders/wpg.h"

namespace pictavo::imaging {

DecoderList ownDecoders() {
    DecoderList decoders;
    decoders.push_back(makeBmpDecoder());
    decoders.push_back(makeDcxDecoder());
    decoders.push_back(makePcxDecoder());
    decoders.push_back(makeTgaDecoder());
    decoders.push_back(makeUtahRleDecoder());
    decoders.push_back(makeGemImgDecoder());
    decoders.push_back(makePhotoCdDecoder());
    decoders.push_back(makeWmfDecoder());
    decoders.push_back(makeWpgDecoder());
    decoders.push_back(makeDxfDecoder());
    return decoders;
}

}  // namespace pictavo::imaging
