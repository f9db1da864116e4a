#pragma once
// A picture scaled to its output size while it is decoded, from its rows as
// the file stores them: memory is the output and a few lines of sums,
// whatever the picture's size. The filter, its tables and the order of its
// two passes are those of resample(), and the stored picture's turn is
// undone on the way, so the result has exactly the pixels of the picture
// decoded whole, turned upright and resampled.

#include <cstdint>
#include <vector>

#include "imaging/image.h"
#include "imaging/orientation.h"
#include "imaging/scale_taps.h"

namespace pictavo::imaging {

class RowScaler {
  public:
    // storedWidth x storedHeight as the decoder delivers it, turned upright by
    // orientation, scaled to outputWidth x outputHeight (upright). The output
    // is allocated here: the caller checks its size first.
    RowScaler(Orientation orientation, int storedWidth, int storedHeight, int outputWidth,
              int outputHeight);

    // Stored row storedY, storedWidth pixels laid on black. Every row once,
    // in any order; rows in the file's order keep only a few lines open.
    void addRow(int storedY, const Pixel* row);
    // A stored row of one colour, without its pixels.
    void addFlatRow(int storedY, Pixel colour);
    bool hasRow(int storedY) const { return arrived_[static_cast<size_t>(storedY)]; }

    // The scaled picture; rows never added count as flat rows of fill.
    Image finish(Pixel fill);

  private:
    // For each stored row, the output lines it adds to and with what weight.
    struct Contribution {
        int32_t line;
        int32_t weight;
    };
    void addSums(int line, const uint8_t* bytes, int32_t weight);
    void lineDone(int line);
    void placeLine(int line, const uint8_t* bytes);
    const uint8_t* uprightAlong(const Pixel* row);
    int32_t* sumsOf(int line);

    StoredAxes axes_;
    int storedWidth_;
    int storedHeight_;
    Taps along_;   // the axis along a stored row, in upright order
    Taps across_;  // the axis of the stored rows, in upright order
    bool alongFirst_;
    size_t sumWidth_;  // int32 sums per open line: four per pixel
    std::vector<int32_t> contributionStart_;
    std::vector<Contribution> contributions_;
    std::vector<int32_t> remaining_;  // rows each output line still waits for
    std::vector<int32_t> flat_;       // four sums per line from flat rows
    std::vector<int32_t> open_;       // index into sums_, or -1
    std::vector<std::vector<int32_t>> sums_;
    std::vector<int32_t> freeSums_;
    std::vector<bool> arrived_;
    std::vector<Pixel> reversed_;
    std::vector<uint8_t> filtered_;
    std::vector<uint8_t> line_;
    Image output_;
};

}  // namespace pictavo::imaging
