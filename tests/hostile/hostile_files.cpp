#include "hostile_files.h"

#if PICTAVO_HOSTILE_IMAGE_LIBS
#include <jpeglib.h>
#include <png.h>
#include <tiffio.h>
#endif
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <stdexcept>

#include "hostile_bytes.h"

namespace pictavo::hostile {

namespace {

namespace fs = std::filesystem;

constexpr int kBig = 8192;  // a side of the largest square within the caps

// --- DXF ---

// A block that places block inner as a columns x rows array.
std::string arrayInsert(const std::string& inner, int columns, int rows) {
    return group(0, "INSERT") + group(2, inner) + group(70, std::to_string(columns)) +
           group(71, std::to_string(rows)) + group(44, "1") + group(45, "1");
}

std::string block(const std::string& name, const std::string& entities) {
    return group(0, "BLOCK") + group(2, name) + entities + group(0, "ENDBLK");
}

// An empty block as a 1000 x 1000 array inside another 1000 x 1000 array:
// a million million cells, none of them drawing anything.
std::string nestedEmptyArrays() {
    return dxfFile(block("E", "") + block("A", arrayInsert("E", 1000, 1000)),
                   arrayInsert("A", 1000, 1000));
}

std::string nestedLineArrays() {
    const std::string line =
        group(0, "LINE") + group(10, "0") + group(20, "0") + group(11, "1") + group(21, "1");
    return dxfFile(block("L", line) + block("A", arrayInsert("L", 1000, 1000)),
                   arrayInsert("A", 1000, 1000));
}

// Sixteen blocks, each inserting the next ten times: 10^16 lines.
std::string deepInserts() {
    std::string blocks = block("B16", group(0, "LINE") + group(11, "1") + group(21, "1"));
    for (int level = 15; level >= 1; --level) {
        std::string inserts;
        for (int i = 0; i < 10; ++i) {
            inserts += group(0, "INSERT") + group(2, "B" + std::to_string(level + 1)) +
                       group(10, std::to_string(i));
        }
        blocks += block("B" + std::to_string(level), inserts);
    }
    return dxfFile(blocks, group(0, "INSERT") + group(2, "B1"));
}

std::string hugeText(size_t characters) {
    return dxfFile("", group(0, "TEXT") + group(10, "0") + group(20, "0") + group(40, "1") +
                           group(1, std::string(characters, 'W')));
}

// MTEXT keeps its text in 250-character pieces (group 3) before the last (group 1).
std::string hugeParagraph(size_t characters, size_t lineLength) {
    std::string text;
    text.reserve(characters + characters / 8);
    while (text.size() < characters) {
        text.append(lineLength, 'M');
        text += "\\P";
    }
    std::string entity = group(0, "MTEXT") + group(10, "0") + group(20, "0") + group(40, "1");
    size_t at = 0;
    for (; at + 250 < text.size(); at += 250) entity += group(3, text.substr(at, 250));
    entity += group(1, text.substr(at));
    return dxfFile("", entity);
}

// --- WMF ---

std::string penFlood(int records) {
    Bytes body;
    for (int i = 0; i < records; ++i) body.u32(3).u16(0x02FA);
    return metafile(body);
}

// Pens made and deleted in turn, with a brush in between: the table churns.
std::string objectChurn(int rounds) {
    Bytes body;
    for (int i = 0; i < rounds; ++i) {
        body.u32(8).u16(0x02FA).u16(0).u16(1).u16(0).u16(0).u16(0);
        body.u32(7).u16(0x02FC).u16(0).u32(0x00FF00).u16(0);
        body.u32(4).u16(0x01F0).u16(0);
    }
    return metafile(body);
}

// Polylines of 16,000 points zigzagging across the whole picture.
std::string zigzagPolylines(int records) {
    Bytes body;
    constexpr int kPoints = 16000;
    for (int r = 0; r < records; ++r) {
        body.u32(3 + 1 + 2 * kPoints).u16(0x0325).u16(kPoints);
        for (int i = 0; i < kPoints; ++i) body.u16((i % 2) * 1000).u16(i % 1000);
    }
    return metafile(body);
}

// TextOut records of 30,000 characters each.
std::string textFlood(int records) {
    Bytes body;
    constexpr int kLength = 30000;
    for (int r = 0; r < records; ++r) {
        body.u32(3 + 1 + kLength / 2 + 2).u16(0x0521).u16(kLength);
        body.text(std::string(kLength, 'W'));
        body.u16(static_cast<uint32_t>(r % 1000)).u16(0);
    }
    return metafile(body);
}

// --- WPG ---

Bytes wpgHeader() {
    Bytes file;
    file.u32(0x435057FF).u32(16).u8(1).u8(0x16).u8(1).u8(0).u16(0).u16(0);
    return file;
}

// A WPG 1 record: type, then the length (short form when it fits).
void wpgRecord(Bytes& file, uint8_t type, const Bytes& body) {
    file.u8(type);
    if (body.size() < 0xFF) {
        file.u8(static_cast<uint32_t>(body.size()));
    } else {
        file.u8(0xFF).u16(0x8000 | static_cast<uint32_t>(body.size() >> 16));
        file.u16(static_cast<uint32_t>(body.size() & 0xFFFF));
    }
    file.text(body.data());
}

Bytes wpgStart() {
    Bytes start;
    start.u8(1).u8(0).u16(1200).u16(1200);  // one inch square
    return start;
}

std::string wpgRecordFlood(int records) {
    Bytes file = wpgHeader();
    wpgRecord(file, 0x0F, wpgStart());
    Bytes attributes;
    attributes.u8(1).u8(2).u16(1);
    for (int i = 0; i < records; ++i) wpgRecord(file, 0x02, attributes);
    wpgRecord(file, 0x10, Bytes{});
    return file.data();
}

std::string wpgZigzags(int records) {
    Bytes file = wpgHeader();
    wpgRecord(file, 0x0F, wpgStart());
    constexpr int kPoints = 8000;
    Bytes line;
    line.u16(kPoints);
    for (int i = 0; i < kPoints; ++i) line.u16((i % 2) * 1200).u16(i % 1200);
    for (int i = 0; i < records; ++i) wpgRecord(file, 0x06, line);
    wpgRecord(file, 0x10, Bytes{});
    return file.data();
}

// --- raster pictures of 8192 x 8192 ---

std::string bitmapHeader(int width, int height, int bits, uint32_t pixelOffset, uint64_t fileSize) {
    Bytes file;
    file.text("BM").u32(static_cast<uint32_t>(std::min<uint64_t>(fileSize, 0xFFFFFFFF)));
    file.u32(0).u32(pixelOffset);
    file.u32(40).u32(static_cast<uint32_t>(width)).u32(static_cast<uint32_t>(height));
    file.u16(1).u16(static_cast<uint32_t>(bits)).u32(0).u32(0);
    file.u32(2835).u32(2835).u32(0).u32(0);
    return file.data();
}

void bigBitmap(const fs::path& path, int bits) {
    const uint64_t stride = (uint64_t{kBig} * static_cast<uint64_t>(bits) + 31) / 32 * 4;
    const uint64_t size = 54 + stride * kBig;
    writeSparse(path, bitmapHeader(kBig, kBig, bits, 54, size), size);
}

// A small bitmap followed by megabytes of nothing.
void paddedBitmap(const fs::path& path, uint64_t total) {
    Bytes pixels;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) pixels.u8(static_cast<uint32_t>(x)).u8(0).u8(200);
    }
    writeSparse(path, bitmapHeader(100, 100, 24, 54, total) + pixels.data(), total);
}

