#pragma once
// The primary display, read fresh on every call so a changed resolution is
// seen by whoever asks next.

#include "platform/screen.h"

namespace pictavo::platform::win32 {

class Win32Screen : public Screen {
  public:
    double twipsPerPixelX() const override;
    double twipsPerPixelY() const override;
    double widthTwips() const override;
    double heightTwips() const override;
    int64_t displayColours() const override;
};

}  // namespace pictavo::platform::win32
