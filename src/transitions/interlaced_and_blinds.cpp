// Strips taken out of order, bands that all grow at once, and the smear.

#include "common/numbers.h"
#include "transitions/effects.h"

namespace pictavo::transitions {

namespace {

// Strip i of the second pass, which runs from the end back: with an odd
// count the pass starts at strip n (the partial strip at the far edge, if
// any) and ends at strip 1, so every strip the first pass left is covered.
int returningStrip(int i, int n) {
    return n % 2 == 0 ? i : i + 1;
}

// The strip paired with strip i: the same distance from the far end.
int pairedStrip(int i, int n) {
    return n % 2 == 0 ? n - i - 1 : n - i;
}

}  // namespace

void InterlacedRows(TransitionContext& c, int16_t s, int16_t d) {
    const int n = intFloor(c.H2() / static_cast<double>(s) + 0.5);
    for (int i : countedLoop(0, n - 1, 2)) {
        c.copy(0, s * i, c.W2(), s);
        c.TransitionDelay(d);
    }
    for (int i : countedLoop(n - 1, 0, -2)) {
        c.copy(0, s * returningStrip(i, n), c.W2(), s);
        c.TransitionDelay(d);
    }
}

void InterlacedColumns(TransitionContext& c, int16_t s, int16_t d) {
    const int n = intFloor(c.W1() / static_cast<double>(s) + 0.5);
    for (int i : countedLoop(0, n - 1, 2)) {
        c.copy(s * i, 0, s, c.H1());
        c.TransitionDelay(d);
    }
    for (int i : countedLoop(n - 1, 0, -2)) {
        c.copy(s * returningStrip(i, n), 0, s, c.H1());
        c.TransitionDelay(d);
    }
}

void PairedRows(TransitionContext& c, int16_t s, int16_t d) {
    const int n = intFloor(c.H2() / static_cast<double>(s) + 0.5);
    for (int i : countedLoop(0, n - 1, 2)) {
        c.copy(0, s * i, c.W2(), s);
        c.TransitionDelay(d);
        c.copy(0, s * pairedStrip(i, n), c.W2(), s);
        c.TransitionDelay(d);
    }
}

void PairedColumns(TransitionContext& c, int16_t s, int16_t d) {
    const int n = intFloor(c.W1() / static_cast<double>(s) + 0.5);
    for (int i : countedLoop(0, n - 1, 2)) {
        c.copy(s * i, 0, s, c.H1());
        c.TransitionDelay(d);
        c.copy(s * pairedStrip(i, n), 0, s, c.H1());
        c.TransitionDelay(d);
    }
}

// s bands of height t, each growing by one row per step from its top edge.
// Rows beyond s x t are left to the closing copy.
void HorizontalBlinds(TransitionContext& c, int16_t s, int16_t d) {
    const int t = intFloor(c.H2() / static_cast<double>(s) + 0.5);
    int k = 0;
    for ([[maybe_unused]] int step : countedLoop(0, t - 1)) {
        ++k;
        for (int band : countedLoop(0, s - 1)) c.copy(0, t * band, c.W2(), k);
        c.TransitionDelay(d);
    }
}

void VerticalBlinds(TransitionContext& c, int16_t s, int16_t d) {
    const int t =
        intFloor(c.W2() / static_cast<double>(s));  // no half added: up to s - 1 columns stay
    int k = 0;
    for ([[maybe_unused]] int step : countedLoop(0, t - 1)) {
        ++k;
        for (int band : countedLoop(0, s - 1)) c.copy(t * band, 0, k, c.H2());
        c.TransitionDelay(d);
    }
}

// The band at row t x i lands in its place and is smeared over every band
// above it, so the slide is uncovered from the bottom up behind streaks.
// About m^2 / 2 copies, each with its own pause: the slowest effect.
void SmearUp(TransitionContext& c, int16_t m, int16_t d) {
    // A picture one row high gives m = 0; the division fails and t keeps 0.
    const int t = m == 0 ? 0 : toInt16(c.H1() / static_cast<double>(m));
    for (int i : countedLoop(m, 0, -1)) {
        for (int j : countedLoop(0, i)) {
            c.copyBand(0, t * i, 0, t * j, c.W1(), t);
            c.TransitionDelay(d);
        }
    }
}

}  // namespace pictavo::transitions
