// Pictures (JPEG, PNG, TIFF, Utah RLE) that cost a careless decoder
// seconds or gigabytes from a file of a few megabytes, mostly of nothing.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <utility>
#include <vector>

#if PICTAVO_HOSTILE_IMAGE_LIBS
// clang-format off
#include <jpeglib.h>
#include <zlib.h>
// clang-format on
#endif

#include "hostile_files.h"

namespace pictavo::hostile {

namespace {

namespace fs = std::filesystem;

constexpr uint32_t kMiB = uint32_t{1} << 20;
const std::string kSlide = "1920 x 1080";

// JPEG, PNG and TIFF files need the system's libraries, to be made or to be
// decoded; a build without them (the 32-bit one) tries the rest.
#if PICTAVO_HOSTILE_IMAGE_LIBS
// --- JPEG ---

void segment(Bytes& file, uint8_t marker, const Bytes& body) {
    file.u8(0xFF).u8(marker).u16be(static_cast<uint32_t>(body.size() + 2)).text(body.data());
}

// A grey progressive JPEG whose DC scan and acScans AC scans hold no data:
// libjpeg fills in zeros, after visiting every block in every scan.
std::string emptyScans(int side, int acScans) {
    Bytes file;
    file.u8(0xFF).u8(0xD8);
    Bytes quantisation;
    quantisation.u8(0);
    for (int i = 0; i < 64; ++i) quantisation.u8(1);
    segment(file, 0xDB, quantisation);
    Bytes frame;
    frame.u8(8).u16be(static_cast<uint32_t>(side)).u16be(static_cast<uint32_t>(side));
    frame.u8(1).u8(1).u8(0x11).u8(0);
    segment(file, 0xC2, frame);
    for (const uint32_t tableClass : {0x00u, 0x10u}) {
        Bytes huffman;  // one code of one bit, for symbol 0
        huffman.u8(tableClass).u8(1).zeros(15).u8(0);
        segment(file, 0xC4, huffman);
    }
    Bytes dc;
    dc.u8(1).u8(1).u8(0).u8(0).u8(0).u8(0);
    segment(file, 0xDA, dc);
    Bytes ac;
    ac.u8(1).u8(1).u8(0).u8(1).u8(63).u8(0);
    for (int i = 0; i < acScans; ++i) segment(file, 0xDA, ac);
    file.u8(0xFF).u8(0xD9);
    return file.data();
}

// A small real JPEG, from its start-of-image marker on.
std::string smallJpeg() {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = cinfo.image_height = 16;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(16 * 3, 200);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::string jpeg(reinterpret_cast<const char*>(buffer), size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return jpeg;
}

// markers APP1 "Exif" segments of 64 KB before a small picture; sparse,
// each segment but its first bytes left to the file system's holes.
void exifFlood(const fs::path& path, int markers) {
    constexpr uint64_t kSegment = 2 + 0xFFFF;
    const std::string picture = smallJpeg();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write("\xFF\xD8", 2);
    for (int i = 0; i < markers; ++i) {
        out.seekp(static_cast<std::streamoff>(2 + kSegment * static_cast<uint64_t>(i)));
        out.write(
            "\xFF\xE1\xFF\xFF"
            "Exif\0\0",
            10);
    }
    out.seekp(static_cast<std::streamoff>(2 + kSegment * static_cast<uint64_t>(markers)));
    out.write(picture.data() + 2, static_cast<std::streamsize>(picture.size() - 2));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

// --- PNG ---

std::string deflated(const std::string& raw) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string out(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                  reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()),
                  9) != Z_OK)
        throw std::runtime_error("cannot deflate");
    out.resize(size);
    return out;
}

void chunk(Bytes& file, const std::string& type, const std::string& data) {
    const std::string typed = type + data;
    file.u32be(static_cast<uint32_t>(data.size())).text(typed);
    file.u32be(static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size()))));
}

