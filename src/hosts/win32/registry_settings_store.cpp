#include "hosts/win32/registry_settings_store.h"

#include <windows.h>

#include <vector>

#include "hosts/win32/system_error.h"
#include "hosts/win32/text_encoding.h"

namespace pictavo::platform::win32 {

namespace {
class KeyCloser {
  public:
    explicit KeyCloser(HKEY key) : key_(key) {}
    ~KeyCloser() { RegCloseKey(key_); }
    KeyCloser(const KeyCloser&) = delete;
    KeyCloser& operator=(const KeyCloser&) = delete;

  private:
    HKEY key_;
};

std::optional<std::wstring> queryString(HKEY key, const std::wstring& name) {
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    // One spare character so a value stored without its terminator still ends.
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD room = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                         &room) != ERROR_SUCCESS)
        return std::nullopt;
    size_t characters = room / sizeof(wchar_t);
    std::wstring text(buffer.data(), characters);
    return text.substr(0, text.find(L'\0'));
}
}  // namespace

std::string RegistrySettingsStore::keyPath(const std::string& application,
                                           const std::string& section) {
    return "Software\\" + application + "\\" + section;
}

std::optional<std::string> RegistrySettingsStore::read(const std::string& application,
                                                       const std::string& section,
                                                       const std::string& key) const {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, toWide(keyPath(application, section)).c_str(), 0,
                      KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
        return std::nullopt;
    KeyCloser closer(opened);
    std::optional<std::wstring> text = queryString(opened, toWide(key));
    if (!text) return std::nullopt;
    return toUtf8(*text);
}

Result<void> RegistrySettingsStore::write(const std::string& application,
                                          const std::string& section, const std::string& key,
                                          const std::string& text) {
    std::string path = keyPath(application, section);
    HKEY created = nullptr;
    LONG status =
        RegCreateKeyExW(HKEY_CURRENT_USER, toWide(path).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &created, nullptr);
    if (status != ERROR_SUCCESS)
        return makeError("cannot open the settings key " + path + ": " +
                         systemErrorText(static_cast<uint32_t>(status)));
    KeyCloser closer(created);
    std::wstring wide = toWide(text);
    DWORD bytes = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
    status = RegSetValueExW(created, toWide(key).c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(wide.c_str()), bytes);
    if (status != ERROR_SUCCESS)
        return makeError("cannot write the setting " + key + ": " +
                         systemErrorText(static_cast<uint32_t>(status)));
    return {};
}

}  // namespace pictavo::platform::win32
