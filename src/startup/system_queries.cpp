#include "startup/system_queries.h"

#include <cstdio>
#include <vector>

namespace pictavo::startup {

namespace {
constexpr uint32_t kFirstPredefinedRoot = 0x80000000u;
constexpr uint32_t kLastPredefinedRoot = 0x80000006u;
constexpr uint32_t kBufferSize = 255;

std::string dwordText(const std::vector<uint8_t>& buffer) {
    // The four bytes are summed in single precision, as the value was always read.
    float value = static_cast<float>(buffer[0]) + 256.0f * static_cast<float>(buffer[1]) +
                  65536.0f * static_cast<float>(buffer[2]) +
                  16777216.0f * static_cast<float>(buffer[3]);
    char text[32];
    std::snprintf(text, sizeof text, "%03.0f", static_cast<double>(value));
    return text;
}

std::string stringText(const std::vector<uint8_t>& buffer, uint32_t size) {
    if (size == 0) return {};
    // The size counts the terminating zero; a value stored without one keeps
    // its last character.
    uint32_t length = buffer[size - 1] == 0 ? size - 1 : size;
    std::string text(buffer.begin(), buffer.begin() + length);
    // A zero inside the value ends the text, as it would for any reader of it.
    return text.substr(0, text.find('\0'));
}
}  // namespace

bool NoWindowTitled(platform::WindowSystem& windows, const std::string& title) {
    return windows.findWindowByTitle(title) == 0;
}

std::string ReadRegistryText(platform::Registry& registry, uint32_t root, const std::string& subKey,
                             const std::string& valueName) {
    if (root < kFirstPredefinedRoot || root > kLastPredefinedRoot) return {};
    platform::RegistryKey key = 0;
    if (registry.openKey(root, subKey, key) != 0) return {};

    std::vector<uint8_t> buffer(kBufferSize, ' ');
    uint32_t size = kBufferSize;
    uint32_t type = 0;
    std::string result;
    if (registry.queryValue(key, valueName, type, buffer, size) == 0 && size <= kBufferSize) {
        if (type == platform::kRegistryDword && size >= 4)
            result = dwordText(buffer);
        else
            result = stringText(buffer, size);
    }
    registry.closeKey(key);
    return result;
}

}  // namespace pictavo::startup