// A 16 x 16 picture after compressed texts that each inflate to textBytes.
std::string textFlood(int chunks, size_t textBytes) {
    Bytes file;
    file.text("\x89PNG\r\n\x1A\n");
    Bytes header;
    header.u32be(16).u32be(16).u8(8).u8(2).zeros(3);
    chunk(file, "IHDR", header.data());
    const std::string text = deflated(std::string(textBytes, 'a'));
    const std::string nul(1, '\0');
    for (int i = 0; i < chunks; ++i) {
        if (i % 2 == 0) {
            chunk(file, "zTXt", "Comment" + nul + nul + text);
        } else {
            chunk(file, "iTXt", "Comment" + nul + "\x01" + nul + nul + nul + text);
        }
    }
    std::string rows;
    for (int y = 0; y < 16; ++y) rows += nul + std::string(48, '\x40');
    chunk(file, "IDAT", deflated(rows));
    chunk(file, "IEND", "");
    return file.data();
}

// --- TIFF ---

// One entry of a little-endian TIFF directory: its value's bytes, or,
// with at set, the place of a value that lies elsewhere in the file.
struct Field {
    uint16_t tag;
    uint16_t type;  // 3 SHORT, 4 LONG
    uint32_t count;
    std::string value;
    uint32_t at = 0;
};

Field shorts(uint16_t tag, std::vector<uint16_t> values) {
    Bytes bytes;
    for (uint16_t value : values) bytes.u16(value);
    return {tag, 3, static_cast<uint32_t>(values.size()), bytes.data()};
}

Field longs(uint16_t tag, uint32_t count, uint32_t value) {
    Bytes bytes;
    for (uint32_t i = 0; i < count; ++i) bytes.u32(value);
    return {tag, 4, count, bytes.data()};
}

// Where the directory of these fields, with the values that do not fit in
// their entries, ends: what the file holds next starts there.
uint32_t directoryEnd(const std::vector<Field>& fields) {
    uint32_t end = 8 + 2 + 12 * static_cast<uint32_t>(fields.size()) + 4;
    for (const Field& field : fields)
        if (field.at == 0 && field.value.size() > 4)
            end += static_cast<uint32_t>(field.value.size());
    return end;
}

// Puts field in the place of the one with its tag.
void replace(std::vector<Field>& fields, Field field) {
    for (Field& old : fields)
        if (old.tag == field.tag) old = std::move(field);
}

// The header and the directory of fields, in the order of their tags.
std::string tiffHead(std::vector<Field> fields) {
    std::stable_sort(fields.begin(), fields.end(),
                     [](const Field& a, const Field& b) { return a.tag < b.tag; });
    Bytes head;
    head.text("II").u16(42).u32(8).u16(static_cast<uint32_t>(fields.size()));
    uint32_t spill = 8 + 2 + 12 * static_cast<uint32_t>(fields.size()) + 4;
    std::string spilled;
    for (const Field& field : fields) {
        head.u16(field.tag).u16(field.type).u32(field.count);
        if (field.at != 0) {
            head.u32(field.at);
        } else if (field.value.size() > 4) {
            head.u32(spill);
            spill += static_cast<uint32_t>(field.value.size());
            spilled += field.value;
        } else {
            head.text(field.value).zeros(4 - field.value.size());
        }
    }
    head.u32(0).text(spilled);
    return head.data();
}

// Every tile of 64 x 64 (or one-row strip) of a PackBits picture claims the
// same 1 MiB.
std::string sameMebibyte(bool tiled, uint32_t width, uint32_t height) {
    const uint32_t pieces = tiled ? (width / 64) * (height / 64) : height;
    const uint16_t offsets = tiled ? 324 : 273;
    std::vector<Field> fields = {longs(256, 1, width),      longs(257, 1, height),
                                 shorts(258, {8, 8, 8}),    shorts(259, {32773}),
                                 shorts(262, {2}),          shorts(277, {3}),
                                 longs(offsets, pieces, 0), longs(tiled ? 325 : 279, pieces, kMiB)};
    if (tiled) {
        fields.push_back(longs(322, 1, 64));
        fields.push_back(longs(323, 1, 64));
    } else {
        fields.push_back(longs(278, 1, 1));
    }
    replace(fields, longs(offsets, pieces, directoryEnd(fields)));
    return tiffHead(fields);
}

