#pragma once
// The metafile's object table: pens, brushes, fonts, palettes and regions
// the records create, select and delete by index.

#include <cstddef>
#include <vector>

#include "imaging/decoders/lowest_free_slots.h"
#include "imaging/decoders/wmf_params.h"
#include "imaging/decoders/wmf_state.h"

namespace pictavo::imaging::wmf {

struct GdiObject {
    enum class Kind { Free, Pen, Brush, Font, Palette, Region };
    Kind kind = Kind::Free;
    PenState pen;
    BrushState brush;
    FontState font;
    std::vector<Pixel> palette;
    Rects region;
};

class ObjectTable {
  public:
    // The object takes the lowest free index, as Windows gives them; a full
    // table drops it.
    void add(GdiObject object);
    void remove(size_t index);
    // Nothing for a free or unknown index.
    const GdiObject* find(size_t index) const;
    // Nothing unless the index holds an object of that kind.
    const GdiObject* find(size_t index, GdiObject::Kind kind) const;

  private:
    std::vector<GdiObject> objects_;  // up to the highest index in use
    LowestFreeSlots freeSlots_;
};

// Objects as their creating records describe them.
GdiObject readPen(const Params& p);
GdiObject readBrush(const Params& p);
GdiObject readFont(const Params& p);
GdiObject readPalette(const Params& p);
GdiObject readRegion(const Params& p);

}  // namespace pictavo::imaging::wmf
