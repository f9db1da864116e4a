// The whole new slide moves in over the old one; the old one is covered,
// never moved.

#include "common/numbers.h"
#include "transitions/effects.h"

namespace pictavo::transitions {

// The vertical slides step by whole pixels; SlideFromBottom therefore ends
// at y = H2 - s x p, above 0 when H2 is not a multiple of s (8 on 768 rows).
void SlideFromTop(TransitionContext& c, int16_t s, int16_t d) {
    const int p = intFloor(c.H2() / static_cast<double>(s) + 0.5);
    for (int i : countedLoop(s, 0, -1)) {
        c.drawAt(0, -i * p);
        c.TransitionDelay(d);
    }
}

void SlideFromBottom(TransitionContext& c, int16_t s, int16_t d) {
    const int p = intFloor(c.H2() / static_cast<double>(s) + 0.5);
    for (int i : countedLoop(0, s)) {
        c.drawAt(0, c.H2() - i * p);
        c.TransitionDelay(d);
    }
}

// The horizontal and diagonal slides keep exact steps and end at (0, 0).
void SlideFromLeft(TransitionContext& c, int16_t s, int16_t d) {
    const double p = c.W1() / static_cast<double>(s);
    for (int i : countedLoop(0, s)) {
        c.drawAt(-c.W1() + i * p, 0);
        c.TransitionDelay(d);
    }
}

void SlideFromRight(TransitionContext& c, int16_t s, int16_t d) {
    const double p = c.W1() / static_cast<double>(s);
    for (int i : countedLoop(0, s)) {
        c.drawAt(c.W1() - i * p, 0);
        c.TransitionDelay(d);
    }
}

void SlideFromTopLeft(TransitionContext& c, int16_t s, int16_t d) {
    const double p = c.W1() / static_cast<double>(s);
    const double q = c.H1() / static_cast<double>(s);
    for (int i : countedLoop(0, s)) {
        c.drawAt(-c.W1() + i * p, -c.H1() + i * q);
        c.TransitionDelay(d);
    }
}

void SlideFromBottomLeft(TransitionContext& c, int16_t s, int16_t d) {
    const double p = c.W1() / static_cast<double>(s);
    const double q = c.H1() / static_cast<double>(s);
    for (int i : countedLoop(0, s)) {
        c.drawAt(-c.W1() + i * p, c.H1() - i * q);
        c.TransitionDelay(d);
    }
}

}  // namespace pictavo::transitions
