#include "settings/memory_store.h"

namespace pictavo::settings {

std::optional<std::string> MemorySettingsStore::read(const std::string& application,
                                                     const std::string& section,
                                                     const std::string& key) const {
    auto found = values_.find({application, section, key});
    if (found == values_.end()) return std::nullopt;
    return found->second;
}

Result<void> MemorySettingsStore::write(const std::string& application, const std::string& section,
                                        const std::string& key, const std::string& text) {
    if (failWrites_)
        return makeError("cannot write setting " + section + "\\" + key + ": store is read-only");
    values_[{application, section, key}] = text;
    writeLog_.push_back(section + "/" + key + "=" + text);
    return {};
}

}  // namespace pictavo::settings
