#pragma once
// What an effect routine works with while it runs: the drawing calls, the
// pause, the saver's values (Speed, ImageWidth, ImageHeight, the random
// generator) and the screen. One is made for every Transition call and
// lives on the stack, so a transition started from inside a pause (a timer
// tick) shares nothing with the one it interrupted.

#include <cstdint>

#include "platform/screen.h"
#include "state/saver_state.h"
#include "transitions/canvas.h"
#include "transitions/pacing.h"

namespace pictavo::transitions {

class TransitionContext {
  public:
    TransitionContext(Canvas& canvas, Pacing& pacing, SaverState& state,
                      const platform::Screen& screen)
        : canvas_(canvas), pacing_(pacing), state_(state), screen_(screen) {}

    int W1() const { return canvas_.W1(); }
    int H1() const { return canvas_.H1(); }
    int W2() const { return canvas_.W2(); }
    int H2() const { return canvas_.H2(); }

    void copy(double x, double y, double w, double h) { canvas_.copy(x, y, w, h); }
    void copyBand(double sx, double sy, double x, double y, double w, double h) {
        canvas_.copyBand(sx, sy, x, y, w, h);
    }
    void drawAt(double x, double y) { canvas_.drawAt(x, y); }
    void stretchDraw(double x, double y, double w, double h) {
        canvas_.stretchDraw(x, y, w, h, state_.ImageWidth, state_.ImageHeight);
    }
    // Each step is shown before the pause that follows it.
    void TransitionDelay(int16_t units) {
        canvas_.present();
        pacing_.TransitionDelay(units);
    }

    SaverState& state() { return state_; }
    const platform::Screen& screen() const { return screen_; }

  private:
    Canvas& canvas_;
    Pacing& pacing_;
    SaverState& state_;
    const platform::Screen& screen_;
};

}  // namespace pictavo::transitions
