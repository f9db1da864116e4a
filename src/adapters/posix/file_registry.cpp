#include "adapters/posix/file_registry.h"

#include <cstdlib>

#include "common/text.h"

namespace pictavo::platform::posix {

namespace {

const char* rootName(uint32_t root) {
    switch (root) {
        case 0x80000000u:
            return "HKEY_CLASSES_ROOT";
        case 0x80000001u:
            return "HKEY_CURRENT_USER";
        case 0x80000002u:
            return "HKEY_LOCAL_MACHINE";
        case 0x80000003u:
            return "HKEY_USERS";
        default:
            return nullptr;
    }
}
}  // namespace

long FileRegistry::openKey(uint32_t root, const std::string& subKey, RegistryKey& key) {
    const char* rootText = rootName(root);
    if (rootText == nullptr) return kRegistryFileNotFound;
    auto file = IniFile::load(path_);
    if (!file) return kRegistryFileNotFound;
    // Registry key names ignore case.
    std::string wanted = toLowerAscii(std::string(rootText) + "\\" + subKey);
    for (const auto& [section, values] : file->sections()) {
        if (toLowerAscii(section) != wanted) continue;
        key = next_++;
        for (const auto& [name, value] : values) open_[key][toLowerAscii(name)] = value;
        open_[key];
        return 0;
    }
    return kRegistryFileNotFound;
}

long FileRegistry::queryValue(RegistryKey key, const std::string& valueName, uint32_t& type,
                              std::vector<uint8_t>& buffer, uint32_t& size) {
    auto values = open_.find(key);
    if (values == open_.end()) return kRegistryInvalidHandle;
    auto found = values->second.find(toLowerAscii(valueName));
    if (found == values->second.end()) return kRegistryFileNotFound;
    const std::string& text = found->second;
    if (text.rfind("dword:", 0) == 0) {
        type = kRegistryDword;
        auto number = static_cast<uint32_t>(std::strtoul(text.c_str() + 6, nullptr, 16));
        return copyRegistryValue(registryDwordData(number), buffer, size);
    }
    type = kRegistryString;
    return copyRegistryValue(registryStringData(text), buffer, size);
}

void FileRegistry::closeKey(RegistryKey key) {
    open_.erase(key);
}

}  // namespace pictavo::platform::posix
