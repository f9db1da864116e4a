#pragma once
// What the caller will do with a picture, so that a decoder keeps no more of
// it than that needs. The slide show never shows more than a screen: a
// stretched slide is the picture scaled to the screen, a centred one only
// the screen-sized middle of it, the preview the picture fitted into a box.
// Asked for one of those, a decoder delivers it directly, whatever the
// picture's own size; only the tools ask for the whole picture.

#include <cstdint>
#include <optional>

#include "common/result.h"

namespace pictavo::imaging {

enum class Fit {
    Whole,    // every pixel at the picture's own size
    AtLeast,  // any size the format gives cheaply that still covers the target
    Stretch,  // exactly the target's size; the picture's shape is not kept
    Box,      // the largest size of the picture's own shape inside the target
    Centre,   // the picture's own size, but only the target-sized window centred on it
};

struct Target {
    Fit fit = Fit::Whole;
    int width = 0;
    int height = 0;

    static Target whole() { return {}; }
    static Target atLeast(int w, int h) { return {Fit::AtLeast, w, h}; }
    static Target stretch(int w, int h) { return {Fit::Stretch, w, h}; }
    static Target box(int w, int h) { return {Fit::Box, w, h}; }
    static Target centre(int w, int h) { return {Fit::Centre, w, h}; }

    bool given() const { return fit != Fit::Whole && width > 0 && height > 0; }
    // Whether the decoded picture is no bigger than the target whatever the
    // picture's own size: such a decode takes pictures up to the staging
    // caps (imaging/limits.h).
    bool bounded() const { return given() && fit != Fit::AtLeast; }
    // Whether any size at or above the target will do before the final scaling.
    bool scales() const {
        return given() && (fit == Fit::AtLeast || fit == Fit::Stretch || fit == Fit::Box);
    }
    bool operator==(const Target&) const = default;
};

struct PixelSize {
    int width = 0;
    int height = 0;
    bool operator==(const PixelSize&) const = default;
};

// The size a picture of width x height takes in a box, keeping its shape.
std::optional<PixelSize> fitIntoBox(int width, int height, int boxWidth, int boxHeight);

// The size the picture is delivered at, for a whole upright picture of
// width x height: the picture's own size, the target's, or the fitted one.
// For AtLeast the caller's cheap scale decides; this gives the picture's size.
PixelSize deliveredSize(const Target& target, int width, int height);

// The size a cheaply reduced scale (a JPEG's DCT scale, a Photo CD's
// resolution) must still cover for the picture to be scaled from it without
// losing detail; 0 x 0 when no reduced scale will do (Whole, Centre).
PixelSize coverSize(const Target& target, int width, int height);

// The caps a picture of that size must pass for this target: those of a
// whole picture, or the staging caps for a bounded one.
Result<void> checkPictureSize(const Target& target, int64_t width, int64_t height);

}  // namespace pictavo::imaging