void bigTarga(const fs::path& path) {
    Bytes header;
    header.u8(0).u8(0).u8(2).zeros(5).u16(0).u16(0).u16(kBig).u16(kBig).u8(32).u8(0x28);
    writeSparse(path, header.data(), 18 + uint64_t{kBig} * kBig * 4);
}

// 24-bit PCX: three planes per line, each a few runs of black.
void bigPcx(const fs::path& path) {
    Bytes file;
    file.u8(10).u8(5).u8(1).u8(8).u16(0).u16(0).u16(kBig - 1).u16(kBig - 1).u16(96).u16(96);
    file.zeros(48).u8(0).u8(3).u16(kBig).u16(1).u16(0).u16(0).zeros(54);
    Bytes line;
    for (int plane = 0; plane < 3; ++plane) {
        for (int left = kBig; left > 0; left -= 63) line.u8(0xC0 | std::min(left, 63)).u8(0);
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << file.data();
    for (int y = 0; y < kBig; ++y) out << line.data();
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

// GEM bit image of eight planes, every line a run of black per plane.
void bigGemImage(const fs::path& path) {
    Bytes file;
    file.u16(1).u16(8).u16(8).u16(2).u16(85).u16(85).u16(kBig).u16(kBig);
    Bytes line;
    for (int plane = 0; plane < 8; ++plane) {
        for (int left = kBig / 8; left > 0; left -= 127) line.u8(std::min(left, 127));
    }
    std::string big;
    // GEM stores words big-endian: the header above is turned here.
    const std::string& little = file.data();
    for (size_t i = 0; i + 1 < little.size(); i += 2) big += {little[i + 1], little[i]};
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << big;
    for (int y = 0; y < kBig; ++y) out << line.data();
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

// JPEG, PNG and TIFF files need the system's libraries, to be made or to be
// decoded; a build without them (the 32-bit one) tries the rest.
#if PICTAVO_HOSTILE_IMAGE_LIBS
void bigPng(const fs::path& path, int bitDepth, int colourType) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
    if (!file) throw std::runtime_error("cannot write " + path.string());
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("cannot write " + path.string());
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, kBig, kBig, bitDepth, colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    const int channels = colourType == PNG_COLOR_TYPE_RGBA ? 4 : 3;
    std::vector<png_byte> row(static_cast<size_t>(kBig) * channels * (bitDepth / 8), 0x40);
    for (int y = 0; y < kBig; ++y) png_write_row(png, row.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
}

void bigJpeg(const fs::path& path, bool progressive) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
    if (!file) throw std::runtime_error("cannot write " + path.string());
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file.get());
    cinfo.image_width = kBig;
    cinfo.image_height = kBig;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 50, TRUE);
    if (progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(static_cast<size_t>(kBig) * 3, 90);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
}

enum class TiffLayout { SingleStrip, Tiles };

void bigTiff(const fs::path& path, uint16_t compression, TiffLayout layout) {
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    if (tiff == nullptr) throw std::runtime_error("cannot write " + path.string());
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, kBig);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, kBig);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, compression);
    std::vector<uint8_t> row(static_cast<size_t>(kBig) * 3, 0x60);
    bool written = true;
    if (layout == TiffLayout::SingleStrip) {
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, kBig);
        for (int y = 0; y < kBig && written; ++y)
            written = TIFFWriteScanline(tiff, row.data(), static_cast<uint32_t>(y), 0) == 1;
    } else {
        constexpr int kTile = 512;
        TIFFSetField(tiff, TIFFTAG_TILEWIDTH, kTile);
        TIFFSetField(tiff, TIFFTAG_TILELENGTH, kTile);
        std::vector<uint8_t> tile(static_cast<size_t>(kTile) * kTile * 3, 0x60);
        for (int y = 0; y < kBig && written; y += kTile) {
            for (int x = 0; x < kBig && written; x += kTile) {
                written = TIFFWriteTile(tiff, tile.data(), static_cast<uint32_t>(x),
                                        static_cast<uint32_t>(y), 0, 0) >= 0;
            }
        }
    }
    TIFFClose(tiff);
    if (!written) throw std::runtime_error("cannot write " + path.string());
}
#endif

