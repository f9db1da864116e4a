#include "adapters/imagelibs/png_decoder.h"

#include <png.h>

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "imaging/alpha.h"
#include "imaging/limits.h"
#include "imaging/orientation.h"
#include "imaging/picture_sink.h"
#include "imaging/source_reader.h"

namespace pictavo::platform {

namespace {

using imaging::Image;
using imaging::Pixel;

// libpng reports a fatal error through this callback, which must not
// return: it jumps back into PngReader::read with the message kept here.
struct ErrorState {
    std::jmp_buf jump;
    char message[256];
    bool sizeRefused;  // the header's size is beyond the limits we set
};

[[noreturn]] void exitWithError(png_structp png, png_const_charp message) {
    auto* errors = static_cast<ErrorState*>(png_get_error_ptr(png));
    std::snprintf(errors->message, sizeof errors->message, "%s", message);
    std::longjmp(errors->jump, 1);
}

// Warnings are not printed; one that refuses the picture's size is kept,
// since the error that follows says only "Invalid IHDR data".
void noteWarning(png_structp png, png_const_charp message) {
    if (std::strstr(message, "exceeds user limit") != nullptr)
        static_cast<ErrorState*>(png_get_error_ptr(png))->sizeRefused = true;
}

// What libpng reads from: the file, and the meter of the decode.
struct PngInput {
    imaging::SourceReader* file;
    const imaging::WorkMeter* work;
};

// Called after every row (of every pass): a decode nobody wants any more
// stops there, as a fatal error would.
void rowRead(png_structp png, png_uint_32, int) {
    const auto* input = static_cast<const PngInput*>(png_get_io_ptr(png));
    if (input->work->stopped()) png_error(png, "decoding cancelled");
}

// The file, read a piece at a time as libpng asks for it.
void readFromFile(png_structp png, png_bytep out, size_t count) {
    auto* file = static_cast<PngInput*>(png_get_io_ptr(png))->file;
    const auto bytes = file->take(count);
    if (file->failed()) {
        // Copied first: the jump out of png_error skips every destructor.
        char message[256];
        std::snprintf(message, sizeof message, "%s", file->failure().message.c_str());
        png_error(png, message);
    }
    std::memcpy(out, bytes.data(), count);
}

// Decodes one picture. Everything that lives across a libpng call is a
// member or trivially destructible, so that the jump out of the error
// callback skips no destructor.
class PngReader {
  public:
    explicit PngReader(const imaging::DecodeRequest& request)
        : request_(request), file_(request), reader_(*file_), input_{&reader_, request.work.get()} {
        errors_.message[0] = '\0';
        errors_.sizeRefused = false;
    }
    ~PngReader() {
        if (png_ != nullptr) png_destroy_read_struct(&png_, &info_, nullptr);
    }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    Result<Image> read();

  private:
    bool start();
    bool sizeAcceptable();
    Error sizeFromHeader() const;
    void setTransforms();
    bool openSink();
    void readPasses();
    void readRows();

