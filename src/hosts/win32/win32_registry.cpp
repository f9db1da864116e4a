#include "hosts/win32/win32_registry.h"

#include <windows.h>

#include <algorithm>

#include "hosts/win32/text_encoding.h"

namespace pictavo::platform::win32 {

namespace {
// The predefined roots are 32-bit values that a 64-bit build sign-extends.
HKEY rootKey(uint32_t root) {
    return reinterpret_cast<HKEY>(static_cast<intptr_t>(static_cast<int32_t>(root)));
}

HKEY openedKey(RegistryKey key) {
    return reinterpret_cast<HKEY>(static_cast<uintptr_t>(key));
}
}  // namespace

long Win32Registry::openKey(uint32_t root, const std::string& subKey, RegistryKey& key) {
    HKEY opened = nullptr;
    LONG status = RegOpenKeyExA(rootKey(root), toAnsi(subKey).c_str(), 0, KEY_READ, &opened);
    key =
        status == ERROR_SUCCESS ? static_cast<RegistryKey>(reinterpret_cast<uintptr_t>(opened)) : 0;
    return status;
}

long Win32Registry::queryValue(RegistryKey key, const std::string& valueName, uint32_t& type,
                               std::vector<uint8_t>& buffer, uint32_t& size) {
    // Never let the system write past the buffer, whatever size says.
    DWORD room = std::min<DWORD>(size, static_cast<DWORD>(buffer.size()));
    DWORD valueType = 0;
    LONG status = RegQueryValueExA(openedKey(key), toAnsi(valueName).c_str(), nullptr, &valueType,
                                   buffer.data(), &room);
    type = valueType;
    size = room;
    return status;
}

void Win32Registry::closeKey(RegistryKey key) {
    if (key != 0) RegCloseKey(openedKey(key));
}

}  // namespace pictavo::platform::win32
