// The orientation tag read from the file itself, for where the imaging
// component does not read the photo's metadata.

#include "hosts/win32/photo_orientation.h"

#include <gtest/gtest.h>

#include <vector>

namespace pictavo::platform::win32 {
namespace {

using Bytes = std::vector<uint8_t>;

// A TIFF structure whose first directory holds the given entries
// (tag, type, value), in little- or big-endian order.
Bytes tiff(bool bigEndian, const std::vector<std::array<uint16_t, 3>>& entries) {
    Bytes out;
    auto put16 = [&](uint16_t v) {
        if (bigEndian) {
            out.push_back(static_cast<uint8_t>(v >> 8));
            out.push_back(static_cast<uint8_t>(v));
        } else {
            out.push_back(static_cast<uint8_t>(v));
            out.push_back(static_cast<uint8_t>(v >> 8));
        }
    };
    auto put32 = [&](uint32_t v) {
        put16(static_cast<uint16_t>(bigEndian ? v >> 16 : v & 0xFFFF));
        put16(static_cast<uint16_t>(bigEndian ? v & 0xFFFF : v >> 16));
    };
    out.push_back(bigEndian ? 'M' : 'I');
    out.push_back(bigEndian ? 'M' : 'I');
    put16(42);
    put32(8);
    put16(static_cast<uint16_t>(entries.size()));
    for (const auto& [tag, type, value] : entries) {
        put16(tag);
        put16(type);
        put32(1);
        put16(value);
        put16(0);
    }
    put32(0);
    return out;
}

void append(Bytes& to, const Bytes& more) {
    for (uint8_t byte : more) to.push_back(byte);
}

Bytes segment(uint8_t marker, const Bytes& payload) {
    Bytes out = {0xFF, marker, static_cast<uint8_t>((payload.size() + 2) >> 8),
                 static_cast<uint8_t>(payload.size() + 2)};
    append(out, payload);
    return out;
}

Bytes exif(const Bytes& structure) {
    Bytes payload = {'E', 'x', 'i', 'f', 0, 0};
    append(payload, structure);
    return payload;
}

Bytes jpeg(const std::vector<Bytes>& segments) {
    Bytes out = {0xFF, 0xD8};
    for (const Bytes& s : segments) append(out, s);
    append(out, {0xFF, 0xDA, 0, 2, 0xFF, 0xD9});
    return out;
}

TEST(PhotoOrientation, ReadsTheTagInEitherByteOrder) {
    EXPECT_EQ(tiffOrientation(tiff(false, {{256, 3, 640}, {274, 3, 6}})), 6);
    EXPECT_EQ(tiffOrientation(tiff(true, {{274, 3, 8}})), 8);
    EXPECT_EQ(tiffOrientation(tiff(false, {{256, 3, 640}})), 1);  // no tag: upright
}

TEST(PhotoOrientation, DamagedOrOddTagsCountAsUpright) {
    EXPECT_EQ(tiffOrientation(tiff(false, {{274, 4, 6}})), 1);  // not a SHORT
    EXPECT_EQ(tiffOrientation(tiff(false, {{274, 3, 0}})), 1);
    EXPECT_EQ(tiffOrientation(tiff(false, {{274, 3, 9}})), 1);
    Bytes cut = tiff(false, {{256, 3, 1}, {274, 3, 6}});
    cut.resize(16);  // the directory runs past the end
    EXPECT_EQ(tiffOrientation(cut), 1);
    Bytes farAway = tiff(false, {{274, 3, 6}});
    farAway[4] = 0xF0;  // the first directory lies past the end
    EXPECT_EQ(tiffOrientation(farAway), 1);
    EXPECT_EQ(tiffOrientation(Bytes{'I', 'I', 42}), 1);
}

TEST(PhotoOrientation, FindsTheExifBlockAmongAJpegsSegments) {
    const Bytes jfif = segment(0xE0, {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0});
    const Bytes xmp = segment(0xE1, {'h', 't', 't', 'p', ':', '/', '/'});
    EXPECT_EQ(jpegOrientation(jpeg({jfif, xmp, segment(0xE1, exif(tiff(true, {{274, 3, 3}})))})),
              3);
    EXPECT_EQ(jpegOrientation(jpeg({jfif})), 1);
    // A segment whose length runs past the end stops the search.
    Bytes broken = jpeg({segment(0xE1, exif(tiff(false, {{274, 3, 6}})))});
    broken[5] = 0xF0;
    EXPECT_EQ(jpegOrientation(broken), 1);
    EXPECT_EQ(jpegOrientation(Bytes{0x89, 'P', 'N', 'G'}), 1);
}

}  // namespace
}  // namespace pictavo::platform::win32
