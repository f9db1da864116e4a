#include "hosts/headless/headless_registry.h"

#include "common/text.h"

namespace pictavo::platform::headless {

namespace {
// Key names are compared without regard to case, as the registry does.
std::string keyName(const std::string& subKey) {
    return toLowerAscii(subKey);
}
}  // namespace

long HeadlessRegistry::openKey(uint32_t root, const std::string& subKey, RegistryKey& key) {
    KeyName name{root, keyName(subKey)};
    if (!keys_.contains(name)) return kRegistryFileNotFound;
    key = nextKey_++;
    open_[key] = name;
    return 0;
}

long HeadlessRegistry::queryValue(RegistryKey key, const std::string& valueName, uint32_t& type,
                                  std::vector<uint8_t>& buffer, uint32_t& size) {
    auto openKey = open_.find(key);
    if (openKey == open_.end()) return kRegistryInvalidHandle;
    const auto& values = keys_[openKey->second];
    auto value = values.find(toLowerAscii(valueName));
    if (value == values.end()) return kRegistryFileNotFound;
    type = value->second.type;
    return copyRegistryValue(value->second.data, buffer, size);
}

void HeadlessRegistry::closeKey(RegistryKey key) {
    open_.erase(key);
}

void HeadlessRegistry::setString(uint32_t root, const std::string& subKey, const std::string& name,
                                 const std::string& text) {
    keys_[{root, keyName(subKey)}][toLowerAscii(name)] = {kRegistryString,
                                                          registryStringData(text)};
}

void HeadlessRegistry::setDword(uint32_t root, const std::string& subKey, const std::string& name,
                                uint32_t v) {
    keys_[{root, keyName(subKey)}][toLowerAscii(name)] = {kRegistryDword, registryDwordData(v)};
}

void HeadlessRegistry::addKey(uint32_t root, const std::string& subKey) {
    keys_[{root, keyName(subKey)}];
}

}  // namespace pictavo::platform::headless
