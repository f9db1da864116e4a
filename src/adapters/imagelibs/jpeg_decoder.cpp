#include "adapters/imagelibs/jpeg_decoder.h"

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "imaging/exif.h"
#include "imaging/limits.h"
#include "imaging/orientation.h"
#include "imaging/picture_sink.h"
#include "imaging/source_reader.h"
#include "imaging/work_costs.h"

namespace pictavo::platform {

namespace {

using imaging::Image;
using imaging::Orientation;
using imaging::Pixel;
using imaging::Rect;

// libjpeg reports a fatal error by calling error_exit, which must not
// return: it jumps back into JpegReader::read with the message kept here.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool endOfData;
};

[[noreturn]] void exitWithError(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
    errors->pub.format_message(cinfo, errors->message);
    std::longjmp(errors->jump, 1);
}

// A progressive file may hold any number of scans, each visiting every
// block of its components however little data it has: 3,000 empty scans
// of a big picture take a 30 KB file minutes. libjpeg-turbo's own fuzzers
// refuse more than 500 scans, and so do we.
constexpr int kMaxScans = 500;

// libjpeg reports its progress between rows, and between the scans it
// reads before the first row of a progressive picture. Each new scan is
// counted, and its blocks charged to the work meter; a decode nobody wants
// any more, or that has cost more than a picture may, jumps out there, as a
// fatal error would.
struct ProgressWatch {
    jpeg_progress_mgr pub;
    imaging::WorkMeter* work;
    ErrorManager* errors;
    int scansCharged;
};

int64_t blocksInScan(j_decompress_ptr cinfo) {
    int64_t blocks = 0;
    for (int i = 0; i < cinfo->comps_in_scan; ++i) {
        const jpeg_component_info* component = cinfo->cur_comp_info[i];
        blocks += int64_t{component->width_in_blocks} * component->height_in_blocks;
    }
    return blocks;
}

void watchProgress(j_common_ptr cinfo) {
    auto* watch = reinterpret_cast<ProgressWatch*>(cinfo->progress);
    auto* decompress = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (decompress->input_scan_number > watch->scansCharged) {
        watch->scansCharged = decompress->input_scan_number;
        if (watch->scansCharged > kMaxScans) {
            std::snprintf(watch->errors->message, sizeof watch->errors->message,
                          "more than %d scans", kMaxScans);
            std::longjmp(watch->errors->jump, 1);
        }
        (void)watch->work->spend(imaging::cost::kScanBlock * blocksInScan(decompress));
    }
    if (watch->work->stopped()) std::longjmp(watch->errors->jump, 1);
}

// Of the APP1 segments only the first EXIF block is kept (the orientation
// lies in it), at most this much of it: a file of thousands of them costs
// the time to step over them, not their memory.
constexpr size_t kMaxExifBytes = size_t{64} << 10;
constexpr uint8_t kExifSignature[6] = {'E', 'x', 'i', 'f', 0, 0};

uint8_t nextByte(j_decompress_ptr cinfo) {
    jpeg_source_mgr* source = cinfo->src;
    // Our source never suspends: at the file's end it gives an end marker.
    if (source->bytes_in_buffer == 0) (*source->fill_input_buffer)(cinfo);
    --source->bytes_in_buffer;
    return *source->next_input_byte++;
}

boolean keepFirstExif(j_decompress_ptr cinfo) {
    auto* exif = static_cast<std::vector<uint8_t>*>(cinfo->client_data);
    const int high = nextByte(cinfo);
    long left = ((high << 8) | nextByte(cinfo)) - 2;
    const bool wanted = exif->empty() && left >= static_cast<long>(sizeof kExifSignature);
    if (wanted) {
        for (size_t i = 0; i < sizeof kExifSignature; ++i, --left) exif->push_back(nextByte(cinfo));
        const bool isExif = std::equal(exif->begin(), exif->end(), kExifSignature);
        if (!isExif) exif->clear();
        for (; isExif && left > 0 && exif->size() < kMaxExifBytes; --left)
            exif->push_back(nextByte(cinfo));
    }
    if (left > 0) (*cinfo->src->skip_input_data)(cinfo, left);
    return TRUE;
}

// Warnings are not printed; running out of data is remembered, because
// libjpeg would otherwise pad the picture with grey and call it done.
void noteMessage(j_common_ptr cinfo, int level) {
    auto* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (level < 0 && errors->pub.msg_code == JWRN_JPEG_EOF) errors->endOfData = true;
}

// The file as libjpeg reads it: a piece at a time from our reader. At its
// end a fake end-of-image marker stops libjpeg, with the warning that
// marks the picture as cut short.
struct FileSource {
    jpeg_source_mgr pub;
    imaging::SourceReader* reader;
};

constexpr size_t kPieceBytes = size_t{64} << 10;
constexpr JOCTET kFakeEnd[2] = {0xFF, JPEG_EOI};

void startSource(j_decompress_ptr) {}

boolean fillSource(j_decompress_ptr cinfo) {
    auto* source = reinterpret_cast<FileSource*>(cinfo->src);
    imaging::SourceReader& reader = *source->reader;
    const size_t count = static_cast<size_t>(std::min<uint64_t>(kPieceBytes, reader.remaining()));
    const auto piece = count > 0 ? reader.take(count) : std::span<const uint8_t>{};
    if (piece.empty()) {
        WARNMS(cinfo, JWRN_JPEG_EOF);
        source->pub.next_input_byte = kFakeEnd;
        source->pub.bytes_in_buffer = sizeof kFakeEnd;
        return TRUE;
    }
    source->pub.next_input_byte = piece.data();
    source->pub.bytes_in_buffer = piece.size();
    return TRUE;
}

void skipSource(j_decompress_ptr cinfo, long count) {
    auto* source = reinterpret_cast<FileSource*>(cinfo->src);
    if (count <= 0) return;
    const auto wanted = static_cast<size_t>(count);
    if (wanted <= source->pub.bytes_in_buffer) {
        source->pub.next_input_byte += wanted;
        source->pub.bytes_in_buffer -= wanted;
        return;
    }
    source->reader->skip(wanted - source->pub.bytes_in_buffer);
    source->pub.bytes_in_buffer = 0;
}

void termSource(j_decompress_ptr) {}

// Pixel is 0xAARRGGBB in a 32-bit word: in memory B, G, R, A on a
// little-endian machine. libjpeg-turbo fills the alpha byte with 0xFF.
constexpr J_COLOR_SPACE pixelColourSpace =
    std::endian::native == std::endian::little ? JCS_EXT_BGRA : JCS_EXT_ARGB;

// Decodes one picture. Everything that lives across a libjpeg call is a
// member or trivially destructible, so that the jump out of error_exit
// skips no destructor.
class JpegReader {
  public:
    explicit JpegReader(const imaging::DecodeRequest& request)
        : request_(request), file_(request), reader_(*file_) {
        cinfo_.err = jpeg_std_error(&errors_.pub);
        errors_.pub.error_exit = exitWithError;
        errors_.pub.emit_message = noteMessage;
        errors_.message[0] = '\0';
        errors_.endOfData = false;
    }
    ~JpegReader() { jpeg_destroy_decompress(&cinfo_); }
    JpegReader(const JpegReader&) = delete;
    JpegReader& operator=(const JpegReader&) = delete;