void sameMebibyte(const fs::path& path, bool tiled, uint32_t width, uint32_t height) {
    const std::string head = sameMebibyte(tiled, width, height);
    writeSparse(path, head, head.size() + kMiB);
}

// A 16 x 16 picture with 25 private tags of 7.5 million LONGs, all in one
// block of 30 MB.
void sharedTagBlock(const fs::path& path) {
    constexpr uint32_t kCount = 7'500'000;
    constexpr uint32_t kPixelBytes = 16 * 16 * 3;
    std::vector<Field> fields = {longs(256, 1, 16), longs(257, 1, 16), shorts(258, {8, 8, 8}),
                                 shorts(259, {1}),  shorts(262, {2}),  longs(273, 1, 0),
                                 shorts(277, {3}),  longs(278, 1, 16), longs(279, 1, kPixelBytes)};
    const uint32_t pixels = directoryEnd(fields) + 25 * 12;
    const uint32_t block = pixels + kPixelBytes;
    replace(fields, longs(273, 1, pixels));
    for (uint32_t i = 0; i < 25; ++i)
        fields.push_back({static_cast<uint16_t>(65000 + i), 4, kCount, {}, block});
    writeSparse(path, tiffHead(fields) + std::string(kPixelBytes, '\x60'),
                uint64_t{block} + uint64_t{kCount} * 4);
}

#endif

// --- Utah RLE ---

// Three channels: pairs of a SetColour, which sends the pen back to the
// line's start, and a RunData painting the whole line.
std::string repaintedLine(uint32_t width, uint32_t height, int pairs) {
    Bytes file;
    file.u16(0xCC52).u16(0).u16(0).u16(width).u16(height);
    file.u8(0x02).u8(3).u8(8).u8(0).u8(0).u8(0);  // no background: a filler byte
    for (int i = 0; i < pairs; ++i) file.u8(0x02).u8(0).u8(0x46).u8(0).u16(width - 1).u16(0x80);
    file.u8(0x07).u8(0);
    return file.data();
}

}  // namespace

std::vector<HostileFile> stagedPictureFiles() {
    return {
#if PICTAVO_HOSTILE_IMAGE_LIBS
        failing(staged(text("many-scans.jpg", "a 64 x 64 progressive JPEG of 3,001 empty scans",
                            [] { return emptyScans(64, 3000); })),
                "more than 500 scans"),
            seededWith(failing(staged(text("costly-scans.jpg",
                                           "an 8192 x 8192 progressive JPEG of 500 empty scans",
                                           [] { return emptyScans(8192, 499); })),
                               "cannot read JPEG file"),
                       [] { return emptyScans(512, 499); }),
            picture(staged(file("exif-flood.jpg", "8,000 APP1 Exif segments of 64 KB, then 16 x 16",
                                [](const fs::path& p) { exifFlood(p, 8000); })),
                    kSlide),
            picture(
                staged(text("text-flood.png", "100 compressed texts of 7.9 MB each, then 16 x 16",
                            [] { return textFlood(100, 7'900'000); })),
                kSlide),
            seededWith(
                failing(staged(file("same-mebibyte-tiles.tif",
                                    "16,384 tiles each claiming the same 1 MiB",
                                    [](const fs::path& p) { sameMebibyte(p, true, 8192, 8192); })),
                        "cannot read TIFF file"),
                [] { return sameMebibyte(true, 512, 512); }),
            seededWith(failing(staged(file(
                                   "same-mebibyte-strips.tif",
                                   "16,384 one-row strips each claiming the same 1 MiB",
                                   [](const fs::path& p) { sameMebibyte(p, false, 4096, 16384); })),
                               "cannot read TIFF file"),
                       [] { return sameMebibyte(false, 256, 1024); }),
            staged(file("shared-tag-block.tif", "25 private tags of 30 MB each, all in one block",
                        sharedTagBlock)),
#endif
            seededWith(failing(staged(text("repainted-lines.rle",
                                           "500,000 runs of 16,384 pixels over the same line",
                                           [] { return repaintedLine(16384, 4096, 500'000); })),
                               "invalid Utah RLE file"),
                       [] { return repaintedLine(256, 16, 2000); }),
    };
}

}  // namespace pictavo::hostile
