#pragma once
// Encapsulated PostScript (.eps, .ept): the bounding box sets the picture's
// size (points at 96 dpi). A PostScript renderer, where the host has one,
// draws the program; without one the preview a DOS binary header carries
// (TIFF or WMF) stands in for it.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "common/result.h"
#include "imaging/decoder.h"

namespace pictavo::imaging {

// In PostScript points (1/72 inch), y growing upwards.
struct BoundingBox {
    double left = 0;
    double bottom = 0;
    double right = 0;
    double top = 0;

    double width() const { return right - left; }
    double height() const { return top - bottom; }
};

// Runs PostScript somewhere safe (on Linux: Ghostscript in a process of its own).
class PostScriptRenderer {
  public:
    virtual ~PostScriptRenderer() = default;
    // False when the interpreter is missing: the decoder falls back to previews.
    virtual bool available() const = 0;
    // Draws the program so that box fills a picture of width x height
    // pixels; gives up with work's stop error once work says to stop.
    virtual Result<Image> renderPostScript(std::span<const uint8_t> postScript, int width,
                                           int height, const BoundingBox& box,
                                           WorkMeter& work) const = 0;
};

// The parts of an EPS file.
struct EpsSections {
    std::span<const uint8_t> postScript;
    std::span<const uint8_t> wmfPreview;
    std::span<const uint8_t> tiffPreview;
};

// Splits a DOS binary header's sections out; plain PostScript is one section.
Result<EpsSections> splitEps(std::span<const uint8_t> bytes);
// %%HiResBoundingBox or %%BoundingBox, from the header or, "(atend)", the trailer.
std::optional<BoundingBox> findBoundingBox(std::span<const uint8_t> postScript);

// renderer may be null (no PostScript interpreter on this build).
// previewDecoders, when given, must outlive the decoder: the TIFF preview is
// decoded by whichever of them recognises it.
std::unique_ptr<Decoder> makeEpsDecoder(std::shared_ptr<const PostScriptRenderer> renderer,
                                        const DecoderList* previewDecoders);

}  // namespace pictavo::imaging