    Result<Image> read();

  private:
    void readHeader();
    bool sizeAcceptable();
    bool chooseOutput();
    bool fitProgressive(int& eighths);
    uint64_t coefficientBytes() const;
    void readWindow();
    void readRow(int storedY, JDIMENSION firstColumn);
    Image finishedImage();

    const imaging::DecodeRequest& request_;
    imaging::RequestFile file_;
    imaging::SourceReader reader_;
    FileSource source_{};
    jpeg_decompress_struct cinfo_{};
    ErrorManager errors_{};
    ProgressWatch progress_{};
    std::vector<uint8_t> exif_;
    Orientation orientation_ = Orientation::Upright;
    bool cmyk_ = false;
    std::string sizeError_;
    std::optional<imaging::PictureSink> sink_;
    std::vector<Pixel> row_;
};

Result<Image> JpegReader::read() {
    if (setjmp(errors_.jump) != 0) {
        if (request_.work->cancelled()) return request_.work->stopError();
        if (request_.work->exhausted())
            return makeError("cannot read JPEG file: too costly to decode");
        return makeError(std::string("cannot read JPEG file: ") + errors_.message);
    }
    readHeader();
    if (!sizeAcceptable()) return makeError(sizeError_);
    if (!chooseOutput()) return makeError(sizeError_);
    jpeg_start_decompress(&cinfo_);
    readWindow();
    if (errors_.endOfData) return makeError("file is truncated");
    return finishedImage();
}

void JpegReader::readHeader() {
    jpeg_create_decompress(&cinfo_);
    progress_.pub.progress_monitor = watchProgress;
    progress_.work = request_.work.get();
    progress_.errors = &errors_;
    cinfo_.progress = &progress_.pub;
    source_.reader = &reader_;
    source_.pub.init_source = startSource;
    source_.pub.fill_input_buffer = fillSource;
    source_.pub.skip_input_data = skipSource;
    source_.pub.resync_to_restart = jpeg_resync_to_restart;
    source_.pub.term_source = termSource;
    cinfo_.src = &source_.pub;
    cinfo_.client_data = &exif_;
    jpeg_set_marker_processor(&cinfo_, JPEG_APP0 + 1, keepFirstExif);
    jpeg_read_header(&cinfo_, TRUE);
    if (!exif_.empty()) orientation_ = imaging::exifOrientation(exif_);
}

bool JpegReader::sizeAcceptable() {
    auto size = imaging::checkPictureSize(request_.target, cinfo_.image_width, cinfo_.image_height);
    if (!size) sizeError_ = size.error().message;
    return size.ok();
}

// The smallest scale of n/8 whose output still covers the target (a
// reduced scale costs less time and memory than resampling a full decode).
int scaleEighths(JDIMENSION width, JDIMENSION height, int targetWidth, int targetHeight) {
    for (int eighths = 1; eighths < 8; ++eighths) {
        const auto w = (static_cast<long long>(width) * eighths + 7) / 8;
        const auto h = (static_cast<long long>(height) * eighths + 7) / 8;
        if (w >= targetWidth && h >= targetHeight) return eighths;
    }
    return 8;
}

// A progressive file is decoded from all its coefficients at once, two
// bytes each, held beside the picture until the last scan.
uint64_t JpegReader::coefficientBytes() const {
    uint64_t bytes = 0;
    for (int c = 0; c < cinfo_.num_components; ++c) {
        const jpeg_component_info& component = cinfo_.comp_info[c];
        bytes += uint64_t{component.width_in_blocks} * component.height_in_blocks * DCTSIZE2 *
                 sizeof(JCOEF);
    }
    return bytes;
}

// False (with the reason in sizeError_) when the picture cannot be decoded
// within the memory one picture may take.
bool JpegReader::chooseOutput() {
    const J_COLOR_SPACE source = cinfo_.jpeg_color_space;
    cmyk_ = source == JCS_CMYK || source == JCS_YCCK;
    cinfo_.out_color_space = cmyk_ ? JCS_CMYK : pixelColourSpace;
    const imaging::Target& target = request_.target;
    const bool swap = imaging::swapsSides(orientation_);
    const auto fullWidth = static_cast<int>(swap ? cinfo_.image_height : cinfo_.image_width);
    const auto fullHeight = static_cast<int>(swap ? cinfo_.image_width : cinfo_.image_height);
    int eighths = 8;
    if (target.scales()) {
        const imaging::PixelSize cover = imaging::coverSize(target, fullWidth, fullHeight);
        eighths =
            scaleEighths(cinfo_.image_width, cinfo_.image_height, swap ? cover.height : cover.width,
                         swap ? cover.width : cover.height);
    }
    if (jpeg_has_multiple_scans(&cinfo_) && !fitProgressive(eighths)) return false;
    if (eighths != 8) {
        cinfo_.scale_num = static_cast<unsigned>(eighths);
        cinfo_.scale_denom = 8;
    }
    jpeg_calc_output_dimensions(&cinfo_);
    imaging::PictureSink::Layout layout;
    layout.orientation = orientation_;
    layout.storedWidth = static_cast<int>(cinfo_.output_width);
    layout.storedHeight = static_cast<int>(cinfo_.output_height);
    layout.fullWidth = fullWidth;
    layout.fullHeight = fullHeight;
    layout.opaque = true;
    auto sink = imaging::PictureSink::open(target, layout);
    if (!sink) {
        sizeError_ = sink.error().message;
        return false;
    }
    sink_.emplace(std::move(sink).value());
    return true;
}

// A progressive file is decoded from all its coefficients at once: they and
// the picture together stay within the memory of a picture. The whole of a
// huge one comes out at a smaller scale (standing for the whole picture, as
// a scaled decode does); one decoded for the screen holds little beside its
// coefficients.
bool JpegReader::fitProgressive(int& eighths) {
    const imaging::Target& target = request_.target;
    const uint64_t coefficients = coefficientBytes();
    auto pictureBytes = [&](int n) {
        if (target.bounded()) {
            return uint64_t{static_cast<uint32_t>(target.width)} *
                   static_cast<uint32_t>(target.height) * sizeof(Pixel) * 2;
        }
        const uint64_t w = (uint64_t{cinfo_.image_width} * n + 7) / 8;
        const uint64_t h = (uint64_t{cinfo_.image_height} * n + 7) / 8;
        return w * h * sizeof(Pixel);
    };
    while (!target.bounded() && eighths > 1 &&
           coefficients + pictureBytes(eighths) > imaging::kMaxDecodeBytes) {
        --eighths;
    }
    if (coefficients + pictureBytes(eighths) > imaging::kMaxDecodeBytes) {
        sizeError_ = "picture too large: " + std::to_string(cinfo_.image_width) + " x " +
                     std::to_string(cinfo_.image_height);
        return false;
    }
    // libjpeg's own allocations stop there too.
    cinfo_.mem->max_memory_to_use =
        static_cast<long>(imaging::kMaxDecodeBytes - pictureBytes(eighths));
    return true;
}

void JpegReader::readWindow() {
    const Rect stored = sink_->storedWindow();
    // libjpeg widens a crop to whole blocks on the left; a margin on both
    // sides keeps the window's edge columns away from the crop's edges, where
    // the colour upsampling has no neighbour. The writer drops the extra.
    constexpr int margin = 2;
    const int output = static_cast<int>(cinfo_.output_width);
    const int left = std::max(stored.x - margin, 0);
    const int right = std::min(stored.x + stored.width + margin, output);
    JDIMENSION firstColumn = 0;
    if (right - left < output) {
        firstColumn = static_cast<JDIMENSION>(left);
        auto columns = static_cast<JDIMENSION>(right - left);
        jpeg_crop_scanline(&cinfo_, &firstColumn, &columns);
    }
    row_.resize(cinfo_.output_width);
    if (stored.y > 0) jpeg_skip_scanlines(&cinfo_, static_cast<JDIMENSION>(stored.y));
    for (int y = stored.y; y < stored.y + stored.height && !errors_.endOfData; ++y) {
        readRow(y, firstColumn);
    }
    if (cinfo_.output_scanline < cinfo_.output_height) {
        jpeg_abort_decompress(&cinfo_);  // the rows below the window are not needed
    } else {
        jpeg_finish_decompress(&cinfo_);
    }
}

// Adobe's CMYK JPEGs store the inks inverted (255 = no ink).
Pixel cmykToPixel(const uint8_t* cmyk, bool inverted) {
    auto channel = [&](int ink) -> uint8_t {
        const int c = inverted ? cmyk[ink] : 255 - cmyk[ink];
        const int k = inverted ? cmyk[3] : 255 - cmyk[3];
        return static_cast<uint8_t>((c * k + 127) / 255);
    };
    return imaging::rgb(channel(0), channel(1), channel(2));
}

void JpegReader::readRow(int storedY, JDIMENSION firstColumn) {
    Pixel* direct = cmyk_ || firstColumn != 0 ? nullptr : sink_->directRow(storedY);
    JSAMPROW target = reinterpret_cast<JSAMPROW>(direct != nullptr ? direct : row_.data());
    if (jpeg_read_scanlines(&cinfo_, &target, 1) != 1) {
        errors_.endOfData = true;
        return;
    }
    if (direct != nullptr) return;
    const size_t width = cinfo_.output_width;
    if (cmyk_) {
        const auto* bytes = reinterpret_cast<const uint8_t*>(row_.data());
        for (size_t x = 0; x < width; ++x)
            row_[x] = cmykToPixel(bytes + 4 * x, cinfo_.saw_Adobe_marker);
    }
    sink_->writeRow(storedY, static_cast<int>(firstColumn), {row_.data(), width});
}

Image JpegReader::finishedImage() {
    Image image = sink_->take();
    image.sourceBits = cinfo_.jpeg_color_space == JCS_GRAYSCALE ? 8 : 24;
    return image;
}

class JpegDecoder final : public imaging::Decoder {
  public:
    std::string_view name() const override { return "JPEG"; }

    imaging::Confidence sniff(std::span<const uint8_t> bytes, std::string_view) const override {
        const bool soi =
            bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
        return soi ? imaging::Confidence::Strong : imaging::Confidence::None;
    }

    bool readsInPieces() const override { return true; }

    Result<Image> decode(const imaging::DecodeRequest& request) const override {
        JpegReader reader(request);
        return reader.read();
    }
};

}  // namespace

std::unique_ptr<imaging::Decoder> makeJpegDecoder() {
    return std::make_unique<JpegDecoder>();
}

}  // namespace pictavo::platform
