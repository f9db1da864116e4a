#include "adapters/posix/file_settings_store.h"

#include <cstdlib>

#include "adapters/posix/ini_file.h"

namespace pictavo::platform::posix {

namespace {
std::string sectionName(const std::string& application, const std::string& section) {
    return application + "\\" + section;
}
}  // namespace

std::optional<std::string> FileSettingsStore::read(const std::string& application,
                                                   const std::string& section,
                                                   const std::string& key) const {
    auto file = IniFile::load(path_);
    if (!file) return std::nullopt;
    return file->get(sectionName(application, section), key);
}

Result<void> FileSettingsStore::write(const std::string& application, const std::string& section,
                                      const std::string& key, const std::string& text) {
    auto file = IniFile::load(path_);
    // An unreadable file is not overwritten: that would lose what it holds.
    if (!file) return file.error();
    file->set(sectionName(application, section), key, text);
    return file->save(path_);
}

std::string configFolder() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/') return std::string(xdg) + "/pictavo";
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : ".") + "/.config/pictavo";
}

}  // namespace pictavo::platform::posix
