#pragma once

#include "platform/dialogs.h"

namespace pictavo::platform::win32 {

class Win32Dialogs : public Dialogs {
  public:
    int messageBox(const std::string& text, const std::string& title, int style) override;
};

}  // namespace pictavo::platform::win32
