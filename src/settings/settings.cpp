#include "settings/settings.h"

#include <optional>

#include "common/numbers.h"

namespace pictavo::settings {

std::string ReadSetting(const platform::SettingsStore& store, const std::string& application,
                        const std::string& section, const std::string& key,
                        const std::string& defaultText) {
    std::optional<std::string> stored = store.read(application, section, key);
    return stored ? *stored : defaultText;
}

Result<void> WriteSetting(platform::SettingsStore& store, const std::string& application,
                          const std::string& section, const std::string& key,
                          const std::string& text) {
    return store.write(application, section, key, text);
}

std::string decimalText(long long value) {
    return std::to_string(value);
}

int32_t loadInt32(const platform::SettingsStore& store, const std::string& section,
                  const std::string& key, int32_t defaultValue) {
    std::string text = ReadSetting(store, kApplication, section, key, decimalText(defaultValue));
    std::optional<double> number = parseDecimal(text);
    if (!number) return defaultValue;
    return tryInt32(*number).value_or(defaultValue);
}

int16_t loadInt16(const platform::SettingsStore& store, const std::string& section,
                  const std::string& key, int16_t defaultValue) {
    std::string text = ReadSetting(store, kApplication, section, key, decimalText(defaultValue));
    std::optional<double> number = parseDecimal(text);
    if (!number) return defaultValue;
    return tryInt16(*number).value_or(defaultValue);
}

std::string loadPicturePath(const platform::SettingsStore& store, const std::string& defaultFolder,
                            char separator) {
    std::string path =
        ReadSetting(store, kApplication, kSectionPictavo, kKeyPicturePath, defaultFolder);
    if (path.empty() || path.back() != separator) path += separator;
    return path;
}

std::string loadPassword(const platform::SettingsStore& store) {
    return ReadSetting(store, kApplication, kSectionScreenSaver, kKeyPassword, "");
}

Result<void> savePictureSettings(platform::SettingsStore& store, const std::string& folder,
                                 int32_t interval, int speed, int stretch) {
    const std::pair<const char*, std::string> values[] = {
        {kKeyPicturePath, folder},
        {kKeyInterval, decimalText(interval)},
        {kKeySpeed, decimalText(speed)},
        {kKeyStretch, decimalText(stretch)},
    };
    for (const auto& [key, text] : values) {
        Result<void> written = WriteSetting(store, kApplication, kSectionPictavo, key, text);
        if (!written) return written;
    }
    return {};
}

Result<void> savePassword(platform::SettingsStore& store, const std::string& encoded) {
    return WriteSetting(store, kApplication, kSectionScreenSaver, kKeyPassword, encoded);
}

}  // namespace pictavo::settings
