#pragma once
// The saver's keys in the per-user settings store: where each lives, its
// default, how its text becomes a number, and how numbers are written.

#include <cstdint>
#include <string>

#include "common/result.h"
#include "platform/settings_store.h"
#include "state/saver_state.h"

namespace pictavo::settings {

inline constexpr const char* kApplication = "Brackenfeld Applications";
inline constexpr const char* kSectionPictavo = "Pictavo";
inline constexpr const char* kSectionScreenSaver = "ScreenSaver";

inline constexpr const char* kKeyInterval = "Interval";
inline constexpr const char* kKeyStretch = "Stretch";
inline constexpr const char* kKeySpeed = "Speed";
inline constexpr const char* kKeyPicturePath = "PicturePath";
inline constexpr const char* kKeyPassword = "Password";

inline constexpr int32_t kDefaultInterval = 10;
inline constexpr int16_t kDefaultStretch = 0;
inline constexpr int16_t kDefaultSpeed = 1;

// The stored text, or defaultText when the key, section or application is absent.
std::string ReadSetting(const platform::SettingsStore& store, const std::string& application,
                        const std::string& section, const std::string& key,
                        const std::string& defaultText);
Result<void> WriteSetting(platform::SettingsStore& store, const std::string& application,
                          const std::string& section, const std::string& key,
                          const std::string& text);

// Plain decimal: no sign for positives, no padding, no blank.
std::string decimalText(long long value);

// Loads a numeric key: the text read as a decimal number, rounded halves to
// even. A text that is not a number, or does not fit, gives the default.
int32_t loadInt32(const platform::SettingsStore& store, const std::string& section,
                  const std::string& key, int32_t defaultValue);
int16_t loadInt16(const platform::SettingsStore& store, const std::string& section,
                  const std::string& key, int16_t defaultValue);

// "PicturePath" with the separator appended when the text does not end with it.
std::string loadPicturePath(const platform::SettingsStore& store, const std::string& defaultFolder,
                            char separator);

std::string loadPassword(const platform::SettingsStore& store);

// Writes the four picture settings in the order the configuration dialog
// saves them: folder, interval, speed, stretch.
Result<void> savePictureSettings(platform::SettingsStore& store, const std::string& folder,
                                 int32_t interval, int speed, int stretch);
Result<void> savePassword(platform::SettingsStore& store, const std::string& encoded);

}  // namespace pictavo::settings
