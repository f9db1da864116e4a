#include "config/password_encoding.h"

#include "common/text.h"

namespace pictavo::config {

namespace {
constexpr int16_t kEndKey = 71;

// The boxes hold at most 20 characters, so lengths and positions are small;
// beyond 255 only the low byte is used, which keeps every code a byte.
int16_t byteKey(size_t value) {
    return static_cast<int16_t>(value & 0xFF);
}

int16_t codeAt(const std::string& s, size_t i) {
    return static_cast<int16_t>(static_cast<unsigned char>(s[i]));
}

// Positions count from 1 in the rules; here i counts from 0, so the
// position key "i - 1" of the rules is i itself.
void forwardPass(std::string& s) {
    const int16_t n = byteKey(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        int16_t c = codeAt(s, i);
        EncodeStep(c, n);
        if (i == 0) {
            EncodeStep(c, kEndKey);
        } else {
            EncodeStep(c, byteKey(i));
            EncodeStep(c, codeAt(s, i - 1));  // already replaced in this pass
        }
        s[i] = static_cast<char>(c);
    }
}

void backwardPass(std::string& s) {
    const int16_t n = byteKey(s.size());
    for (size_t i = s.size(); i-- > 0;) {
        int16_t c = codeAt(s, i);
        EncodeStep(c, n);
        if (i + 1 == s.size()) {
            EncodeStep(c, kEndKey);
        } else {
            EncodeStep(c, byteKey(i));
            EncodeStep(c, codeAt(s, i + 1));  // already replaced in this pass
        }
        s[i] = static_cast<char>(c);
    }
}
}  // namespace

bool isReservedCode(int code) {
    return (code >= 0 && code <= 32) || (code >= 127 && code <= 144) ||
           (code >= 147 && code <= 159) || code == 61 || code == 91 || code == 93;
}

void EncodeStep(int16_t& code, int16_t key) {
    auto t = static_cast<int16_t>(code ^ key);
    if (!isReservedCode(t)) code = t;
}

std::string encodePasswordBytes(std::string_view cp1252) {
    std::string s(cp1252);
    if (s.empty()) return s;
    for (char& c : s) c = upperCp1252(c);
    forwardPass(s);
    if (s.size() > 1) backwardPass(s);
    return s;
}

std::string EncodePassword(std::string_view text) {
    return cp1252ToUtf8(encodePasswordBytes(utf8ToCp1252(text)));
}

}  // namespace pictavo::config
