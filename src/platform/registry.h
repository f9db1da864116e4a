#pragma once
// The system registry, read only: the primitive under the start-up code's
// reading of "ScreenSaveUsePassword".

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace pictavo::platform {

using RegistryKey = uint64_t;

constexpr uint32_t kRegistryString = 1;
constexpr uint32_t kRegistryDword = 4;

// The system's error codes, which the registries kept in files and in
// memory answer with as well.
constexpr long kRegistryFileNotFound = 2;
constexpr long kRegistryInvalidHandle = 6;
constexpr long kRegistryMoreData = 234;

// A text value as the system stores it: its bytes and a terminating zero.
inline std::vector<uint8_t> registryStringData(const std::string& text) {
    std::vector<uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    return data;
}

// A 32-bit number value: four bytes, least significant first.
inline std::vector<uint8_t> registryDwordData(uint32_t value) {
    return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
            static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
}

class Registry {
  public:
    virtual ~Registry() = default;
    // Opens subKey under a predefined root for reading. 0 = success.
    virtual long openKey(uint32_t root, const std::string& subKey, RegistryKey& key) = 0;
    // Reads valueName into buffer (whose size on entry is the room there is);
    // on success type is the value's type and size the bytes stored. 0 = success.
    virtual long queryValue(RegistryKey key, const std::string& valueName, uint32_t& type,
                            std::vector<uint8_t>& buffer, uint32_t& size) = 0;
    virtual void closeKey(RegistryKey key) = 0;
};

// Answers a queryValue with a value's bytes: copied when buffer and size
// leave room for them, else kRegistryMoreData and size set to the room needed.
inline long copyRegistryValue(const std::vector<uint8_t>& data, std::vector<uint8_t>& buffer,
                              uint32_t& size) {
    auto needed = static_cast<uint32_t>(data.size());
    if (needed > size || data.size() > buffer.size()) {
        size = needed;
        return kRegistryMoreData;
    }
    std::copy(data.begin(), data.end(), buffer.begin());
    size = needed;
    return 0;
}

}  // namespace pictavo::platform
