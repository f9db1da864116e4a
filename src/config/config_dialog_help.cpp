#include "config/config_dialog.h"

namespace pictavo::config {

std::string ConfigDialog::helpText() {
    static constexpr const char* kParagraphs[] = {
        "To configure your screen saver:",
        "Pictavo accepts 16 different graphic formats; select the path to the images you want to "
        "use.  Note "
        "that images do not have to be the same size, since they will all be centered or expanded "
        "to screen "
        "size when displayed. Supported file types are: BMP, DIB, DCX, DXF, EPS, FMF, IMG, JPEG, "
        "PCD, PCX, PNG, "
        "RLE, TGA, TIFF, WMF, and WPG.",
        "The program will randomly select from 32 different transition effects. Select the "
        "transition speed "
        "and the transition interval.",
        "If you want to password protect the screen saver, check the PASSWORD PROTECTED box and "
        "click the SET "
        "PASSWORD... button; uncheck the PASSWORD PROTECTED box to disable the password "
        "protection.",
        "Click OK to save your changes, or click CANCEL (or the ESC key) to cancel changes.",
        "Note: On 256-color systems, transitions may be preceded by a dramatic color shift; this "
        "occurs when "
        "the combined palettes of the two slides exceed the number of display colors available.",
    };
    std::string text;
    for (const char* paragraph : kParagraphs) {
        if (!text.empty()) text += "\r\n\r\n";
        text += paragraph;
    }
    return text;
}

}  // namespace pictavo::config
