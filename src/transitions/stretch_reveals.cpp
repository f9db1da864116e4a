// The whole image scaled into a rectangle that grows from an edge, a corner,
// a centre line or the centre, until it fills the screen. The sizes are the
// screen's, measured afresh at each start the way start-up measures them; in
// a box smaller than the screen the drawing is clipped to the box.

#include "common/numbers.h"
#include "state/screen_pixels.h"
#include "transitions/effects.h"

namespace pictavo::transitions {

namespace {

struct ScreenFrame {
    double Ws = 0;
    double Hs = 0;
    double r = 0;  // Hs / Ws, for the effects that keep the screen's shape
};

ScreenFrame measureScreen(const TransitionContext& c) {
    const ScreenPixels pixels = screenPixelsOf(c.screen());
    ScreenFrame frame;
    frame.Ws = pixels.width;
    frame.Hs = pixels.height;
    // On a screen without width the division fails and r keeps 0.
    if (pixels.width != 0) frame.r = frame.Hs / frame.Ws;
    return frame;
}

// Whatever the last step was, the slide ends complete.
void drawWhole(TransitionContext& c, const ScreenFrame& f) {
    c.stretchDraw(0, 0, f.Ws, f.Hs);
}

}  // namespace

void StretchFromCentre(TransitionContext& c, [[maybe_unused]] int16_t ignored, int16_t s,
                       int16_t d) {
    const ScreenFrame f = measureScreen(c);
    for (int i : countedLoop(1, toInt16(f.Ws / 2), toInt16(s / 2.0))) {
        c.stretchDraw(f.Ws / 2 - i, f.Hs / 2 - i * f.r, 2 * i, 2 * i * f.r);
        c.TransitionDelay(d);
    }
    drawWhole(c, f);
}

void StretchOpenVertical(TransitionContext& c, [[maybe_unused]] int16_t s, int16_t d) {
    const ScreenFrame f = measureScreen(c);
    for (int i : countedLoop(1, toInt16(f.Hs / 2), 5)) {
        c.stretchDraw(0, f.Hs / 2 - i, f.Ws, 2 * i);
        c.TransitionDelay(d);
    }
    drawWhole(c, f);
}

void StretchOpenHorizontal(TransitionContext& c, [[maybe_unused]] int16_t s, int16_t d) {
    const ScreenFrame f = measureScreen(c);
    for (int i : countedLoop(1, toInt16(f.Ws / 2), 5)) {
        c.stretchDraw(f.Ws / 2 - i, 0, 2 * i, f.Hs);
        c.TransitionDelay(d);
    }
    drawWhole(c, f);
}

void StretchFromLeft(TransitionContext& c, int16_t s, int16_t d) {
    const ScreenFrame f = measureScreen(c);
    for (int i : countedLoop(1, toInt16(f.Ws), s)) {
        c.stretchDraw(0, 0, i, f.Hs);
        c.TransitionDelay(d);
    }
    drawWhole(c, f);
}

void StretchFromRight(TransitionContext& c, int16_t s, int16_t d) {
    const ScreenFrame f = measureScreen(c);
    for (int i : countedLoop(1, toInt16(f.Ws), s)) {
        c.stretchDraw(f.Ws - i, 0, i, f.Hs);
        c.TransitionDelay(d);
    }
    drawWhole(c, f);
}

void StretchFromTop(TransitionContext& c, int16_t s, int16_t d) {
    const ScreenFrame f = measureScreen(c);
    for (int i : countedLoop(1, toInt16(f.Hs), s)) {
        c.stretchDraw(0, 0, f.Ws, i);
        c.TransitionDelay(d);
    }
    drawWhole(c, f);
}

void StretchFromBottom(TransitionContext& c, int16_t s, int16_t d) {
    const ScreenFrame f = measureScreen(c);
    for (int i : countedLoop(1, toInt16(f.Hs), s)) {
        c.stretchDraw(0, f.Hs - i, f.Ws, i);
        c.TransitionDelay(d);
    }
    drawWhole(c, f);
}

void StretchFromTopLeft(TransitionContext& c, int16_t s, int16_t d) {
    const ScreenFrame f = measureScreen(c);
    for (int i : countedLoop(1, toInt16(f.Ws), s)) {
        c.stretchDraw(0, 0, i, i * f.r);
        c.TransitionDelay(d);
    }
    drawWhole(c, f);
}

void StretchFromTopRight(TransitionContext& c, int16_t s, int16_t d) {
    const ScreenFrame f = measureScreen(c);
    for (int i : countedLoop(1, toInt16(f.Ws), s)) {
        c.stretchDraw(f.Ws - i, 0, i, i * f.r);
        c.TransitionDelay(d);
    }
    drawWhole(c, f);
}

void StretchFromBottomLeft(TransitionContext& c, [[maybe_unused]] int16_t ignored, int16_t s,
                           int16_t d) {
    const ScreenFrame f = measureScreen(c);
    for (int i : countedLoop(1, toInt16(f.Ws), s)) {
        c.stretchDraw(0, f.Hs - i * f.r, i, i * f.r);
        c.TransitionDelay(d);
    }
    drawWhole(c, f);
}

void StretchFromBottomRight(TransitionContext& c, int16_t s, int16_t d) {
    const ScreenFrame f = measureScreen(c);
    for (int i : countedLoop(1, toInt16(f.Ws), s)) {
        c.stretchDraw(f.Ws - i, f.Hs - i * f.r, i, i * f.r);
        c.TransitionDelay(d);
    }
    drawWhole(c, f);
}

}  // namespace pictavo::transitions
