#include "imaging/decoders/dxf_text.h"

#include <algorithm>
#include <cctype>

#include "imaging/vector/stroke_font.h"

namespace pictavo::imaging::dxf {

namespace {

int hexValue(char32_t c) {
    if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
    return -1;
}

bool startsWith(const std::u32string& text, size_t at, std::u32string_view prefix) {
    return text.compare(at, prefix.size(), prefix) == 0;
}

// Cuts line into pieces of at most maxCharacters, at the last blank of each
// piece where it has one; adds them to out while it holds fewer than maxLines.
void wrapInto(const std::u32string& line, double maxCharacters, size_t maxLines,
              std::vector<std::u32string>& out) {
    if (out.size() >= maxLines) return;
    if (maxCharacters < 1 || static_cast<double>(line.size()) <= maxCharacters) {
        out.push_back(line);
        return;
    }
    const auto limit = static_cast<size_t>(std::min(maxCharacters, 1e9));
    size_t start = 0;
    while (line.size() - start > limit && out.size() < maxLines) {
        // The blank is looked for within this piece only: a search back to the
        // line's start would make a long line without blanks take forever.
        size_t cut = start + limit;
        while (cut > start && line[cut] != U' ') --cut;
        if (cut == start) cut = start + limit;
        out.push_back(line.substr(start, cut - start));
        start = cut < line.size() && line[cut] == U' ' ? cut + 1 : cut;
    }
    if (out.size() < maxLines) out.push_back(line.substr(start));
}

}  // namespace

std::u32string decodeDxfText(std::string_view raw, bool utf8) {
    const std::u32string text = utf8 ? vector::fromUtf8(raw) : vector::fromWindows1252(raw);
    std::u32string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == U'%' && startsWith(text, i, U"%%") && i + 2 < text.size()) {
            const char32_t code = text[i + 2];
            switch (code) {
                case U'd':
                case U'D':
                    out.push_back(0xB0);
                    i += 2;
                    continue;
                case U'p':
                case U'P':
                    out.push_back(0xB1);
                    i += 2;
                    continue;
                case U'c':
                case U'C':
                    out.push_back(0x2300);
                    i += 2;
                    continue;
                case U'%':
                    out.push_back(U'%');
                    i += 2;
                    continue;
                case U'u':
                case U'U':
                case U'o':
                case U'O':
                case U'k':
                case U'K':
                    i += 2;
                    continue;
                default:
                    break;
            }
        }
        if (text[i] == U'\\' && i + 6 < text.size() && startsWith(text, i, U"\\U+")) {
            int value = 0;
            bool valid = true;
            for (size_t k = 3; k < 7; ++k) {
                const int digit = hexValue(text[i + k]);
                if (digit < 0) valid = false;
                value = value * 16 + digit;
            }
            if (valid) {
                out.push_back(static_cast<char32_t>(value));
                i += 6;
                continue;
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

std::vector<std::u32string> paragraphLines(const std::u32string& text, double maxCharacters,
                                           size_t maxLines) {
    std::vector<std::u32string> lines;
    std::u32string line;
    for (size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (c == U'{' || c == U'}') continue;
        if (c != U'\\' || i + 1 >= text.size()) {
            line.push_back(c);
            continue;
        }
        const char32_t code = text[++i];
        switch (code) {
            case U'P':
                wrapInto(line, maxCharacters, maxLines, lines);
                if (lines.size() >= maxLines) return lines;
                line.clear();
                break;
            case U'~':
                line.push_back(U' ');
                break;
            case U'\\':
            case U'{':
            case U'}':
                line.push_back(code);
                break;
            case U'S': {
                // Stacked text "a^b;" or "a/b;" or "a#b;": shown as a/b.
                for (++i; i < text.size() && text[i] != U';'; ++i) {
                    line.push_back(text[i] == U'^' || text[i] == U'#' ? U'/' : text[i]);
                }
                break;
            }
            case U'L':
            case U'l':
            case U'O':
            case U'o':
            case U'K':
            case U'k':
            case U'N':
                break;
            default:
                // \f...; \H...; \C...; \A...; \W...; \Q...; \T...; \p...; and the like.
                while (i < text.size() && text[i] != U';') ++i;
                break;
        }
    }
    wrapInto(line, maxCharacters, maxLines, lines);
    return lines;
}

}  // namespace pictavo::imaging::dxf
