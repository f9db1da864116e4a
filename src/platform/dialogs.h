#pragma once
// Modal message boxes.

#include <string>

namespace pictavo::platform {

// Message box styles: one button set plus one icon.
enum MessageBoxStyle : int {
    kMbOk = 0,
    kMbIconStop = 16,
    kMbIconQuestion = 32,
    kMbIconExclamation = 48,
    kMbIconInformation = 64,
};

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // Shows text under title with the style's icon and an OK button; returns
    // when the user closes it (1 = OK).
    virtual int messageBox(const std::string& text, const std::string& title, int style) = 0;
};

}  // namespace pictavo::platform
