#pragma once
// The one window each mode opens. Start-up decides which; the windows
// themselves live with their subsystems.

#include <cstdint>

namespace pictavo::startup {

inline constexpr const char* kConfigureCaption = "Configure Pictavo";
inline constexpr const char* kChangePasswordCaption = "Change Password";

class ModeWindows {
  public:
    virtual ~ModeWindows() = default;
    // Shows the slide window, not modal; its own load does the rest.
    virtual void startSlideShow() = 0;
    // Shows the configuration dialog modally with the given caption.
    virtual void showConfiguration(const char* caption) = 0;
    // Loads the preview's hidden control form (PreviewWindow is already set).
    virtual void loadPreview() = 0;
    // Shows the password-change dialog, not modal.
    virtual void showChangePassword() = 0;
};

}  // namespace pictavo::startup
