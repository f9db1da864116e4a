// Strips of a fixed width running in from one edge, or two fronts running
// apart from the middle or towards each other.

#include "common/numbers.h"
#include "transitions/effects.h"

namespace pictavo::transitions {

void WipeDown(TransitionContext& c, int16_t s, int16_t d) {
    // The last strip starts at or below H2 - s and is clipped or empty.
    for (int y = 0; y <= c.H2(); y += s) {
        c.copy(0, y, c.W1(), s);
        c.TransitionDelay(d);
    }
}

void WipeUp(TransitionContext& c, int16_t s, int16_t d) {
    const int n = intFloor(c.H1() / static_cast<double>(s) + 0.5);
    // Starts below the picture (the first strip shows nothing) and ends above it.
    int y = c.H2();
    for ([[maybe_unused]] int step : countedLoop(1, n + 2)) {
        c.copy(0, y, c.W1(), s);
        c.TransitionDelay(d);
        y -= s;
    }
}

// The strip count is rounded, not rounded up: up to s / 2 columns at the
// right edge stay uncovered by the wipe itself.
void WipeRight(TransitionContext& c, int16_t s, int16_t d) {
    const int n = toInt16(c.W1() / static_cast<double>(s));
    for (int i : countedLoop(0, n - 1)) {
        c.copy(s * i, 0, s, c.H1());
        c.TransitionDelay(d);
    }
}

void WipeLeft(TransitionContext& c, int16_t s, int16_t d) {
    const int n = toInt16(c.W1() / static_cast<double>(s));
    for (int i : countedLoop(n - 1, 0, -1)) {
        c.copy(s * i, 0, s, c.H1());
        c.TransitionDelay(d);
    }
}

void CentreOutRows(TransitionContext& c, int16_t s, int16_t d) {
    double a = intFloor(c.H2() / 2.0);
    double b = a;
    // Until both fronts are out: the lower below the bottom, the upper above the top.
    while (a <= c.H2() || b >= -s) {
        c.copy(0, a, c.W1(), s);
        c.copy(0, b, c.W1(), s);
        a += s;
        b -= s;
        c.TransitionDelay(d);
    }
}

void EdgesInRows(TransitionContext& c, int16_t s, int16_t d) {
    // The first two strips lie just outside the picture and show nothing.
    int a = -s;
    int b = c.H2();
    while (a < c.H2() / 2.0 || b > c.H2() / 2.0) {
        c.copy(0, a, c.W1(), s);
        c.copy(0, b, c.W1(), s);
        a += s;
        b -= s;
        c.TransitionDelay(d);
    }
}

void EdgesInColumns(TransitionContext& c, int16_t s, int16_t d) {
    int a = 0;
    int b = toInt16(c.W1());
    // The fronts cross by one strip before this ends.
    while (a <= c.W2() / 2.0 + s || b >= c.W2() / 2.0 - s) {
        c.copy(a, 0, s, c.H1());
        c.copy(b, 0, s, c.H1());
        a += s;
        b -= s;
        c.TransitionDelay(d);
    }
}

void CentreOutColumns(TransitionContext& c, int16_t s, int16_t d) {
    int a = toInt16(c.W2() / 2.0);
    int b = a;
    while (a <= c.W2() + s || b >= -s) {
        c.copy(a, 0, s, c.H1());
        c.copy(b, 0, s, c.H1());
        a += s;
        b -= s;
        c.TransitionDelay(d);
    }
}

}  // namespace pictavo::transitions
