#pragma once
// Where a decoder puts the rows it decodes. The sink turns them upright and
// keeps what the request's target needs: the whole picture, the window a
// centred slide shows, or the picture scaled on the fly to the size it will
// be shown at, so that memory is the target plus a band of rows whatever
// the picture's own size. Decoders hand over rows as the file stores them
// (a strip, a tile, an interlaced pass, a run-length row at a time).

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "common/result.h"
#include "imaging/image.h"
#include "imaging/orientation.h"
#include "imaging/target.h"

namespace pictavo::imaging {

class RowScaler;
class PieceScaler;

class PictureSink {
  public:
    // Rows: every stored row whole, each once (or skipped as fill), in the
    // file's order. Pieces: parts of rows in any order (tiles, passes).
    enum class Arrival { Rows, Pieces };
    // OpaqueIfAllZero: an alpha channel that is zero everywhere means an
    // opaque picture (some writers leave it so), not an invisible one.
    enum class Alpha { AsStored, OpaqueIfAllZero };

    struct Layout {
        Orientation orientation = Orientation::Upright;
        // The picture as the decoder delivers it (perhaps at a reduced scale).
        int storedWidth = 0;
        int storedHeight = 0;
        // The whole upright picture at its own size; 0: the stored size.
        int fullWidth = 0;
        int fullHeight = 0;
        Arrival arrival = Arrival::Rows;
        // What pixels no row writes hold (black, or transparent).
        Pixel fill = rgb(0, 0, 0);
        Alpha alpha = Alpha::AsStored;
        // Every pixel opaque (a JPEG): nothing to lay on black.
        bool opaque = false;
    };

    // "picture too large" or "not enough memory" when the target's picture
    // cannot be had.
    static Result<PictureSink> open(const Target& target, const Layout& layout);

    PictureSink(PictureSink&&) noexcept;
    PictureSink& operator=(PictureSink&&) noexcept;
    ~PictureSink();

    // The stored rows and columns the sink keeps anything of: a decoder
    // need not decode the others.
    Rect storedWindow() const;
    // True when the picture is scaled as it comes.
    bool scaling() const { return rows_ != nullptr || pieces_ != nullptr; }

    // Where stored row storedY may be decoded straight into the picture,
    // else null: then the decoder writes the row.
    Pixel* directRow(int storedY);
    // Pixels of stored row storedY from column storedX, step columns apart.
    // With Rows arrival a scaled picture takes whole rows only.
    void writeRow(int storedY, int storedX, std::span<const Pixel> pixels, int step = 1);
    // Stored rows that hold nothing but the fill (a run-length picture's
    // skipped lines): nothing to decode or store.
    void fillRows(int storedY, int count);

    Image take();

  private:
    PictureSink() = default;
    void scaleRow(int storedY, std::span<const Pixel> pixels);

    Layout layout_;
    PixelSize full_;
    std::optional<UprightWriter> writer_;
    std::unique_ptr<RowScaler> rows_;
    // With OpaqueIfAllZero, until some alpha is seen, the rows also go here
    // as opaque: the picture if no alpha ever comes.
    std::unique_ptr<RowScaler> opaqueRows_;
    std::unique_ptr<PieceScaler> pieces_;
    std::vector<Pixel> laid_;
};

// Builds stored rows for decoders whose data runs on from row to row or
// skips rows (run-length pictures): the row being painted is kept, and goes
// to the sink whole once the decoder moves past it. A row nothing was
// painted on goes as fill, which costs nothing to scale.
class RowAssembler {
  public:
    // A painted row starts as fill; finishing, when given, is applied to
    // each painted row before it goes (a colour map, say).
    RowAssembler(PictureSink& sink, int width, int height, Pixel fill,
                 std::function<void(std::span<Pixel>)> finishing = nullptr);

    // The row being painted, width pixels; painting marks it.
    std::span<Pixel> row() {
        painted_ = true;
        return row_;
    }
    int y() const { return y_; }
    // Ends the row and goes on at row storedY (below it in the file's order);
    // rows in between hold the fill.
    void moveTo(int storedY);
    // Ends the last row.
    void finish() { moveTo(height_); }

  private:
    PictureSink& sink_;
    int height_;
    Pixel fill_;
    std::function<void(std::span<Pixel>)> finishing_;
    std::vector<Pixel> row_;
    int y_ = 0;
    bool painted_ = false;
};

}  // namespace pictavo::imaging
