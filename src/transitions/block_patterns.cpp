// The picture cut into blocks, copied one by one in a pattern. The counts
// are inclusive: the last column and row indexes address the partial or
// empty blocks at the right and bottom edges.

#include "common/numbers.h"
#include "transitions/effects.h"

namespace pictavo::transitions {

namespace {

void copyBlock(TransitionContext& c, int column, int row, int size) {
    c.copy(size * column, size * row, size, size);
}

}  // namespace

void SnakeColumns(TransitionContext& c, int16_t s, int16_t d) {
    const int columns = toInt16(c.W1() / static_cast<double>(s));
    const int rows = toInt16(c.H1() / static_cast<double>(s));
    for (int column : countedLoop(0, columns, 2)) {
        for (int row : countedLoop(0, rows)) {
            copyBlock(c, column, row, s);
            c.TransitionDelay(d);
        }
        for (int row : countedLoop(rows, 0, -1)) {
            copyBlock(c, column + 1, row, s);
            c.TransitionDelay(d);
        }
    }
}

void SnakeRows(TransitionContext& c, int16_t s, int16_t d) {
    const int columns = toInt16(c.W1() / static_cast<double>(s));
    const int rows = toInt16(c.H1() / static_cast<double>(s));
    for (int row : countedLoop(0, rows, 2)) {
        for (int column : countedLoop(0, columns)) {
            copyBlock(c, column, row, s);
            c.TransitionDelay(d);
        }
        for (int column : countedLoop(columns, 0, -1)) {
            copyBlock(c, column, row + 1, s);
            c.TransitionDelay(d);
        }
    }
}

// Even columns fill from the top while odd columns fill from the bottom, one
// row per outer cycle; the mirrored blocks of the first cycle lie on the
// bottom edge and show nothing.
void CounterColumns(TransitionContext& c, int16_t a, int16_t b, int16_t d) {
    const int columns = toInt16(c.W1() / static_cast<double>(a));
    const int rows = toInt16(c.H1() / static_cast<double>(b));
    for (int row : countedLoop(0, rows)) {
        for (int column : countedLoop(0, columns, 2)) {
            const int x = a * column;
            const int y = b * row;
            c.copy(x, y, a, b);
            c.copy(x + a, c.H2() - y, a, b);
            c.TransitionDelay(d);
        }
    }
}

void CounterRows(TransitionContext& c, int16_t a, int16_t b, int16_t d) {
    const int columns = toInt16(c.W1() / static_cast<double>(a));
    const int rows = toInt16(c.H1() / static_cast<double>(b));
    for (int column : countedLoop(0, columns)) {
        for (int row : countedLoop(0, rows, 2)) {
            const int x = a * column;
            const int y = b * row;
            c.copy(x, y, a, b);
            c.copy(c.W2() - x, y + b, a, b);
            c.TransitionDelay(d);
        }
    }
}

// Each pass starts where the one before it left the copy position: down the
// column of the last copy, along the row one block above the last one, up
// the column one block left of the last one, back along the top row. A pass
// whose start lies beyond its end copies nothing, and the bounds still move.
void SpiralBlocks(TransitionContext& c, int16_t s, int16_t d) {
    int c0 = 0;
    int r0 = 0;
    int c1 = toInt16(c.W1() / static_cast<double>(s));
    int r1 = toInt16(c.H1() / static_cast<double>(s));
    int x = 0;
    int y = 0;
    auto copyHere = [&] {
        c.copy(x, y, s, s);
        c.TransitionDelay(d);
    };
    while (c0 < c1 || r0 < r1) {
        for (int row : countedLoop(r0, r1)) {
            y = s * row;
            copyHere();
        }
        y -= s;
        for (int column : countedLoop(c0, c1)) {
            x = s * column;
            copyHere();
        }
        x -= s;
        for (int row : countedLoop(r1, r0, -1)) {
            y = s * row;
            copyHere();
        }
        for (int column : countedLoop(c1, c0, -1)) {
            x = s * column;
            copyHere();
        }
        ++c0;
        --c1;
        ++r0;
        --r1;
    }
}

// Rings of blocks |i| + |j| = k around the centre block, each drawn from its
// top vertex clockwise, one pause per ring. The rings run on past the
// corners until ring n, the larger of the exact column and row counts.
void DiamondOut(TransitionContext& c, int16_t a, int16_t b, int16_t d) {
    const double columns = c.W1() / static_cast<double>(a);
    const double rows = c.H1() / static_cast<double>(b);
    const double n = rows >= columns ? rows : columns;
    auto copyBlockAt = [&](int i, int j) {
        c.copy((i + columns / 2) * a, (j + rows / 2) * b, a, b);
    };
    // One side of ring k: k blocks from (i, j), moving by (di, dj).
    auto side = [&](int k, int i, int j, int di, int dj) {
        for ([[maybe_unused]] int block : countedLoop(1, k)) {
            copyBlockAt(i, j);
            i += di;
            j += dj;
        }
    };

    copyBlockAt(0, 0);
    int k = 1;
    for (int ring = 1; ring <= n; ++ring) {
        side(k, 0, -k, 1, 1);
        side(k, k, 0, -1, 1);
        side(k, 0, k, -1, -1);
        side(k, -k, 0, 1, -1);
        ++k;
        c.TransitionDelay(d);
    }
}

// Eight passes of random blocks, each one and a half times as many as the
// grid holds, the block size doubling from pass to pass so the last passes
// cover whatever the earlier ones missed. Two successive numbers of the
// saver's generator place each block; the products are single precision,
// like the generator's numbers.
void RandomBlocks(TransitionContext& c, int16_t s, int16_t d) {
    Random& random = c.state().random;
    int columns = toInt16(c.W2() / static_cast<double>(s));
    int rows = toInt16(c.H2() / static_cast<double>(s));
    for ([[maybe_unused]] int pass : countedLoop(1, 8)) {
        int count = 0;
        while (count < 1.5 * (columns + 1) * (rows + 1)) {
            ++count;
            const int bx = toInt16(random.next() * static_cast<float>(columns));
            const int by = toInt16(random.next() * static_cast<float>(rows));
            c.copy(bx * s, by * s, s, s);
            c.TransitionDelay(d);
        }
        if (auto doubled = tryInt16(2.0 * s)) s = *doubled;
        columns = toInt16(c.W2() / static_cast<double>(s));
        rows = toInt16(c.H2() / static_cast<double>(s));
    }
}

}  // namespace pictavo::transitions
