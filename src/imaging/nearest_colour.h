#pragma once
// Exact nearest-colour search in a palette, fast enough for millions of
// pixels: colour space is cut into 32 x 32 x 32 cells, and each cell keeps
// (once first asked) only the palette entries that can be nearest to some
// colour inside it.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "imaging/image.h"

namespace pictavo::imaging {

class NearestColour {
  public:
    explicit NearestColour(std::span<const Pixel> palette);

    // Index of the palette entry nearest to (r, g, b) in plain RGB distance;
    // of equally near entries, the first.
    int find(int r, int g, int b);

  private:
    // A palette entry as a cell keeps it, so a search reads one run of memory.
    struct Candidate {
        int16_t r, g, b;
        uint16_t index;
    };

    std::span<const Candidate> candidates(int cell);

    std::vector<std::array<int, 3>> colours_;
    std::vector<int32_t> cellStart_;  // into candidates_, -1 until computed
    std::vector<uint16_t> cellCount_;
    std::vector<Candidate> candidates_;
};

}  // namespace pictavo::imaging
