#include "transitions/canvas.h"

#include <optional>

#include "common/numbers.h"

namespace pictavo::transitions {

namespace {

// Every drawing call goes through here: the one rounding rule.
std::optional<int32_t> atTheCall(double value) {
    return tryInt32(value);
}

}  // namespace

void Canvas::transfer(double dx, double dy, double w, double h, double sx, double sy) {
    auto x = atTheCall(dx), y = atTheCall(dy), width = atTheCall(w), height = atTheCall(h);
    auto fromX = atTheCall(sx), fromY = atTheCall(sy);
    if (!x || !y || !width || !height || !fromX || !fromY) return;
    if (trace_) trace_->copy(*x, *y, *width, *height, *fromX, *fromY);
    picture2_.copyFrom(picture1_, *x, *y, *width, *height, *fromX, *fromY);
}

void Canvas::copy(double x, double y, double w, double h) {
    transfer(x, y, w, h, x, y);
}

void Canvas::copyBand(double sx, double sy, double x, double y, double w, double h) {
    transfer(x, y, w, h, sx, sy);
}

void Canvas::drawAt(double x, double y) {
    transfer(x, y, W1(), H1(), 0, 0);
}

void Canvas::stretchDraw(double x, double y, double w, double h, int imageWidth, int imageHeight) {
    auto dx = atTheCall(x), dy = atTheCall(y), width = atTheCall(w), height = atTheCall(h);
    if (!dx || !dy || !width || !height) return;
    if (trace_) trace_->stretch(*dx, *dy, *width, *height);
    picture2_.stretchFrom(picture1_, 0, 0, imageWidth, imageHeight, *dx, *dy, *width, *height);
}

}  // namespace pictavo::transitions
