#pragma once
// The one table of the records a metafile may hold: what each draws, and
// what each tells about where the picture lies.

#include <cstdint>

#include "imaging/decoders/wmf_params.h"

namespace pictavo::imaging::wmf {

class Player;
class FrameFinder;

struct RecordHandler {
    uint16_t function;
    void (*draw)(Player& player, const Params& p);         // null: draws nothing
    void (*bounds)(FrameFinder& finder, const Params& p);  // null: places nothing
};

// Nothing for records that change nothing we draw or measure.
const RecordHandler* findRecord(uint16_t function);

}  // namespace pictavo::imaging::wmf
