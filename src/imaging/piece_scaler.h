#pragma once
// A picture scaled to its output size from pieces that come in any order:
// the passes of an interlaced picture, the tiles of a tiled one. Every
// source pixel adds its share of the area-averaging (or bilinear) filter of
// resample() to the output pixels it falls in, so memory is the output's
// sums, whatever the picture's size. The sums are kept in floating point,
// so a pixel may differ from resample()'s two rounded passes by a level.

#include <span>
#include <vector>

#include "imaging/image.h"
#include "imaging/orientation.h"

namespace pictavo::imaging {

class PieceScaler {
  public:
    // As RowScaler: the stored size, its turn, the upright output size.
    PieceScaler(Orientation orientation, int storedWidth, int storedHeight, int outputWidth,
                int outputHeight);

    // Pixels of stored row storedY laid on black, the first at column
    // storedX and the next step columns further each.
    void addPiece(int storedY, int storedX, std::span<const Pixel> pixels, int step);

    Image finish();

  private:
    // For each source position along one upright axis: the output
    // positions it adds to and its weight in each.
    struct Shares {
        std::vector<int32_t> start;
        std::vector<int32_t> output;
        std::vector<float> weight;
    };
    static Shares sharesOf(int source, int output);
    void addToLine(int line, int first, int last, bool lineIsRow, float weight);

    Orientation orientation_;
    int storedWidth_;
    int storedHeight_;
    int outputWidth_;
    int outputHeight_;
    Shares x_;
    Shares y_;
    std::vector<float> sums_;     // three per output pixel
    std::vector<float> partial_;  // three per output position along the piece
};

}  // namespace pictavo::imaging
