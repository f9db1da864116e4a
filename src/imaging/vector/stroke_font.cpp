#include "imaging/vector/stroke_font.h"

#include <array>
#include <charconv>
#include <vector>

namespace pictavo::imaging::vector {

namespace {

// Glyphs on a grid 4 wide with capitals 6 tall, x-height 4 and descenders
// to -2. Strokes are separated by ';', points by spaces.
constexpr std::array<std::string_view, 95> kAsciiGlyphs = {
    "",                                                                 // space
    "2,6 2,2;1.8,0 2.2,0",                                              // !
    "1,6 1,4.5;3,6 3,4.5",                                              // "
    "1,0 1,6;3,0 3,6;0,2 4,2;0,4 4,4",                                  // #
    "4,5 3,6 1,6 0,5 0,4 1,3 3,3 4,2 4,1 3,0 1,0 0,1;2,7 2,-1",         // $
    "0,0 4,6;0,6 1,6 1,5 0,5 0,6;3,1 4,1 4,0 3,0 3,1",                  // %
    "4,0 1,4 1,5 2,6 3,5 3,4 0,2 0,1 1,0 2,0 4,2",                      // &
    "2,6 2,4.5",                                                        // '
    "3,7 2,6 1.5,4 1.5,2 2,0 3,-1",                                     // (
    "1,7 2,6 2.5,4 2.5,2 2,0 1,-1",                                     // )
    "2,5 2,1;0,4 4,2;0,2 4,4",                                          // *
    "2,5 2,1;0,3 4,3",                                                  // +
    "2,0.5 2,0 1.5,-1",                                                 // ,
    "0,3 4,3",                                                          // -
    "1.8,0 2.2,0",                                                      // .
    "0,0 4,6",                                                          // /
    "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0;0,1 4,5",                      // 0
    "1,5 2,6 2,0;1,0 3,0",                                              // 1
    "0,5 1,6 3,6 4,5 4,4 0,0 4,0",                                      // 2
    "0,5 1,6 3,6 4,5 4,4 3,3 1,3;3,3 4,2 4,1 3,0 1,0 0,1",              // 3
    "3,0 3,6 0,2 4,2",                                                  // 4
    "4,6 0,6 0,3 3,3 4,2 4,1 3,0 0,0",                                  // 5
    "4,5 3,6 1,6 0,5 0,1 1,0 3,0 4,1 4,2 3,3 0,3",                      // 6
    "0,6 4,6 1,0",                                                      // 7
    "1,3 0,4 0,5 1,6 3,6 4,5 4,4 3,3 1,3 0,2 0,1 1,0 3,0 4,1 4,2 3,3",  // 8
    "4,3 1,3 0,4 0,5 1,6 3,6 4,5 4,1 3,0 1,0 0,1",                      // 9
    "2,4 2,3.6;2,0.4 2,0",                                              // :
    "2,4 2,3.6;2,0.5 2,0 1.5,-1",                                       // ;
    "4,5 0,3 4,1",                                                      // <
    "0,4 4,4;0,2 4,2",                                                  // =
    "0,5 4,3 0,1",                                                      // >
    "0,5 1,6 3,6 4,5 4,4 2,3 2,2;1.8,0 2.2,0",                          // ?
    "3,2 1,2 1,4 3,4 3,2 4,2 4,5 3,6 1,6 0,5 0,1 1,0 4,0",              // @
    "0,0 2,6 4,0;0.67,2 3.33,2",                                        // A
    "0,0 0,6 3,6 4,5 4,4 3,3 0,3;3,3 4,2 4,1 3,0 0,0",                  // B
    "4,5 3,6 1,6 0,5 0,1 1,0 3,0 4,1",                                  // C
    "0,0 0,6 2,6 4,4 4,2 2,0 0,0",                                      // D
    "4,6 0,6 0,0 4,0;0,3 3,3",                                          // E
    "4,6 0,6 0,0;0,3 3,3",                                              // F
    "4,5 3,6 1,6 0,5 0,1 1,0 3,0 4,1 4,3 2,3",                          // G
    "0,0 0,6;4,0 4,6;0,3 4,3",                                          // H
    "1,6 3,6;2,6 2,0;1,0 3,0",                                          // I
    "4,6 4,1 3,0 1,0 0,1",                                              // J
    "0,0 0,6;4,6 0,2;1,3 4,0",                                          // K
    "0,6 0,0 4,0",                                                      // L
    "0,0 0,6 2,3 4,6 4,0",                                              // M
    "0,0 0,6 4,0 4,6",                                                  // N
    "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0",                              // O
    "0,0 0,6 3,6 4,5 4,4 3,3 0,3",                                      // P
    "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0;2.5,1.5 4,0",                  // Q
    "0,0 0,6 3,6 4,5 4,4 3,3 0,3;2,3 4,0",                              // R
    "4,5 3,6 1,6 0,5 0,4 1,3 3,3 4,2 4,1 3,0 1,0 0,1",                  // S
    "0,6 4,6;2,6 2,0",                                                  // T
    "0,6 0,1 1,0 3,0 4,1 4,6",                                          // U
    "0,6 2,0 4,6",                                                      // V
    "0,6 1,0 2,4 3,0 4,6",                                              // W
    "0,0 4,6;0,6 4,0",                                                  // X
    "0,6 2,3 4,6;2,3 2,0",                                              // Y
    "0,6 4,6 0,0 4,0",                                                  // Z
    "3,7 2,7 2,-1 3,-1",                                                // [
    "0,6 4,0",                                                          // backslash
    "1,7 2,7 2,-1 1,-1",                                                // ]
    "1,5 2,6 3,5",                                                      // ^
    "0,-1 4,-1",                                                        // _
    "1.5,6 2.5,5",                                                      // `
    "1,4 3,4 4,3 4,0;4,2 1,2 0,1 1,0 3,0 4,1",                          // a
    "0,6 0,0;0,3 1,4 3,4 4,3 4,1 3,0 1,0 0,1",                          // b
    "4,3 3,4 1,4 0,3 0,1 1,0 3,0 4,1",                                  // c
    "4,6 4,0;4,3 3,4 1,4 0,3 0,1 1,0 3,0 4,1",                          // d
    "0,2 4,2 4,3 3,4 1,4 0,3 0,1 1,0 3,0 4,1",                          // e
    "3.5,6 2.5,6 2,5.5 2,0;1,4 3,4",                                    // f
    "4,4 4,-1 3,-2 1,-2 0,-1;4,3 3,4 1,4 0,3 0,1 1,0 3,0 4,1",          // g
    "0,6 0,0;0,3 1,4 3,4 4,3 4,0",                                      // h
    "2,4 2,0;2,5.6 2,5.2",                                              // i
    "3,4 3,-1 2,-2 1,-2 0,-1;3,5.6 3,5.2",                              // j
    "0,6 0,0;4,4 0,1.5;1.5,2.2 4,0",                                    // k
    "2,6 2,1 3,0",                                                      // l
    "0,4 0,0;0,3 1,4 2,3 2,0;2,3 3,4 4,3 4,0",                          // m
    "0,4 0,0;0,3 1,4 3,4 4,3 4,0",                                      // n
    "1,0 3,0 4,1 4,3 3,4 1,4 0,3 0,1 1,0",                              // o
    "0,4 0,-2;0,3 1,4 3,4 4,3 4,1 3,0 1,0 0,1",                         // p
    "4,4 4,-2;4,3 3,4 1,4 0,3 0,1 1,0 3,0 4,1",                         // q
    "0,4 0,0;0,3 1,4 3,4 4,3",                                          // r
    "4,3 3,4 1,4 0,3 1,2 3,2 4,1 3,0 1,0 0,1",                          // s
    "2,6 2,1 3,0 4,0;1,4 3,4",                                          // t
    "0,4 0,1 1,0 3,0 4,1;4,4 4,0",                                      // u
    "0,4 2,0 4,4",                                                      // v
    "0,4 1,0 2,3 3,0 4,4",                                              // w
    "0,0 4,4;0,4 4,0",                                                  // x
    "0,4 2,0;4,4 1.5,-1.5 0.5,-2",                                      // y
    "0,4 4,4 0,0 4,0",                                                  // z
    "3,7 2,6 2,4 1,3 2,2 2,0 3,-1",                                     // {
    "2,7 2,-1",                                                         // |
    "1,7 2,6 2,4 3,3 2,2 2,0 1,-1",                                     // }
    "0,3 1,4 3,3 4,4",                                                  // ~
};

constexpr std::string_view kDegree = "1,6 2,6 2,5 1,5 1,6";
constexpr std::string_view kPlusMinus = "2,5 2,2;0,3.5 4,3.5;0,1 4,1";
constexpr std::string_view kDiameter = "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0;0,-0.5 4,6.5";
constexpr std::string_view kMissing = "0,0 4,0 4,6 0,6 0,0";

constexpr double kGridUnit = 1.0 / 6.0;

double parseNumber(std::string_view& text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    text.remove_prefix(static_cast<size_t>(end - text.data()));
    if (!text.empty() && (text.front() == ',' || text.front() == ' ')) text.remove_prefix(1);
    return error == std::errc{} ? value : 0;
}

// A glyph's strokes in font units: points, and where each stroke starts.
struct Glyph {
    std::vector<Point> points;
    std::vector<size_t> strokeStarts;
};

Glyph parseGlyph(std::string_view strokes) {
    Glyph glyph;
    while (!strokes.empty()) {
        const size_t end = strokes.find(';');
        std::string_view stroke = strokes.substr(0, end);
        glyph.strokeStarts.push_back(glyph.points.size());
        while (!stroke.empty()) {
            const double x = parseNumber(stroke) * kGridUnit;
            const double y = parseNumber(stroke) * kGridUnit;
            glyph.points.push_back({x, y});
        }
        if (end == std::string_view::npos) break;
        strokes.remove_prefix(end + 1);
    }
    return glyph;
}

// The font is read from its text form once, on first use.
const Glyph& glyphFor(char32_t code) {
    static const auto glyphs = [] {
        std::array<Glyph, 95 + 4> all;
        for (size_t i = 0; i < 95; ++i) all[i] = parseGlyph(kAsciiGlyphs[i]);
        all[95] = parseGlyph(kDegree);
        all[96] = parseGlyph(kPlusMinus);
        all[97] = parseGlyph(kDiameter);
        all[98] = parseGlyph(kMissing);
        return all;
    }();
    if (code >= 0x20 && code < 0x7F) return glyphs[code - 0x20];
    switch (code) {
        case 0xA0:
            return glyphs[0];
        case 0xB0:
            return glyphs[95];
        case 0xB1:
            return glyphs[96];
        case 0xD8:
        case 0xF8:
        case 0x2205:
        case 0x2300:
            return glyphs[97];
        default:
            return glyphs[98];
    }
}

void appendGlyph(Path& path, const Glyph& glyph, const Transform& placement) {
    for (size_t stroke = 0; stroke < glyph.strokeStarts.size(); ++stroke) {
        const size_t first = glyph.strokeStarts[stroke];
        const size_t end = stroke + 1 < glyph.strokeStarts.size() ? glyph.strokeStarts[stroke + 1]
                                                                  : glyph.points.size();
        for (size_t i = first; i < end; ++i) {
            const Point point = placement.apply(glyph.points[i]);
            if (i == first) {
                path.moveTo(point);
            } else {
                path.lineTo(point);
            }
        }
    }
}

// Windows-1252's own characters in 0x80-0x9F; the rest matches Latin-1.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

}  // namespace

void appendText(Path& path, std::u32string_view text, const Transform& placement) {
    for (size_t i = 0; i < text.size(); ++i) {
        const Transform glyphPlace =
            placement.after(Transform::translation(static_cast<double>(i) * kGlyphAdvance, 0));
        appendGlyph(path, glyphFor(text[i]), glyphPlace);
    }
}

double textWidth(std::u32string_view text) {
    if (text.empty()) return 0;
    return static_cast<double>(text.size() - 1) * kGlyphAdvance + kGlyphInkWidth;
}

std::u32string fromWindows1252(std::string_view bytes) {
    std::u32string text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        text.push_back(code >= 0x80 && code < 0xA0 ? kCp1252High[code - 0x80] : char32_t{code});
    }
    return text;
}

std::u32string fromUtf8(std::string_view bytes) {
    std::u32string text;
    size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        int extra = lead < 0x80                   ? 0
                    : lead >= 0xF0 && lead < 0xF8 ? 3
                    : lead >= 0xE0                ? 2
                    : lead >= 0xC2 && lead < 0xE0 ? 1
                                                  : -1;
        if (extra < 0 || (extra > 0 && i + static_cast<size_t>(extra) >= bytes.size())) {
            text.push_back(0xFFFD);
            ++i;
            continue;
        }
        char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
        bool valid = true;
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + static_cast<size_t>(k)]);
            if ((next & 0xC0) != 0x80) valid = false;
            code = (code << 6) | (next & 0x3F);
        }
        if (!valid) {
            text.push_back(0xFFFD);
            ++i;
            continue;
        }
        text.push_back(code);
        i += static_cast<size_t>(extra) + 1;
    }
    return text;
}

}  // namespace pictavo::imaging::vector
