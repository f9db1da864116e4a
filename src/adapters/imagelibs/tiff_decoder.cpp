#include "adapters/imagelibs/tiff_decoder.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/limits.h"
#include "imaging/orientation.h"
#include "imaging/picture_sink.h"

namespace pictavo::platform {

namespace {

using imaging::Image;
using imaging::Pixel;

// libtiff may not take more than this in one allocation (a compressed
// strip is read whole), so that a forged file cannot make it take more.
constexpr tmsize_t maxLibraryAllocation = tmsize_t{32} << 20;
// Strips and tiles are decoded whole when they are no bigger than this;
// a bigger strip is decoded a row at a time. A picture costs its own memory
// and little more, whatever its layout.
constexpr uint64_t bandBytes = uint64_t{16} << 20;

// libtiff reads where the file's offsets send it, and a forged file can
// send it to the same megabyte again and again (16,384 tiles claiming one
// block; private tags of 30 MB sharing one): what it reads is counted, and
// refused beyond a few times the file.
constexpr uint64_t kReadsPerFile = 4;
constexpr uint64_t kReadSlack = uint64_t{64} << 10;
// All that libtiff may hold at once, where the library can count it.
[[maybe_unused]] constexpr tmsize_t maxLibraryMemory = tmsize_t{128} << 20;

// The picture file as libtiff sees it: read through our source.
struct SourceFile {
    const imaging::ByteSource* source = nullptr;
    uint64_t position = 0;
    uint64_t readAllowance = 0;
    uint64_t bytesRead = 0;
    bool overRead = false;
    std::string lastError;
};

SourceFile& fileOf(thandle_t handle) {
    return *static_cast<SourceFile*>(handle);
}

// A read that fails gives nothing, as at the file's end: libtiff takes the
// count it gets back as bytes read, and -1 would make it clear the byte
// before its buffer.
tmsize_t readFile(thandle_t handle, void* out, tmsize_t count) {
    SourceFile& file = fileOf(handle);
    if (count <= 0) return 0;
    if (static_cast<uint64_t>(count) > file.readAllowance - file.bytesRead) {
        file.overRead = true;
        return 0;
    }
    file.bytesRead += static_cast<uint64_t>(count);
    auto got =
        file.source->read(file.position, {static_cast<uint8_t*>(out), static_cast<size_t>(count)});
    if (!got) {
        file.lastError = got.error().message;
        return 0;
    }
    file.position += *got;
    return static_cast<tmsize_t>(*got);
}

tmsize_t refuseWrite(thandle_t, void*, tmsize_t) {
    return 0;
}

toff_t seekFile(thandle_t handle, toff_t offset, int whence) {
    SourceFile& file = fileOf(handle);
    uint64_t base = 0;
    if (whence == SEEK_CUR) base = file.position;
    if (whence == SEEK_END) base = file.source->size();
    // libtiff passes negative offsets as their two's complement.
    file.position = base + offset;
    return file.position;
}

int closeFile(thandle_t) {
    return 0;
}
toff_t fileSize(thandle_t handle) {
    return fileOf(handle).source->size();
}
int refuseMap(thandle_t, void**, toff_t*) {
    return 0;
}
void noUnmap(thandle_t, void*, toff_t) {}

// The name libtiff puts before some of its messages.
constexpr std::string_view handleName = "picture";

// The last error is the one that made the reading fail.
int keepLastError(TIFF*, void* user, const char*, const char* format, va_list args) {
    char text[512];
    std::vsnprintf(text, sizeof text, format, args);
    std::string_view message = text;
    if (message.starts_with(handleName) && message.substr(handleName.size()).starts_with(": ")) {
        message.remove_prefix(handleName.size() + 2);
    }
    static_cast<SourceFile*>(user)->lastError = message;
    return 1;
}

int ignoreWarning(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

// libtiff's packed ABGR (red in the low byte) to 0xAARRGGBB. Alpha is
// already multiplied in, which puts transparent parts on black.
Pixel fromRaster(uint32_t abgr) {
    return imaging::rgb(static_cast<uint8_t>(TIFFGetR(abgr)), static_cast<uint8_t>(TIFFGetG(abgr)),
                        static_cast<uint8_t>(TIFFGetB(abgr)));
}

class TiffReader {
  public:
    explicit TiffReader(const imaging::DecodeRequest& request) : request_(request), file_(request) {
        source_.source = &*file_;
        source_.readAllowance = kReadsPerFile * file_->size() + kReadSlack;
    }
    ~TiffReader() {
        if (rgbaStarted_) TIFFRGBAImageEnd(&rgba_);
        if (tiff_ != nullptr) TIFFClose(tiff_);
    }
    TiffReader(const TiffReader&) = delete;
    TiffReader& operator=(const TiffReader&) = delete;

    Result<Image> read();

  private:
    Error failure(const char* what) const {
        if (source_.overRead)
            return makeError("cannot read TIFF file: its data is read over and over");
        return makeError(std::string("cannot read TIFF file: ") +
                         (source_.lastError.empty() ? what : source_.lastError));
    }
    bool open();
    Result<void> readStrips();
    Result<void> readStripsByRows();
    Result<void> readTiles();
    // The planes holding what the pixels are made of: one when the samples
    // are interleaved, else the colour planes and alpha.
    int planesRead() const;
    // Converts rows of samples (one buffer per plane when the planes are
    // separate) into pixels, rows first to first + rows of the picture,
    // columns x to x + width; the input rows are inputWidth pixels apart.
    void convert(int first, int rows, int x, int width, int inputWidth,
                 const std::vector<std::vector<uint8_t>>& planes);
    int sourceBits() const;

    const imaging::DecodeRequest& request_;
    imaging::RequestFile file_;
    SourceFile source_;
    TIFF* tiff_ = nullptr;
    TIFFRGBAImage rgba_{};
    bool rgbaStarted_ = false;
    std::optional<imaging::PictureSink> sink_;
    std::vector<uint32_t> raster_;  // libtiff's ABGR pixels of the rows converted last
    std::vector<Pixel> row_;
};

bool TiffReader::open() {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (options == nullptr) return false;
    TIFFOpenOptionsSetErrorHandlerExtR(options, keepLastError, &source_);
    TIFFOpenOptionsSetWarningHandlerExtR(options, ignoreWarning, nullptr);
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, maxLibraryAllocation);
#if TIFFLIB_VERSION >= 20230908  // libtiff 4.6
    TIFFOpenOptionsSetMaxCumulatedMemAlloc(options, maxLibraryMemory);
#endif
    // "m": read through the procedures, never from a mapping.
    tiff_ = TIFFClientOpenExt(handleName.data(), "rm", &source_, readFile, refuseWrite, seekFile,
                              closeFile, fileSize, refuseMap, noUnmap, options);
    TIFFOpenOptionsFree(options);
    return tiff_ != nullptr;
}

Result<Image> TiffReader::read() {
    if (!open()) return failure("not a TIFF file");
    uint32_t width = 0;
    uint32_t height = 0;
    TIFFGetField(tiff_, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff_, TIFFTAG_IMAGELENGTH, &height);
    if (auto size = imaging::checkPictureSize(request_.target, width, height); !size)
        return size.error();

    // libtiff's RGBA reader turns every kind of sample (palette, grey,
    // CMYK, YCbCr, Lab, 16 bits...) into pixels; we feed it the rows
    // ourselves, a strip or a tile at a time, so that it never holds more.
    char message[1024] = "";
    if (!TIFFRGBAImageOK(tiff_, message) || !TIFFRGBAImageBegin(&rgba_, tiff_, 1, message)) {
        return makeError(std::string("cannot read TIFF file: ") + message);
    }
    rgbaStarted_ = true;
    uint16_t orientationTag = ORIENTATION_TOPLEFT;
    TIFFGetFieldDefaulted(tiff_, TIFFTAG_ORIENTATION, &orientationTag);

    // Tiles come a piece of a row at a time.
    imaging::PictureSink::Layout layout;
    layout.orientation = imaging::orientationFromTag(orientationTag);
    layout.storedWidth = static_cast<int>(width);
    layout.storedHeight = static_cast<int>(height);
    layout.arrival = TIFFIsTiled(tiff_) ? imaging::PictureSink::Arrival::Pieces
                                        : imaging::PictureSink::Arrival::Rows;
    auto sink = imaging::PictureSink::open(request_.target, layout);
    if (!sink) return sink.error();
    sink_.emplace(std::move(sink).value());
    auto read = TIFFIsTiled(tiff_) ? readTiles() : readStrips();
    if (!read) return read.error();
    Image image = sink_->take();
    image.sourceBits = sourceBits();
    return image;
}

int TiffReader::planesRead() const {
    if (rgba_.isContig) return 1;
    uint16_t extra = 0;
    uint16_t* types = nullptr;
    TIFFGetFieldDefaulted(tiff_, TIFFTAG_EXTRASAMPLES, &extra, &types);
    const int colours = std::max(1, rgba_.samplesperpixel - extra);
    if (colours >= 4) return 4;  // CMYK: the fourth is black
    return std::min<int>(colours + (rgba_.alpha != 0 ? 1 : 0), rgba_.samplesperpixel);
}

void TiffReader::convert(int first, int rows, int x, int width, int inputWidth,
                         const std::vector<std::vector<uint8_t>>& planes) {
    raster_.resize(static_cast<size_t>(width) * static_cast<size_t>(rows));
    const auto fromSkew = static_cast<int32_t>(inputWidth - width);
    const auto w = static_cast<uint32_t>(width);
    const auto h = static_cast<uint32_t>(rows);
    auto plane = [&](size_t i) { return const_cast<unsigned char*>(planes[i].data()); };
    if (rgba_.isContig) {
        rgba_.put.contig(&rgba_, raster_.data(), 0, 0, w, h, fromSkew, 0, plane(0));
    } else if (planes.size() <= 2) {
        // Grey in one plane stands for all three colours; alpha may follow.
        rgba_.put.separate(&rgba_, raster_.data(), 0, 0, w, h, fromSkew, 0, plane(0), plane(0),
                           plane(0), planes.size() == 2 ? plane(1) : nullptr);
    } else {
        rgba_.put.separate(&rgba_, raster_.data(), 0, 0, w, h, fromSkew, 0, plane(0), plane(1),
                           plane(2), planes.size() == 4 ? plane(3) : nullptr);
    }
    row_.resize(static_cast<size_t>(width));
    for (int r = 0; r < rows; ++r) {
        const uint32_t* in = raster_.data() + static_cast<size_t>(r) * static_cast<size_t>(width);
        std::transform(in, in + width, row_.begin(), fromRaster);
        sink_->writeRow(first + r, x, row_);
    }
}

Result<void> TiffReader::readStrips() {
    uint32_t rowsPerStrip = 0;
    TIFFGetFieldDefaulted(tiff_, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
    const auto height = static_cast<int>(rgba_.height);
    const int perStrip = static_cast<int>(std::clamp<uint32_t>(rowsPerStrip, 1, rgba_.height));
    const auto stripBytes =
        static_cast<uint64_t>(TIFFVStripSize64(tiff_, static_cast<uint32_t>(perStrip)));
    if (stripBytes == 0) return failure("bad strips");
    const int planes = planesRead();
    const uint64_t stripPixels = uint64_t{rgba_.width} * static_cast<uint64_t>(perStrip);
    if (stripBytes * static_cast<uint64_t>(planes) > bandBytes ||
        stripPixels * sizeof(uint32_t) > bandBytes) {
        return readStripsByRows();
    }

    std::vector<std::vector<uint8_t>> buffers(static_cast<size_t>(planes),
                                              std::vector<uint8_t>(stripBytes));
    const imaging::Rect stored = sink_->storedWindow();
    const int end = stored.y + stored.height;
    const auto width = static_cast<int>(rgba_.width);
    for (int y = stored.y - stored.y % perStrip; y < end; y += perStrip) {
        if (request_.work->stopped()) return request_.work->stopError();
        const int rows = std::min(perStrip, height - y);
        for (int plane = 0; plane < planes; ++plane) {
            const uint32_t strip =
                TIFFComputeStrip(tiff_, static_cast<uint32_t>(y), static_cast<uint16_t>(plane));
            if (TIFFReadEncodedStrip(tiff_, strip, buffers[static_cast<size_t>(plane)].data(),
                                     static_cast<tmsize_t>(stripBytes)) < 0) {
                return failure("damaged picture data");
            }
        }
        convert(y, rows, 0, width, width, buffers);
    }
    return {};
}

// A strip too big to hold decoded (a whole picture in one deflated strip,
// say): libtiff decodes it a row at a time.
Result<void> TiffReader::readStripsByRows() {
    uint16_t vertical = 1;
    uint16_t horizontal = 1;
    if (rgba_.photometric == PHOTOMETRIC_YCBCR) {
        TIFFGetFieldDefaulted(tiff_, TIFFTAG_YCBCRSUBSAMPLING, &horizontal, &vertical);
    }
    // Subsampled colour comes in blocks of rows that a row at a time cannot
    // give; separate planes a row at a time would decode each strip again
    // for every row.
    if (vertical > 1) return failure("subsampled strips too large");
    const int planes = planesRead();
    if (planes > 1) return failure("strips of separate planes too large");
    const auto rowBytes = static_cast<size_t>(TIFFScanlineSize64(tiff_));
    std::vector<std::vector<uint8_t>> buffers(static_cast<size_t>(planes),
                                              std::vector<uint8_t>(rowBytes));
    const imaging::Rect stored = sink_->storedWindow();
    const auto width = static_cast<int>(rgba_.width);
    uint32_t rowsPerStrip = 0;
    TIFFGetFieldDefaulted(tiff_, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
    const int perStrip = static_cast<int>(std::clamp<uint32_t>(rowsPerStrip, 1, rgba_.height));
    // Most codecs decode a strip only from its start: the rows above the
    // window in its first strip are decoded and dropped.
    for (int y = stored.y - stored.y % perStrip; y < stored.y + stored.height; ++y) {
        if (request_.work->stopped()) return request_.work->stopError();
        for (int plane = 0; plane < planes; ++plane) {
            if (TIFFReadScanline(tiff_, buffers[static_cast<size_t>(plane)].data(),
                                 static_cast<uint32_t>(y), static_cast<uint16_t>(plane)) < 0) {
                return failure("damaged picture data");
            }
        }
        if (y >= stored.y) convert(y, 1, 0, width, width, buffers);
    }
    return {};
}

Result<void> TiffReader::readTiles() {
    uint32_t tileWidth = 0;
    uint32_t tileHeight = 0;
    TIFFGetField(tiff_, TIFFTAG_TILEWIDTH, &tileWidth);
    TIFFGetField(tiff_, TIFFTAG_TILELENGTH, &tileHeight);
    const auto tileBytes = static_cast<uint64_t>(TIFFTileSize64(tiff_));
    if (tileWidth == 0 || tileHeight == 0 || tileBytes == 0) return failure("bad tiles");

    const int planes = planesRead();
    if (tileBytes * static_cast<uint64_t>(planes) > bandBytes ||
        uint64_t{tileWidth} * tileHeight * sizeof(uint32_t) > bandBytes) {
        return failure("tiles too large");
    }
    std::vector<std::vector<uint8_t>> buffers(static_cast<size_t>(planes),
                                              std::vector<uint8_t>(tileBytes));
    const imaging::Rect stored = sink_->storedWindow();
    const auto width = static_cast<int>(rgba_.width);
    const auto height = static_cast<int>(rgba_.height);
    const auto tw = static_cast<int>(tileWidth);
    const auto th = static_cast<int>(tileHeight);
    const int end = stored.y + stored.height;
    const int right = stored.x + stored.width;
    for (int y = stored.y - stored.y % th; y < end; y += th) {
        const int rows = std::min(th, height - y);
        for (int x = stored.x - stored.x % tw; x < right; x += tw) {
            if (request_.work->stopped()) return request_.work->stopError();
            const int columns = std::min(tw, width - x);
            for (int plane = 0; plane < planes; ++plane) {
                const uint32_t tile =
                    TIFFComputeTile(tiff_, static_cast<uint32_t>(x), static_cast<uint32_t>(y), 0,
                                    static_cast<uint16_t>(plane));
                if (TIFFReadEncodedTile(tiff_, tile, buffers[static_cast<size_t>(plane)].data(),
                                        static_cast<tmsize_t>(tileBytes)) < 0) {
                    return failure("damaged picture data");
                }
            }
            // Tiles on the right and bottom edges reach past the picture.
            convert(y, rows, x, columns, tw, buffers);
        }
    }
    return {};
}

int TiffReader::sourceBits() const {
    uint16_t bits = 8;
    uint16_t samples = 1;
    uint16_t extra = 0;
    uint16_t* extraTypes = nullptr;
    TIFFGetFieldDefaulted(tiff_, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tiff_, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tiff_, TIFFTAG_EXTRASAMPLES, &extra, &extraTypes);
    const int colourSamples = std::max(1, samples - extra);
    return std::min(bits * colourSamples, 24);
}

class TiffDecoder final : public imaging::Decoder {
  public:
    std::string_view name() const override { return "TIFF"; }

    // The byte order mark and the magic number 42 (43 for BigTIFF), in
    // either byte order; the file's name plays no part.
    imaging::Confidence sniff(std::span<const uint8_t> bytes, std::string_view) const override {
        if (bytes.size() < 8) return imaging::Confidence::None;
        const bool little = bytes[0] == 'I' && bytes[1] == 'I' && bytes[3] == 0 &&
                            (bytes[2] == 42 || bytes[2] == 43);
        const bool big = bytes[0] == 'M' && bytes[1] == 'M' && bytes[2] == 0 &&
                         (bytes[3] == 42 || bytes[3] == 43);
        return little || big ? imaging::Confidence::Strong : imaging::Confidence::None;
    }

    bool readsInPieces() const override { return true; }

    Result<Image> decode(const imaging::DecodeRequest& request) const override {
        TiffReader reader(request);
        return reader.read();
    }
};

}  // namespace

std::unique_ptr<imaging::Decoder> makeTiffDecoder() {
    return std::make_unique<TiffDecoder>();
}

}  // namespace pictavo::platform
