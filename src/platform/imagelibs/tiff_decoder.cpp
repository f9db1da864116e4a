#include "platform/imagelibs/tiff_decoder.h"

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

namespace pictavo::platform {

namespace {

using imaging::Image;
using imaging::Pixel;

// libtiff may not take more than this in one allocation (strip and tile
// buffers), so that a forged file cannot exhaust memory.
constexpr tmsize_t maxLibraryAllocation = tmsize_t{256} << 20;
// Rows are fetched in bands of whole strips or tiles, no bigger than this
// unless one strip is.
constexpr size_t bandBytes = size_t{32} << 20;

struct MemoryFile {
    std::span<const uint8_t> bytes;
    uint64_t position = 0;
    std::string lastError;
};

MemoryFile& fileOf(thandle_t handle) {
    return *static_cast<MemoryFile*>(handle);
}

tmsize_t readFile(thandle_t handle, void* out, tmsize_t count) {
    MemoryFile& file = fileOf(handle);
    if (count <= 0 || file.position >= file.bytes.size()) return 0;
    const auto n =
        std::min<uint64_t>(static_cast<uint64_t>(count), file.bytes.size() - file.position);
    std::memcpy(out, file.bytes.data() + file.position, n);
    file.position += n;
    return static_cast<tmsize_t>(n);
}

tmsize_t refuseWrite(thandle_t, void*, tmsize_t) {
    return 0;
}

toff_t seekFile(thandle_t handle, toff_t offset, int whence) {
    MemoryFile& file = fileOf(handle);
    uint64_t base = 0;
    if (whence == SEEK_CUR) base = file.position;
    if (whence == SEEK_END) base = file.bytes.size();
    // libtiff passes negative offsets as their two's complement.
    file.position = base + offset;
    return file.position;
}

int closeFile(thandle_t) {
    return 0;
}
toff_t fileSize(thandle_t handle) {
    return fileOf(handle).bytes.size();
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
    static_cast<MemoryFile*>(user)->lastError = message;
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
    explicit TiffReader(const imaging::DecodeRequest& request) : request_(request) {
        file_.bytes = request.bytes;
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
        return makeError(std::string("cannot read TIFF file: ") +
                         (file_.lastError.empty() ? what : file_.lastError));
    }
    bool open();
    int bandRows() const;
    bool readBands();
    int sourceBits() const;

    const imaging::DecodeRequest& request_;
    MemoryFile file_;
    TIFF* tiff_ = nullptr;
    TIFFRGBAImage rgba_{};
    bool rgbaStarted_ = false;
    std::optional<imaging::UprightWriter> writer_;
};

bool TiffReader::open() {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (options == nullptr) return false;
    TIFFOpenOptionsSetErrorHandlerExtR(options, keepLastError, &file_);
    TIFFOpenOptionsSetWarningHandlerExtR(options, ignoreWarning, nullptr);
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, maxLibraryAllocation);
    // "m": read through the procedures, never from a mapping of our bytes.
    tiff_ = TIFFClientOpenExt(handleName.data(), "rm", &file_, readFile, refuseWrite, seekFile,
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
    if (auto size = imaging::checkPictureSize(width, height); !size) return size.error();

    char message[1024] = "";
    if (!TIFFRGBAImageOK(tiff_, message) || !TIFFRGBAImageBegin(&rgba_, tiff_, 1, message)) {
        return makeError(std::string("cannot read TIFF file: ") + message);
    }
    rgbaStarted_ = true;
    uint16_t orientationTag = ORIENTATION_TOPLEFT;
    TIFFGetFieldDefaulted(tiff_, TIFFTAG_ORIENTATION, &orientationTag);
    const auto orientation = imaging::orientationFromTag(orientationTag);
    // libtiff only mirrors for the turned orientations; the rows are taken
    // as stored and turned here.
    rgba_.orientation = ORIENTATION_TOPLEFT;
    rgba_.req_orientation = ORIENTATION_TOPLEFT;

    const int w = static_cast<int>(width);
    const int h = static_cast<int>(height);
    if (request_.centreCrop) {
        const bool swap = imaging::swapsSides(orientation);
        writer_.emplace(orientation, w, h,
                        imaging::centredWindow(swap ? h : w, swap ? w : h, request_.targetWidth,
                                               request_.targetHeight));
    } else {
        writer_.emplace(orientation, w, h);
    }
    if (!readBands()) {
        if (request_.work->stopped()) return request_.work->stopError();
        return failure("damaged picture data");
    }
    Image image = writer_->take();
    image.sourceBits = sourceBits();
    return image;
}

// Bands start and end on strip or tile boundaries, so that no strip is
// decoded twice.
int TiffReader::bandRows() const {
    uint32_t unit = 0;
    if (TIFFIsTiled(tiff_)) {
        TIFFGetField(tiff_, TIFFTAG_TILELENGTH, &unit);
    } else {
        TIFFGetFieldDefaulted(tiff_, TIFFTAG_ROWSPERSTRIP, &unit);
    }
    const auto height = static_cast<uint32_t>(rgba_.height);
    unit = std::clamp<uint32_t>(unit, 1, height);
    const uint32_t budget = static_cast<uint32_t>(bandBytes / (sizeof(uint32_t) * rgba_.width));
    const uint32_t units = std::max<uint32_t>(budget / unit, 1);
    return static_cast<int>(std::min<uint64_t>(uint64_t{units} * unit, height));
}

bool TiffReader::readBands() {
    const imaging::Rect stored = writer_->storedWindow();
    const int band = bandRows();
    const auto width = static_cast<size_t>(rgba_.width);
    // Left unfilled: libtiff writes every pixel of each band it reads.
    const auto raster =
        std::make_unique_for_overwrite<uint32_t[]>(width * static_cast<size_t>(band));
    std::vector<Pixel> row(width);
    const int end = stored.y + stored.height;
    for (int y = stored.y - stored.y % band; y < end; y += band) {
        if (request_.work->stopped()) return false;
        const int rows = std::min(band, static_cast<int>(rgba_.height) - y);
        rgba_.row_offset = y;
        rgba_.col_offset = 0;
        if (!TIFFRGBAImageGet(&rgba_, raster.get(), rgba_.width, static_cast<uint32_t>(rows)))
            return false;
        for (int r = std::max(0, stored.y - y); r < rows && y + r < end; ++r) {
            const uint32_t* in = raster.get() + static_cast<size_t>(r) * width;
            std::transform(in, in + width, row.begin(), fromRaster);
            writer_->writeRow(y + r, 0, row);
        }
    }
    return true;
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