void fifo(const fs::path& path) {
    if (mkfifo(path.c_str(), 0600) != 0) throw std::runtime_error("cannot make " + path.string());
}

const std::string kTooComplex = "drawing too complex to render";
const std::string kBigSize = "8192 x 8192";

std::vector<HostileFile> makeAll() {
    constexpr uint64_t kMiB = uint64_t{1} << 20;
    return {
        failing(
            text("nested-empty-arrays.dxf",
                 "an empty block arrayed 1000 x 1000 inside another such array", nestedEmptyArrays),
            kTooComplex),
            failing(text("nested-line-arrays.dxf",
                         "a line arrayed a million times, a million times", nestedLineArrays),
                    kTooComplex),
            failing(text("deep-inserts.dxf",
                         "sixteen levels of blocks inserting the next ten times", deepInserts),
                    kTooComplex),
            text("huge-text.dxf", "one TEXT of 4 MB", [] { return hugeText(4 * 1000 * 1000); }),
            text("huge-mtext.dxf", "one MTEXT of 12 MB on a single line",
                 [] { return hugeParagraph(12 * 1000 * 1000, 12 * 1000 * 1000); }),
            text("many-lines-mtext.dxf", "one MTEXT of 12 MB in 120,000 lines",
                 [] { return hugeParagraph(12 * 1000 * 1000, 100); }),
            text("pen-flood.wmf", "1,000,000 CreatePenIndirect records",
                 [] { return penFlood(1000000); }),
            text("object-churn.wmf", "300,000 pens and brushes made and deleted",
                 [] { return objectChurn(300000); }),
            text("zigzags.wmf", "polylines of 16,000 points across the picture, 200 times",
                 [] { return zigzagPolylines(200); }),
            text("text-flood.wmf", "200 TextOut records of 30,000 characters",
                 [] { return textFlood(200); }),
            text("record-flood.wpg", "2,000,000 line attribute records",
                 [] { return wpgRecordFlood(2000000); }),
            text("zigzags.wpg", "polylines of 8,000 points across the picture, 400 times",
                 [] { return wpgZigzags(400); }),
#if PICTAVO_HOSTILE_IMAGE_LIBS
            picture(file("single-strip-deflate.tif", "8192 x 8192 RGB in one deflated strip",
                         [](const fs::path& p) {
                             bigTiff(p, COMPRESSION_ADOBE_DEFLATE, TiffLayout::SingleStrip);
                         }),
                    kBigSize),
            picture(file("single-strip-raw.tif", "8192 x 8192 RGB in one uncompressed strip",
                         [](const fs::path& p) {
                             bigTiff(p, COMPRESSION_NONE, TiffLayout::SingleStrip);
                         }),
                    kBigSize),
            picture(file("tiled-lzw.tif", "8192 x 8192 RGB in LZW tiles of 512",
                         [](const fs::path& p) { bigTiff(p, COMPRESSION_LZW, TiffLayout::Tiles); }),
                    kBigSize),
#endif
            picture(file("big-24.bmp", "8192 x 8192, 24 bits, 192 MB of pixels",
                         [](const fs::path& p) { bigBitmap(p, 24); }),
                    kBigSize),
            picture(file("big-32.bmp", "8192 x 8192, 32 bits, 256 MB of pixels",
                         [](const fs::path& p) { bigBitmap(p, 32); }),
                    kBigSize),
            picture(file("padded-400mb.bmp", "100 x 100 followed by 400 MB of nothing",
                         [=](const fs::path& p) { paddedBitmap(p, 400 * kMiB); }),
                    "100 x 100"),
            failing(file("padded-1000mb.bmp", "100 x 100 followed by 1000 MB of nothing",
                         [=](const fs::path& p) { paddedBitmap(p, 1000 * kMiB); }),
                    "file too large: 1000 MB"),
            failing(file("padded-4100mb.bmp", "100 x 100 followed by 4100 MB of nothing, past 4 GB",
                         [=](const fs::path& p) { paddedBitmap(p, 4100 * kMiB); }),
                    "file too large: 4100 MB"),
            picture(file("big.tga", "8192 x 8192, 32 bits, uncompressed", bigTarga), kBigSize),
            picture(file("big.pcx", "8192 x 8192, three planes", bigPcx), kBigSize),
            picture(file("big.img", "8192 x 8192 GEM image of eight planes", bigGemImage),
                    kBigSize),
#if PICTAVO_HOSTILE_IMAGE_LIBS
            picture(file("big-rgb8.png", "8192 x 8192, 8-bit RGB",
                         [](const fs::path& p) { bigPng(p, 8, PNG_COLOR_TYPE_RGB); }),
                    kBigSize),
            picture(file("big-rgba16.png", "8192 x 8192, 16-bit RGBA",
                         [](const fs::path& p) { bigPng(p, 16, PNG_COLOR_TYPE_RGBA); }),
                    kBigSize),
            picture(file("big-baseline.jpg", "8192 x 8192 baseline JPEG",
                         [](const fs::path& p) { bigJpeg(p, false); }),
                    kBigSize),
            file("big-progressive.jpg", "8192 x 8192 progressive JPEG",
                 [](const fs::path& p) { bigJpeg(p, true); }),
#endif
            // Sizes whose pixel count, times four bytes, wraps a 32-bit size_t many times.
            failing(file("claim-65535.bmp", "a 54-byte header claiming 65535 x 65535 at 32 bits",
                         [](const fs::path& p) {
                             writeFile(p, bitmapHeader(65535, 65535, 32, 54, 54));
                         }),
                    "picture too large: 65535 x 65535"),
            failing(staged(file("claim-65535.tga",
                                "an 18-byte header claiming 65535 x 65535 at 32 bits",
                                [](const fs::path& p) {
                                    Bytes header;
                                    header.u8(0).u8(0).u8(2).zeros(5).u16(0).u16(0).u16(65535);
                                    writeFile(p, header.u16(65535).u8(32).u8(0x28).data());
                                })),
                    "picture too large: 65535 x 65535"),
            failing(file("fifo.bmp", "a FIFO where a picture should be", fifo),
                    "not a regular file"),
    };
}

}  // namespace

const std::vector<HostileFile>& hostileFiles() {
    static const std::vector<HostileFile> all = [] {
        std::vector<HostileFile> files = makeAll();
        for (auto more : {stagedPictureFiles(), stagedDrawingFiles()})
            for (HostileFile& file : more) files.push_back(std::move(file));
        return files;
    }();
    return all;
}

}  // namespace pictavo::hostile