    const imaging::DecodeRequest& request_;
    imaging::RequestFile file_;
    imaging::SourceReader reader_;
    PngInput input_;
    ErrorState errors_{};
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int sourceBits_ = 24;
    bool interlaced_ = false;
    std::string sizeError_;
    std::optional<imaging::PictureSink> sink_;
    std::vector<Pixel> row_;
};

Result<Image> PngReader::read() {
    if (setjmp(errors_.jump) != 0) {
        if (request_.work->stopped()) return request_.work->stopError();
        if (std::strcmp(errors_.message, "file is truncated") == 0)
            return makeError(errors_.message);
        if (errors_.sizeRefused) return sizeFromHeader();
        return makeError(std::string("cannot read PNG file: ") + errors_.message);
    }
    if (!start()) return makeError("cannot read PNG file: out of memory");
    png_read_info(png_, info_);
    if (!sizeAcceptable()) return makeError(sizeError_);
    setTransforms();
    if (png_get_rowbytes(png_, info_) != static_cast<size_t>(width_) * sizeof(Pixel)) {
        return makeError("cannot read PNG file: unexpected row layout");
    }
    if (!openSink()) return makeError(sizeError_);
    if (interlaced_) {
        readPasses();
    } else {
        readRows();
    }
    Image image = sink_->take();
    image.sourceBits = sourceBits_;
    return image;
}

// The chunks libpng knows but the slide has no use for: texts, the colour
// profile, suggested palettes, EXIF. Each may inflate to megabytes (a file
// of a hundred compressed texts once took 776 MB); they are stepped over
// unread, as are chunks libpng does not know.
constexpr png_byte kUnusedChunks[] = "tEXt\0zTXt\0iTXt\0iCCP\0sPLT\0eXIf";

// What one chunk libpng keeps may take: a palette and its transparency
// take at most a few kilobytes.
constexpr png_alloc_size_t kMaxChunkBytes = 1 << 20;

bool PngReader::start() {
    png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, &errors_, exitWithError, noteWarning);
    if (png_ == nullptr) return false;
    info_ = png_create_info_struct(png_);
    if (info_ == nullptr) return false;
    png_set_read_fn(png_, &input_, readFromFile);
    png_set_read_status_fn(png_, rowRead);
    png_set_keep_unknown_chunks(png_, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
    png_set_keep_unknown_chunks(png_, PNG_HANDLE_CHUNK_NEVER, kUnusedChunks,
                                static_cast<int>(sizeof kUnusedChunks / 5));
    png_set_chunk_malloc_max(png_, kMaxChunkBytes);
    // Sizes beyond ours (the show's or a whole decode's) are refused as
    // libpng reads the header.
    const auto side = static_cast<png_uint_32>(
        request_.target.bounded() ? imaging::kMaxStagedSide : imaging::kMaxPictureSide);
    png_set_user_limits(png_, side, side);
    return true;
}

// Why a size libpng refused is refused, in the words every decoder uses:
// the size is read from the header (IHDR), which comes first in the file.
Error PngReader::sizeFromHeader() const {
    const auto& bytes = request_.bytes;
    auto word = [&](size_t at) {
        return uint32_t{bytes[at]} << 24 | uint32_t{bytes[at + 1]} << 16 |
               uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
    };
    if (bytes.size() >= 24) {
        if (auto size = imaging::checkPictureSize(request_.target, word(16), word(20)); !size)
            return size.error();
    }
    return makeError("cannot read PNG file: bad header");
}

bool PngReader::sizeAcceptable() {
    width_ = static_cast<int>(std::min<png_uint_32>(png_get_image_width(png_, info_), INT32_MAX));
    height_ = static_cast<int>(std::min<png_uint_32>(png_get_image_height(png_, info_), INT32_MAX));
    auto size = imaging::checkPictureSize(request_.target, width_, height_);
    if (!size) sizeError_ = size.error().message;
    return size.ok();
}

// Whatever the file holds comes out as 8-bit B, G, R, A in memory (the
// byte order of a Pixel on a little-endian machine).
void PngReader::setTransforms() {
    const int colourType = png_get_color_type(png_, info_);
    const int depth = png_get_bit_depth(png_, info_);
    const bool grey = (colourType & PNG_COLOR_MASK_COLOR) == 0;
    const bool palette = colourType == PNG_COLOR_TYPE_PALETTE;
    sourceBits_ = palette || grey ? depth : std::min(3 * depth, 24);

    if (palette) png_set_palette_to_rgb(png_);
    if (grey && depth < 8) png_set_expand_gray_1_2_4_to_8(png_);
    const bool transparency = png_get_valid(png_, info_, PNG_INFO_tRNS) != 0;
    if (transparency) png_set_tRNS_to_alpha(png_);
    if (depth == 16) png_set_scale_16(png_);
    if (grey) png_set_gray_to_rgb(png_);
    const bool alpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0 || transparency;
    if constexpr (std::endian::native == std::endian::little) {
        png_set_bgr(png_);
        if (!alpha) png_set_filler(png_, 0xFF, PNG_FILLER_AFTER);
    } else {
        png_set_swap_alpha(png_);
        if (!alpha) png_set_filler(png_, 0xFF, PNG_FILLER_BEFORE);
    }
    // The passes of an interlaced picture are read as they come, each pixel
    // once, not gathered into the whole picture first.
    interlaced_ = png_get_interlace_type(png_, info_) != PNG_INTERLACE_NONE;
    png_read_update_info(png_, info_);
}

bool PngReader::openSink() {
    imaging::PictureSink::Layout layout;
    layout.storedWidth = width_;
    layout.storedHeight = height_;
    layout.arrival =
        interlaced_ ? imaging::PictureSink::Arrival::Pieces : imaging::PictureSink::Arrival::Rows;
    auto sink = imaging::PictureSink::open(request_.target, layout);
    if (!sink) {
        sizeError_ = sink.error().message;
        return false;
    }
    sink_.emplace(std::move(sink).value());
    row_.resize(static_cast<size_t>(width_));
    return true;
}

// Adam7: seven passes over the whole picture, each a grid of its own. The
// library reads them in turn; where it is tells where each pixel lies.
void PngReader::readPasses() {
    int rows = 0;
    for (int pass = 0; pass < 7; ++pass) {
        if (PNG_PASS_COLS(width_, pass) > 0) rows += static_cast<int>(PNG_PASS_ROWS(height_, pass));
    }
    // The last pass holds every other row whole: for a centred picture,
    // once it is below the window nothing more is needed.
    const imaging::Rect window = sink_->storedWindow();
    constexpr int kLastPass = 6;
    for (int i = 0; i < rows; ++i) {
        const int pass = png_get_current_pass_number(png_);
        const auto passRow = static_cast<int>(png_get_current_row_number(png_));
        const auto y = static_cast<int>(PNG_ROW_FROM_PASS_ROW(passRow, pass));
        if (pass == kLastPass && y >= window.y + window.height) break;
        png_read_row(png_, reinterpret_cast<png_bytep>(row_.data()), nullptr);
        const auto columns = static_cast<size_t>(PNG_PASS_COLS(width_, pass));
        const std::span<Pixel> pixels(row_.data(), columns);
        imaging::layOnBlack(pixels);
        sink_->writeRow(y, static_cast<int>(PNG_PASS_START_COL(pass)), pixels,
                        1 << PNG_PASS_COL_SHIFT(pass));
    }
}

// Rows come one after another: for a centred picture those below the
// window are never decoded and those outside it are not kept.
void PngReader::readRows() {
    const imaging::Rect window = sink_->storedWindow();
    for (int y = 0; y < window.y + window.height; ++y) {
        Pixel* direct = sink_->directRow(y);
        Pixel* target = direct != nullptr ? direct : row_.data();
        png_read_row(png_, reinterpret_cast<png_bytep>(target), nullptr);
        if (y < window.y) continue;
        imaging::layOnBlack({target, static_cast<size_t>(width_)});
        if (direct == nullptr) sink_->writeRow(y, 0, row_);
    }
}

class PngDecoder final : public imaging::Decoder {
  public:
    std::string_view name() const override { return "PNG"; }

    imaging::Confidence sniff(std::span<const uint8_t> bytes, std::string_view) const override {
        const bool signature = bytes.size() >= 8 && png_sig_cmp(bytes.data(), 0, 8) == 0;
        return signature ? imaging::Confidence::Strong : imaging::Confidence::None;
    }

    bool readsInPieces() const override { return true; }

    Result<Image> decode(const imaging::DecodeRequest& request) const override {
        PngReader reader(request);
        return reader.read();
    }
};

}  // namespace

std::unique_ptr<imaging::Decoder> makePngDecoder() {
    return std::make_unique<PngDecoder>();
}

}  // namespace pictavo::platform
