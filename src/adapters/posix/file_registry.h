#pragma once
// The few system values the saver reads from the Windows registry, kept on
// Linux in $XDG_CONFIG_HOME/pictavo/system.ini:
//
//   [HKEY_CURRENT_USER\Control Panel\Desktop]
//   ScreenSaveUsePassword=1              a text value
//   ScreenSaveUsePassword=dword:00000001 a 32-bit number
//
// The saver never writes this file; the user (or a test) does.

#include <map>
#include <string>

#include "adapters/posix/ini_file.h"
#include "platform/registry.h"

namespace pictavo::platform::posix {

class FileRegistry : public Registry {
  public:
    explicit FileRegistry(std::string path) : path_(std::move(path)) {}

    long openKey(uint32_t root, const std::string& subKey, RegistryKey& key) override;
    long queryValue(RegistryKey key, const std::string& valueName, uint32_t& type,
                    std::vector<uint8_t>& buffer, uint32_t& size) override;
    void closeKey(RegistryKey key) override;

  private:
    std::string path_;
    std::map<RegistryKey, std::map<std::string, std::string>> open_;
    RegistryKey next_ = 1;
};

}  // namespace pictavo::platform::posix
