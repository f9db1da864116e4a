// Blocks copied along anti-diagonals (upper right to lower left), one
// diagonal per pause, in two or four phases. Both bounds come from the width
// of Picture2, the vertical one too: on a landscape picture the walks run on
// below the bottom edge, where their copies show nothing but their pauses
// still count, and on a portrait picture they stop short of the bottom,
// which the closing copy brings on screen.

#include "transitions/effects.h"

namespace pictavo::transitions {

namespace {

class DiagonalWalker {
  public:
    DiagonalWalker(TransitionContext& c, int w, int h, int16_t d, int stride)
        : xmax(c.W2() - w), ymax(c.W2() - h), c_(c), w_(w), h_(h), d_(d), stride_(stride) {}

    // One diagonal from (x, y) down to the left, every stride-th block while
    // x >= xlo and y <= ymax, then the pause.
    void walk(int x, int y, int xlo = 0) {
        while (x >= xlo && y <= ymax) {
            c_.copy(x, y, w_, h_);
            x -= stride_ * h_;
            y += stride_ * w_;
        }
        c_.TransitionDelay(d_);
    }

    // The bounds; DiagonalInterlace moves them out half way.
    int xmax;
    int ymax;

  private:
    TransitionContext& c_;
    int w_;
    int h_;
    int16_t d_;
    int stride_;
};

}  // namespace

// The diagonals starting on the top edge, then those starting on the right
// edge (whose first is the last of the top edge again).
void DiagonalSweep(TransitionContext& c, int16_t w, int16_t h, int16_t d) {
    DiagonalWalker walker(c, w, h, d, 1);
    for (int x0 = 0; x0 <= walker.xmax; x0 += h) walker.walk(x0, 0);
    for (int y0 = 0; y0 <= walker.ymax; y0 += w) walker.walk(walker.xmax, y0);
}

// Every other diagonal, then the ones between with both bounds moved out to
// W2, so the last phase starts its walks on x = W2, just outside.
void DiagonalInterlace(TransitionContext& c, int16_t w, int16_t h, int16_t d) {
    DiagonalWalker walker(c, w, h, d, 1);
    for (int x0 = 0; x0 <= walker.xmax; x0 += 2 * h) walker.walk(x0, 0);
    for (int y0 = w; y0 <= walker.ymax; y0 += 2 * w) walker.walk(walker.xmax, y0);
    walker.xmax = c.W2();
    walker.ymax = c.W2();
    for (int x0 = w; x0 <= walker.xmax; x0 += 2 * h) walker.walk(x0, 0);
    for (int y0 = h; y0 <= walker.ymax; y0 += 2 * w) walker.walk(walker.xmax, y0);
}

// Every other block of each diagonal, then the blocks between, shifted one
// block down (third phase) or right (fourth).
void DiagonalChecker(TransitionContext& c, int16_t size, int16_t d) {
    const int w = size;
    const int h = size;
    DiagonalWalker walker(c, w, h, d, 2);
    for (int x0 = 0; x0 <= walker.xmax; x0 += h) walker.walk(x0, 0);
    for (int y0 = 0; y0 <= walker.ymax; y0 += w) walker.walk(walker.xmax, y0);
    for (int x0 = 0; x0 <= walker.xmax; x0 += h) walker.walk(x0, h);
    for (int y0 = 0; y0 <= walker.ymax; y0 += w) walker.walk(walker.xmax + w, y0);
}

// As DiagonalChecker, but the second half sweeps back from the lower right
// to the upper left.
void DiagonalCheckerReturn(TransitionContext& c, int16_t size, int16_t d) {
    const int w = size;
    const int h = size;
    DiagonalWalker walker(c, w, h, d, 2);
    for (int x0 = 0; x0 <= walker.xmax; x0 += h) walker.walk(x0, 0);
    for (int y0 = 0; y0 <= walker.ymax; y0 += w) walker.walk(walker.xmax, y0);
    for (int y0 = walker.ymax; y0 >= -2 * w; y0 -= w) walker.walk(walker.xmax + w, y0);
    for (int x0 = walker.xmax; x0 >= -h; x0 -= h) walker.walk(x0, h, -w);
}

}  // namespace pictavo::transitions
