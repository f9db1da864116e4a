// How a form paints: its background, the graphics drawn on it and the
// colours of the controls that Windows asks it for.
#include "hosts/win32/win32_form.h"

#include <algorithm>

#include "hosts/win32/handles.h"

namespace pictavo::platform::win32 {

namespace {
// The system colour of a text box's background.
constexpr Colour kWindowBackground = 0x80000005u;
}  // namespace

void Win32Form::paintGraphics(HDC dc, const std::string& container) {
    for (const auto& control : controls())
        if (Win32Role* role = roleOf(*control);
            role != nullptr && role->graphical() && control->design().parent == container)
            role->paintGraphic(dc, {0, 0});
}

Colour Win32Form::backColourOf(const std::string& container) const {
    std::string name = container;
    // The depth bound stops a layout whose containers form a loop.
    for (size_t depth = 0; !name.empty() && depth <= controls().size(); ++depth) {
        auto found = std::find_if(controls().begin(), controls().end(),
                                  [&](const auto& control) { return control->name() == name; });
        if (found == controls().end()) break;
        if ((*found)->design().backColour) return *(*found)->design().backColour;
        name = (*found)->design().parent;
    }
    return design().backColour;
}

HBRUSH Win32Form::brushFor(Colour colour) {
    auto found = brushes_.find(colour);
    if (found != brushes_.end()) return found->second.get();
    return brushes_.emplace(colour, UniqueBrush(CreateSolidBrush(toColorRef(colour))))
        .first->second.get();
}

LRESULT Win32Form::onControlColour(UINT message, WPARAM wParam, LPARAM lParam) {
    Win32Role* role = roleByWindow(reinterpret_cast<HWND>(lParam));
    if (role == nullptr) return defaultHandling(message, wParam, lParam);
    const Control& control = role->control();
    auto dc = reinterpret_cast<HDC>(wParam);
    bool isEdit = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
    std::optional<Colour> fore = control.foreColour() ? control.foreColour() : design().foreColour;
    if (fore) SetTextColor(dc, toColorRef(*fore));
    if (control.design().transparent) {
        paintBehind(*role, dc);
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    Colour back = control.design().backColour.value_or(
        isEdit ? kWindowBackground : backColourOf(control.design().parent));
    SetBkColor(dc, toColorRef(back));
    return reinterpret_cast<LRESULT>(brushFor(back));
}

void Win32Form::paintBehind(const Win32Role& role, HDC dc) {
    const std::string& parent = role.control().design().parent;
    Control* container = nullptr;
    for (const auto& control : controls())
        if (control->name() == parent) container = control.get();
    DibSurface* under = container != nullptr ? roleOf(*container)->dibSurface() : background_.get();
    HWND window = role.window();
    RECT area{};
    GetClientRect(window, &area);
    if (under == nullptr) {
        FillRect(dc, &area, brushFor(backColourOf(parent)));
        return;
    }
    POINT at{0, 0};
    MapWindowPoints(window, placementFor(parent).first, &at, 1);
    BitBlt(dc, 0, 0, area.right, area.bottom, under->dc(), at.x, at.y, SRCCOPY);
}

void Win32Form::paint() {
    HWND window = hwnd_;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    // The handler may draw on the background first (the configuration
    // dialog tiles its texture there).
    painting_ = true;
    raise(EventType::Paint);
    painting_ = false;
    if (loaded()) paintInto(dc, paint.rcPaint);
    EndPaint(window, &paint);
}

void Win32Form::paintInto(HDC dc, const RECT& area) {
    if (background_)
        BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top,
               background_->dc(), area.left, area.top, SRCCOPY);
    paintGraphics(dc, "");
}

}  // namespace pictavo::platform::win32
