#pragma once
// The metafile's object table: pens, brushes, fonts, palettes and regions
// the records create, select and delete by index. What an object holds
// (a palette, a region, a brush's pattern) counts against the picture's
// meter from before it is made until the object is deleted.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "imaging/decoders/lowest_free_slots.h"
#include "imaging/decoders/wmf_params.h"
#include "imaging/decoders/wmf_state.h"
#include "imaging/work_meter.h"

namespace pictavo::imaging::wmf {

struct GdiObject {
    enum class Kind { Free, Pen, Brush, Font, Palette, Region };
    Kind kind = Kind::Free;
    PenState pen;
    BrushState brush;
    FontState font;
    SharedPalette palette;
    Rects region;
    int64_t heldBytes = 0;  // held on the meter while the object lives
};

class ObjectTable {
  public:
    explicit ObjectTable(WorkMeter& work) : work_(work) {}

    // The object takes the lowest free index, as Windows gives them; a full
    // table drops it.
    void add(GdiObject object);
    void remove(size_t index);
    // Nothing for a free or unknown index.
    const GdiObject* find(size_t index) const;
    // Nothing unless the index holds an object of that kind.
    const GdiObject* find(size_t index, GdiObject::Kind kind) const;

  private:
    WorkMeter& work_;
    std::vector<GdiObject> objects_;  // up to the highest index in use
    LowestFreeSlots freeSlots_;
};

// Objects as their creating records describe them.
GdiObject readPen(const Params& p);
GdiObject readBrush(const Params& p);
GdiObject readFont(const Params& p);
// Nothing when work refuses the memory the object would hold.
std::optional<GdiObject> readPalette(const Params& p, WorkMeter& work);
std::optional<GdiObject> readRegion(const Params& p, WorkMeter& work);

}  // namespace pictavo::imaging::wmf
