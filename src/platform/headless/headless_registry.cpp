#include "platform/headless/headless_registry.h"

#include <algorithm>

#include "common/text.h"

namespace pictavo::platform::headless {

namespace {
constexpr long kErrorFileNotFound = 2;
constexpr long kErrorInvalidHandle = 6;
constexpr long kErrorMoreData = 234;

// Key names are compared without regard to case, as the registry does.
std::string keyName(const std::string& subKey) { return toLowerAscii(subKey); }
}  // namespace

long HeadlessRegistry::openKey(uint32_t root, const std::string& subKey, RegistryKey& key) {
    KeyName name{root, keyName(subKey)};
    if (!keys_.contains(name)) return kErrorFileNotFound;
    key = nextKey_++;
    open_[key] = name;
    return 0;
}

long HeadlessRegistry::queryValue(RegistryKey key, const std::string& valueName, uint32_t& type,
                                  std::vector<uint8_t>& buffer, uint32_t& size) {
    auto openKey = open_.find(key);
    if (openKey == open_.end()) return kErrorInvalidHandle;
    const auto& values = keys_[openKey->second];
    auto value = values.find(toLowerAscii(valueName));
    if (value == values.end()) return kErrorFileNotFound;
    type = value->second.type;
    uint32_t needed = static_cast<uint32_t>(value->second.data.size());
    if (needed > size || needed > buffer.size()) {
        size = needed;
        return kErrorMoreData;
    }
    std::copy(value->second.data.begin(), value->second.data.end(), buffer.begin());
    size = needed;
    return 0;
}

void HeadlessRegistry::closeKey(RegistryKey key) { open_.erase(key); }

void HeadlessRegistry::setString(uint32_t root, const std::string& subKey, const std::string& name,
                                 const std::string& text) {
    Value value{kRegistryString, std::vector<uint8_t>(text.begin(), text.end())};
    value.data.push_back(0);
    keys_[{root, keyName(subKey)}][toLowerAscii(name)] = std::move(value);
}

void HeadlessRegistry::setDword(uint32_t root, const std::string& subKey, const std::string& name, uint32_t v) {
    Value value{kRegistryDword, {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                                 static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)}};
    keys_[{root, keyName(subKey)}][toLowerAscii(name)] = std::move(value);
}

void HeadlessRegistry::addKey(uint32_t root, const std::string& subKey) { keys_[{root, keyName(subKey)}]; }

}  // namespace pictavo::platform::headless
