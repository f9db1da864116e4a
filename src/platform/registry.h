#pragma once
// The system registry, read only: the primitive under the start-up code's
// reading of "ScreenSaveUsePassword".

#include <cstdint>
#include <string>
#include <vector>

namespace pictavo::platform {

using RegistryKey = uint64_t;

constexpr uint32_t kRegistryString = 1;
constexpr uint32_t kRegistryDword = 4;

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

}  // namespace pictavo::platform
