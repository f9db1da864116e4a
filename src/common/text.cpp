#include "common/text.h"

#include <array>
#include <cstdint>

namespace pictavo {

namespace {
// Unicode code points of 0x80..0x9F in Windows-1252; 0 marks unassigned.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Decodes one UTF-8 sequence at text[i]; advances i. Malformed bytes give U+FFFD.
char32_t decodeUtf8(std::string_view text, size_t& i) {
    auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char lead = byte(i);
    int extra = lead < 0x80           ? 0
                : (lead >> 5) == 0x6  ? 1
                : (lead >> 4) == 0xE  ? 2
                : (lead >> 3) == 0x1E ? 3
                                      : -1;
    if (extra < 0 || i + static_cast<size_t>(extra) >= text.size() + (extra == 0 ? 1 : 0)) {
        ++i;
        return 0xFFFD;
    }
    char32_t cp = extra == 0 ? lead : (lead & (0x3F >> extra));
    for (int k = 1; k <= extra; ++k) {
        unsigned char c = byte(i + static_cast<size_t>(k));
        if ((c & 0xC0) != 0x80) {
            i += static_cast<size_t>(k);
            return 0xFFFD;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    i += static_cast<size_t>(extra) + 1;
    return cp;
}
}  // namespace

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string toLowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool equalsIgnoreCaseAscii(std::string_view a, std::string_view b) {
    return a.size() == b.size() && toLowerAscii(a) == toLowerAscii(b);
}

std::string utf8ToCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        char32_t cp = decodeUtf8(utf8, i);
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            out += static_cast<char>(cp);
            continue;
        }
        char mapped = '?';
        for (size_t k = 0; k < kHighControls.size(); ++k) {
            char32_t assigned =
                kHighControls[k] != 0 ? kHighControls[k] : static_cast<char32_t>(0x80 + k);
            if (assigned == cp) mapped = static_cast<char>(0x80 + k);
        }
        out += mapped;
    }
    return out;
}

std::string cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        auto b = static_cast<unsigned char>(c);
        if (b < 0x80 || b >= 0xA0) {
            appendUtf8(out, b);
        } else {
            // The five unassigned codes go to the C1 control of the same
            // number, so every byte string round-trips.
            char32_t cp = kHighControls[b - 0x80];
            appendUtf8(out, cp == 0 ? char32_t{b} : cp);
        }
    }
    return out;
}

std::string firstCharacters(std::string_view utf8, int count) {
    if (count <= 0) return std::string(utf8);
    size_t end = 0;
    for (int taken = 0; end < utf8.size() && taken < count; ++taken) {
        ++end;
        while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) ++end;
    }
    return std::string(utf8.substr(0, end));
}

char upperCp1252(char c) {
    auto b = static_cast<unsigned char>(c);
    if (b >= 'a' && b <= 'z') return static_cast<char>(b - 32);
    // à..þ except ÷ map to À..Þ; ÿ to Ÿ; š, œ, ž to Š, Œ, Ž.
    if (b >= 0xE0 && b <= 0xFE && b != 0xF7) return static_cast<char>(b - 32);
    if (b == 0xFF) return static_cast<char>(0x9F);
    if (b == 0x9A || b == 0x9C || b == 0x9E) return static_cast<char>(b - 16);
    return c;
}

std::string escapeControlCharacters(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            constexpr char kHex[] = "0123456789ABCDEF";
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        } else {
            out += c;
        }
    }
    return out;
}

std::string shortened(std::string_view text, size_t limit) {
    if (text.size() <= limit) return std::string(text);
    size_t cut = limit;
    // Back to the start of a UTF-8 character.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return std::string(text.substr(0, cut)) + "...";
}

}  // namespace pictavo
