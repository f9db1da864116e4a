#pragma once
// Windows as data: a form and its controls as one table, written once in
// the core. A backend builds any such table with its own native controls.

#include <optional>
#include <string>
#include <vector>

#include "platform/font.h"
#include "platform/types.h"

namespace pictavo::platform {

enum class ControlKind {
    Label,
    Button,
    CheckBox,
    OptionButton,
    TextBox,  // with passwordChar set: a password box
    HScrollBar,
    PictureBox,  // owns a Surface; also the panels that group controls
    Image,       // a picture resource, optionally stretched to the box
    Shape,       // a rectangle outline or a filled shape
    Line,        // from (left, top) to (left + width, top + height)
    DriveList,
    DirList,
    FileList,
    Timer,  // not drawn
};

enum class Align { Left, Right, Centre };

enum class FormStyle {
    FixedDialog,  // title bar with caption, no resizing, no minimise/maximise
    Borderless,   // no frame at all: the full-screen slide window
    Hidden,       // never shown (the preview's control form)
};

// Rectangle in twips, relative to the parent (the form's client area or a
// container control).
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct ControlSpec {
    std::string name;
    ControlKind kind = ControlKind::Label;
    std::string caption;  // "&" marks the access key
    TwipsRect rect;
    std::string parent;  // name of the container control; empty = the form
    std::optional<Font> font;
    std::optional<Colour> foreColour;
    std::optional<Colour> backColour;
    bool visible = true;
    bool enabled = true;
    bool isDefault = false;    // Enter presses it
    bool isCancel = false;     // Esc presses it
    bool transparent = false;  // labels: background shows through
    bool wordWrap = false;
    bool stretch = false;  // images: scaled to the box
    bool border = false;   // picture boxes: a frame
    Align align = Align::Left;
    char passwordChar = 0;  // text boxes
    int maxLength = 0;      // text boxes; 0 = no limit
    int tabIndex = -1;      // -1 = not a tab stop
    int minimum = 0;        // scroll bars
    int maximum = 0;
    int smallChange = 1;
    int largeChange = 1;
    int value = 0;       // check box, option button (0/1), scroll bar
    int intervalMs = 0;  // timers; 0 = never ticks
    int fillStyle = 1;   // shapes: 0 solid, 1 transparent, 2..7 hatches
    std::optional<Colour> fillColour;
    std::optional<Colour> borderColour;
    std::string resource;  // images and textures: a resource name
};

struct FormSpec {
    std::string name;
    std::string caption;
    int clientWidth = 0;  // twips
    int clientHeight = 0;
    FormStyle style = FormStyle::FixedDialog;
    Colour backColour = bgr(192, 192, 192);
    std::optional<Colour> foreColour;
    Font font;
    bool keyPreview = false;  // the form sees keys before its controls
    bool controlBox = true;   // fixed dialogs: a window menu and a close box
    bool topmost = false;
    std::vector<ControlSpec> controls;
};

}  // namespace pictavo::platform
