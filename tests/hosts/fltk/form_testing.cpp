#include "form_testing.h"

namespace pictavo::testing {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Event;
using platform::EventType;

namespace {

const char* typeName(EventType type) {
    switch (type) {
        case EventType::Click:
            return "Click";
        case EventType::Change:
            return "Change";
        case EventType::KeyDown:
            return "KeyDown";
        case EventType::KeyPress:
            return "KeyPress";
        case EventType::MouseMove:
            return "MouseMove";
        case EventType::MouseDown:
            return "MouseDown";
        case EventType::MouseUp:
            return "MouseUp";
        case EventType::Timer:
            return "Timer";
        case EventType::Paint:
            return "Paint";
        case EventType::Resize:
            return "Resize";
        case EventType::Close:
            return "Close";
    }
    return "?";
}

ControlSpec control(const char* name, ControlKind kind, platform::TwipsRect rect,
                    const char* caption = "", int tabIndex = -1, const char* parent = "") {
    ControlSpec design;
    design.name = name;
    design.kind = kind;
    design.rect = rect;
    design.caption = caption;
    design.tabIndex = tabIndex;
    design.parent = parent;
    return design;
}

}  // namespace

std::vector<std::string> RecordingHandler::described() const {
    std::vector<std::string> lines;
    for (const Event& event : events) {
        std::string line = typeName(event.type);
        if (!event.control.empty()) line += " " + event.control;
        if (event.type == EventType::KeyDown || event.type == EventType::KeyPress)
            line += " " + std::to_string(event.key);
        if (event.type == EventType::MouseMove || event.type == EventType::MouseDown ||
            event.type == EventType::MouseUp)
            line += " " + std::to_string(static_cast<int>(event.x)) + "," +
                    std::to_string(static_cast<int>(event.y));
        lines.push_back(line);
    }
    return lines;
}

int RecordingHandler::count(EventType type, const std::string& control) const {
    int n = 0;
    for (const Event& event : events)
        if (event.type == type && (control.empty() || event.control == control)) ++n;
    return n;
}

const Event* RecordingHandler::last(EventType type) const {
    for (auto it = events.rbegin(); it != events.rend(); ++it)
        if (it->type == type) return &*it;
    return nullptr;
}

platform::FormSpec everyKindLayout() {
    platform::FormSpec design;
    design.name = "frmEvery";
    design.caption = "Every Kind";
    design.clientWidth = 6000;
    design.clientHeight = 4500;

    ControlSpec label =
        control("Label1", ControlKind::Label, {120, 120, 1500, 255}, "Name @ &here:");
    label.transparent = true;
    ControlSpec text = control("Text1", ControlKind::TextBox, {1800, 120, 1500, 285}, "", 0);
    text.maxLength = 5;
    ControlSpec secret = control("Text2", ControlKind::TextBox, {1800, 480, 1500, 285}, "", 1);
    secret.passwordChar = '*';
    secret.maxLength = 20;
    ControlSpec check =
        control("Check1", ControlKind::CheckBox, {120, 900, 1500, 255}, "&Check", 2);
    ControlSpec option1 =
        control("Option1", ControlKind::OptionButton, {120, 1200, 1500, 255}, "One", 3);
    option1.value = 1;
    ControlSpec option2 =
        control("Option2", ControlKind::OptionButton, {120, 1500, 1500, 255}, "Two", 4);
    ControlSpec panel = control("Panel1", ControlKind::PictureBox, {3600, 900, 2100, 1200});
    panel.backColour = platform::bgr(192, 192, 192);
    ControlSpec option3 =
        control("Option3", ControlKind::OptionButton, {120, 120, 1500, 255}, "Three", 5, "Panel1");
    option3.value = 1;
    ControlSpec option4 =
        control("Option4", ControlKind::OptionButton, {120, 480, 1500, 255}, "Four", 6, "Panel1");
    ControlSpec inner =
        control("Label2", ControlKind::Label, {120, 840, 1800, 255}, "In the panel", -1, "Panel1");
    ControlSpec scroll =
        control("HScroll1", ControlKind::HScrollBar, {120, 1860, 3000, 255}, "", 7);
    scroll.minimum = 1;
    scroll.maximum = 1000;
    scroll.value = 1;
    ControlSpec drive = control("Drive1", ControlKind::DriveList, {120, 2220, 2000, 315}, "", 8);
    ControlSpec files = control("File1", ControlKind::FileList, {120, 2640, 2000, 1080}, "", 9);
    ControlSpec picture = control("Picture2", ControlKind::PictureBox, {3600, 2400, 1500, 1125});
    picture.backColour = platform::bgr(0, 0, 0);
    ControlSpec shape = control("Shape1", ControlKind::Shape, {3540, 2340, 1620, 1245});
    ControlSpec line = control("Line1", ControlKind::Line, {3540, 3700, 1620, 0});
    ControlSpec ok = control("Command1", ControlKind::Button, {120, 3900, 1200, 375}, "OK", 10);
    ok.isDefault = true;
    ControlSpec cancel =
        control("Command2", ControlKind::Button, {1500, 3900, 1200, 375}, "Cancel", 11);
    cancel.isCancel = true;
    ControlSpec timer = control("Timer1", ControlKind::Timer, {});
    design.controls = {label,   text,    secret, check,  option1, option2, panel,
                       option3, option4, inner,  scroll, drive,   files,   picture,
                       shape,   line,    ok,     cancel, timer};
    return design;
}

}  // namespace pictavo::testing
