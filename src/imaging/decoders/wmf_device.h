#pragma once
// The player of a metafile's records: a device context over a canvas, with
// its object table and saved states. The record table calls the methods
// below; each part of the drawing lives in a file of its own (shapes and
// paints, clipping and saved states, text, bitmaps).

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "imaging/decoders/wmf_objects.h"
#include "imaging/decoders/wmf_params.h"
#include "imaging/decoders/wmf_player.h"
#include "imaging/decoders/wmf_state.h"
#include "imaging/vector/path_painter.h"

namespace pictavo::imaging::wmf {

class Player {
  public:
    Player(vector::PathPainter& canvas, const Frame& window);

    Result<void> play(std::span<const uint8_t> records);

    // The state the mode and colour records set directly.
    DcState& state() { return state_; }
    vector::Point toDevice(double x, double y) const;

    // Objects (wmf_player.cpp).
    void addObject(GdiObject object);
    void deleteObject(size_t index) { objects_.remove(index); }
    void selectObject(size_t index);
    void createRegion(const Params& p);
    void createPalette(const Params& p);
    void createDibPatternBrush(const Params& p);

    // Clipping and saved states (wmf_clip.cpp).
    void save();
    void restore(int which);
    void intersectClip(const Params& p);
    void selectClipRegion(size_t index);

    // Shapes (wmf_shapes.cpp).
    void lineTo(const Params& p);
    void polyline(const Params& p, bool closed);
    void polyPolygon(const Params& p);
    void rectangle(const Params& p);
    void ellipse(const Params& p);
    void roundRect(const Params& p);
    // closing: 0 an open arc, 1 a chord, 2 a pie.
    void arcFamily(const Params& p, int closing);
    void setPixel(const Params& p);
    void fillRegion(size_t regionIndex, size_t brushIndex);

    // Text (wmf_text.cpp).
    void textOut(const Params& p);
    void extTextOut(const Params& p);

    // Bitmaps (wmf_bitmaps.cpp).
    void patBlt(const Params& p);
    void stretchDib(const Params& p);
    void dibStretchBlt(const Params& p);
    void dibBitBlt(const Params& p);
    void setDibToDevice(const Params& p);

  private:
    // The ellipse inscribed in a box, in device space: centre and radii.
    struct Ellipse {
        vector::Point centre;
        double radiusX;
        double radiusY;
    };
    // Where text goes: the origin of its baseline, its direction, its cells.
    struct TextLayout;

    double scaleX() const;
    double scaleY() const;
    vector::Point pointAt(const Params& p, size_t word) const;
    vector::Rect deviceRect(double left, double top, double right, double bottom) const;
    vector::Rect destinationBox(double x, double y, double width, double height) const;
    Ellipse ellipseIn(const Params& p, size_t boxWord) const;
    // Counts work for count points about to be built into a path.
    bool spendPoints(size_t count);
    std::vector<vector::Point> readPoints(const Params& p, size_t word, size_t count);

    // Paints (wmf_paint.cpp).
    Pixel colourOf(uint32_t ref) const;
    vector::Pen devicePen() const;
    bool drawsNothing() const { return state_.rop2 == kRop2Nop; }
    std::optional<vector::Paint> brushPaint() const;
    vector::Paint hatchPaint(const BrushState& brush) const;
    void drawShape(const vector::Path& path, bool filled);
    void strokeShape(const vector::Path& path);
    void fillDeviceRect(const vector::Rect& rect, vector::Paint paint);

    void applyClip();
    void clipToRegion(const Rects& region);
    void resetClip();

    void drawText(std::string_view bytes, vector::Point logical,
                  const std::vector<double>& advances, const vector::Rect* opaqueBox,
                  const vector::Rect* clipBox);
    std::optional<TextLayout> layOutText(const std::u32string& text, vector::Point logical,
                                         const std::vector<double>& advances);
    void drawGlyphs(const std::u32string& text, const TextLayout& layout,
                    const std::vector<double>& advances);

    int64_t bitmapRoom();
    // The pattern of a brush, its memory held on the meter (heldBytes) while
    // the brush lives; nothing for a bitmap that cannot be a pattern.
    std::shared_ptr<const vector::Tile> readPattern(std::span<const uint8_t> dib, bool indices,
                                                    int64_t& heldBytes);
    std::span<const Pixel> palette() const;
    void blit(std::span<const uint8_t> dib, bool paletteIndices, uint32_t rop, double srcX,
              double srcY, double srcWidth, double srcHeight, const vector::Rect& destination);
    void patBlt(uint32_t rop, const vector::Rect& box);

    vector::PathPainter& canvas_;
    DcState state_;
    std::vector<DcState> saved_;
    ObjectTable objects_;
};

}  // namespace pictavo::imaging::wmf
