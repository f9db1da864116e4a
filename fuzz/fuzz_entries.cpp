#include "fuzz_entries.h"

#include <memory>
#include <utility>

#include "imaging/decoders/bmp.h"
#include "imaging/decoders/dcx.h"
#include "imaging/decoders/dxf.h"
#include "imaging/decoders/eps.h"
#include "imaging/decoders/gem_img.h"
#include "imaging/decoders/pcx.h"
#include "imaging/decoders/photo_cd.h"
#include "imaging/decoders/tga.h"
#include "imaging/decoders/utah_rle.h"
#include "imaging/decoders/wmf.h"
#include "imaging/decoders/wpg.h"
#include "imaging/work_meter.h"

namespace pictavo::fuzz {
namespace {

using imaging::Decoder;
using imaging::DecodeRequest;
using imaging::Target;
using imaging::WorkMeter;

// Whole, and as the show asks: scaled as the rows come, and a window.
template <std::unique_ptr<Decoder> (*make)()>
Outcomes rasterEntry(std::span<const uint8_t> bytes) {
    static const auto decoder = make();
    (void)decoder->sniff(bytes, "");
    Outcomes outcomes;
    for (const Target& target : {Target::whole(), Target::stretch(40, 30), Target::centre(40, 30)})
        outcomes.push_back(decoder->decode({bytes, "", target}));
    return outcomes;
}

// A fortieth of a picture's allowance: every path a full one reaches (and
// its stop) comes sooner, so a run tries many more inputs.
WorkMeter smallAllowance() {
    return WorkMeter(nullptr, imaging::kDefaultWorkUnits / 40);
}

// As the show draws a drawing: at a smaller scale, or only a window of it.
Target shownTarget(std::span<const uint8_t> bytes) {
    return bytes.size() % 2 == 0 ? Target::stretch(64, 48) : Target::centre(64, 48);
}

Outcomes dxfEntry(std::span<const uint8_t> bytes) {
    WorkMeter work = smallAllowance();
    Outcomes outcomes;
    outcomes.push_back(imaging::decodeDxf(bytes, 256, 256, work));
    return outcomes;
}

Outcomes wmfEntry(std::span<const uint8_t> bytes) {
    WorkMeter work = smallAllowance();
    WorkMeter shown = smallAllowance();
    Outcomes outcomes;
    outcomes.push_back(imaging::decodeWmf(bytes, 256, 256, work));
    outcomes.push_back(imaging::decodeWmf(bytes, shownTarget(bytes), shown));
    return outcomes;
}

Outcomes wpgEntry(std::span<const uint8_t> bytes) {
    WorkMeter work = smallAllowance();
    WorkMeter shown = smallAllowance();
    Outcomes outcomes;
    outcomes.push_back(imaging::decodeWpg(bytes, work));
    outcomes.push_back(imaging::decodeWpg(bytes, shown, shownTarget(bytes)));
    return outcomes;
}

// Without Ghostscript: the preview and the header's reading only.
Outcomes epsEntry(std::span<const uint8_t> bytes) {
    static const auto decoder = imaging::makeEpsDecoder(nullptr, nullptr);
    (void)decoder->sniff(bytes, "fuzz.eps");
    Outcomes outcomes;
    outcomes.push_back(decoder->decode({bytes, "fuzz.eps"}));
    outcomes.push_back(decoder->decode({bytes, "fuzz.eps", Target::stretch(64, 48)}));
    return outcomes;
}

Outcomes gemImgEntry(std::span<const uint8_t> bytes) {
    static const auto decoder = imaging::makeGemImgDecoder();
    Outcomes outcomes;
    if (decoder->sniff(bytes, "fuzz.img") == imaging::Confidence::None) return outcomes;
    for (const Target& target : {Target::whole(), Target::stretch(40, 30)})
        outcomes.push_back(decoder->decode({bytes, "fuzz.img", target}));
    return outcomes;
}

Outcomes photoCdEntry(std::span<const uint8_t> bytes) {
    static const auto decoder = imaging::makePhotoCdDecoder();
    Outcomes outcomes;
    for (int width : {0, 100, 300})
        outcomes.push_back(
            decoder->decode({bytes, "fuzz.pcd", Target::stretch(width, width * 2 / 3)}));
    return outcomes;
}

constexpr std::pair<std::string_view, FuzzEntry> kEntries[] = {
    {"bmp", rasterEntry<imaging::makeBmpDecoder>},
    {"dcx", rasterEntry<imaging::makeDcxDecoder>},
    {"pcx", rasterEntry<imaging::makePcxDecoder>},
    {"tga", rasterEntry<imaging::makeTgaDecoder>},
    {"utah_rle", rasterEntry<imaging::makeUtahRleDecoder>},
    {"dxf", dxfEntry},
    {"wmf", wmfEntry},
    {"wpg", wpgEntry},
    {"eps", epsEntry},
    {"gem_img", gemImgEntry},
    {"photo_cd", photoCdEntry},
};

}  // namespace

FuzzEntry fuzzEntry(std::string_view format) {
    for (const auto& [name, entry] : kEntries)
        if (name == format) return entry;
    return nullptr;
}

}  // namespace pictavo::fuzz
