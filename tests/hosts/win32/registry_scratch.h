#pragma once
// A registry key under HKEY_CURRENT_USER\Software that exists only for one
// test: removed before it starts and after it ends.

#include <windows.h>

#include <cstdint>
#include <string>

namespace pictavo::testing {

class ScratchKey {
  public:
    explicit ScratchKey(std::wstring path) : path_(std::move(path)) { remove(); }
    ~ScratchKey() { remove(); }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    bool exists() const {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

    // Stores raw bytes of any type under the key (or a subkey of it).
    void setRaw(const std::wstring& subKey, const std::wstring& name, DWORD type, const void* data,
                DWORD bytes) const {
        HKEY key = nullptr;
        std::wstring full = subKey.empty() ? path_ : path_ + L"\\" + subKey;
        RegCreateKeyExW(HKEY_CURRENT_USER, full.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr);
        RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), bytes);
        RegCloseKey(key);
    }
    void setDword(const std::wstring& subKey, const std::wstring& name, uint32_t value) const {
        DWORD data = value;
        setRaw(subKey, name, REG_DWORD, &data, sizeof data);
    }
    void setString(const std::wstring& subKey, const std::wstring& name,
                   const std::wstring& text) const {
        setRaw(subKey, name, REG_SZ, text.c_str(),
               static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }

    // The raw UTF-16 text of a string value, without its terminator.
    std::wstring rawString(const std::wstring& subKey, const std::wstring& name) const {
        std::wstring full = subKey.empty() ? path_ : path_ + L"\\" + subKey;
        wchar_t buffer[512] = {};
        DWORD bytes = sizeof buffer - sizeof(wchar_t);
        DWORD type = 0;
        if (RegGetValueW(HKEY_CURRENT_USER, full.c_str(), name.c_str(), RRF_RT_ANY, &type, buffer,
                         &bytes) != ERROR_SUCCESS ||
            type != REG_SZ)
            return L"<not a string>";
        return buffer;
    }

  private:
    void remove() const {
        RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, path_.c_str());
    }

    std::wstring path_;
};

}  // namespace pictavo::testing
