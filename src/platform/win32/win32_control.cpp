#include "platform/win32/win32_control.h"

#include <windowsx.h>

#include <algorithm>

#include "platform/win32/gdi_objects.h"
#include "platform/win32/graphic_paint.h"
#include "platform/win32/handles.h"
#include "platform/win32/input_state.h"
#include "platform/win32/resource_pictures.h"
#include "platform/win32/text_encoding.h"

namespace pictavo::platform::win32 {

namespace {
struct NativeClass {
    const wchar_t* name;
    DWORD style;
    DWORD exStyle;
};

// The drop-down of a drive list opens below its one-line box.
constexpr int kDropDownRows = 8;
DWORD alignStyle(Align align) {
    switch (align) {
        case Align::Right:
            return SS_RIGHT;
        case Align::Centre:
            return SS_CENTER;
        case Align::Left:
            break;
    }
    return SS_LEFT;
}

std::optional<NativeClass> nativeClassFor(const ControlSpec& design) {
    switch (design.kind) {
        case ControlKind::Label:
            return NativeClass{L"STATIC", SS_NOTIFY | alignStyle(design.align), 0};
        case ControlKind::Button:
            return NativeClass{
                L"BUTTON", static_cast<DWORD>(design.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
                0};
        case ControlKind::CheckBox:
            return NativeClass{L"BUTTON", BS_AUTOCHECKBOX, 0};
        case ControlKind::OptionButton:
            return NativeClass{L"BUTTON", BS_RADIOBUTTON, 0};
        case ControlKind::TextBox:
            return NativeClass{
                L"EDIT",
                static_cast<DWORD>(ES_AUTOHSCROLL | (design.passwordChar != 0 ? ES_PASSWORD : 0)),
                WS_EX_CLIENTEDGE};
        case ControlKind::HScrollBar:
            return NativeClass{L"SCROLLBAR", SBS_HORZ, 0};
        case ControlKind::DriveList:
            return NativeClass{L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 0};
        case ControlKind::DirList:
        case ControlKind::FileList:
            return NativeClass{L"LISTBOX",
                               LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER, 0};
        case ControlKind::PictureBox:
        case ControlKind::Image:
        case ControlKind::Shape:
        case ControlKind::Line:
        case ControlKind::Timer:
            break;
    }
    return std::nullopt;
}

// Counts UTF-16 units, as the edit control does.
std::string truncateToLength(const std::string& text, int maxLength) {
    if (maxLength <= 0) return text;
    std::wstring wide = toWide(text);
    if (wide.size() <= static_cast<size_t>(maxLength)) return text;
    return toUtf8(std::wstring_view(wide).substr(0, static_cast<size_t>(maxLength)));
}
}  // namespace

Win32Control::Win32Control(const ControlSpec& design, ControlHost& host, int id)
    : StatefulControl(design), host_(host), id_(id) {}

Win32Control::~Win32Control() {
    if (timerRunning_ && IsWindow(host_.formWindow()))
        KillTimer(host_.formWindow(), static_cast<UINT_PTR>(id_));
}

void Win32Control::create(HFONT font) {
    if (isKind(ControlKind::Timer)) {
        updateTimer();
        return;
    }
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    if (spec_.tabIndex >= 0) style |= WS_TABSTOP;
    if (state_.visible) style |= WS_VISIBLE;
    if (!state_.enabled) style |= WS_DISABLED;
    if (isKind(ControlKind::PictureBox)) {
        createPicture(style);
        return;
    }
    std::optional<NativeClass> native = nativeClassFor(spec_);
    if (!native) return;
    style |= native->style;
    auto [parent, origin] = host_.placementFor(spec_.parent);
    std::wstring title = showsCaption() ? toWide(state_.caption) : std::wstring();
    hwnd_ = CreateWindowExW(native->exStyle, native->name, title.c_str(), style, 0, 0, 0, 0, parent,
                            reinterpret_cast<HMENU>(static_cast<intptr_t>(id_)),
                            GetModuleHandleW(nullptr), nullptr);
    if (hwnd_ == nullptr) return;
    if (font != nullptr) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    placeWindow();

    host_.beginProgrammaticChange();
    if (isKind(ControlKind::TextBox)) {
        if (spec_.passwordChar != 0)
            SendMessageW(hwnd_, EM_SETPASSWORDCHAR, static_cast<WPARAM>(spec_.passwordChar), 0);
        if (spec_.maxLength > 0)
            SendMessageW(hwnd_, EM_SETLIMITTEXT, static_cast<WPARAM>(spec_.maxLength), 0);
    } else if (isKind(ControlKind::HScrollBar)) {
        SCROLLINFO info{
            sizeof info, SIF_RANGE | SIF_POS, spec_.minimum, spec_.maximum, 0, state_.value, 0};
        SetScrollInfo(hwnd_, SB_CTL, &info, FALSE);
    } else if (isKind(ControlKind::CheckBox) || isKind(ControlKind::OptionButton)) {
        setCheck(state_.value != 0);
    }
    host_.endProgrammaticChange();
}

void Win32Control::createPicture(DWORD style) {
    SIZE size = pictureSize();
    surface_ = std::make_unique<DibSurface>(size.cx, size.cy, pictureBackColour());
    // A picture designed with the box.
    if (!spec_.resource.empty()) surface_->drawImage(resourcePicture(spec_.resource), 0, 0);
    if (spec_.border) style |= WS_BORDER;
    picture_ = std::make_unique<PictureWindow>(static_cast<PictureWindow::Owner&>(*this),
                                               host_.placementFor(spec_.parent).first, id_,
                                               style | WS_CLIPCHILDREN);
    // Transparent labels on the picture show its image: they repaint with it.
    surface_->setPresenter([this](const RECT& changed) {
        if (HWND window = this->window())
            RedrawWindow(window, &changed, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    });
    placeWindow();
}

Colour Win32Control::pictureBackColour() const {
    return spec_.backColour.value_or(host_.backColourOf(""));
}

SIZE Win32Control::pictureSize() const {
    const TwipsScale& scale = host_.scale();
    int frame = spec_.border ? 2 : 0;
    return {std::max(scale.toPixelsX(state_.rect.width) - frame, 0),
            std::max(scale.toPixelsY(state_.rect.height) - frame, 0)};
}

HWND Win32Control::window() const {
    return picture_ ? picture_->window() : hwnd_;
}

void Win32Control::forgetWindow() {
    hwnd_ = nullptr;
    timerRunning_ = false;
}

bool Win32Control::isGraphical() const {
    return isKind(ControlKind::Image) || isKind(ControlKind::Shape) || isKind(ControlKind::Line);
}

RECT Win32Control::areaInContainer() const {
    const TwipsScale& scale = host_.scale();
    POINT origin = host_.placementFor(spec_.parent).second;
    int left = origin.x + scale.toPixelsX(state_.rect.left);
    int top = origin.y + scale.toPixelsY(state_.rect.top);
    return {left, top, left + scale.toPixelsX(state_.rect.width),
            top + scale.toPixelsY(state_.rect.height)};
}

void Win32Control::repaintGraphic() {
    if (!isGraphical()) return;
    HWND container = host_.placementFor(spec_.parent).first;
    if (container == nullptr) return;
    RECT area = areaInContainer();
    // A line's far end and the outline's last pixels lie on the edge.
    InflateRect(&area, 1, 1);
    InvalidateRect(container, &area, FALSE);
}

void Win32Control::paintGraphic(HDC dc, POINT origin) {
    if (!state_.visible || !isGraphical()) return;
    RECT area = areaInContainer();
    OffsetRect(&area, origin.x, origin.y);
    if (isKind(ControlKind::Line)) {
        paintLine(dc, area, spec_.borderColour);
    } else if (isKind(ControlKind::Shape)) {
        paintShape(dc, area, spec_.borderColour, state_.fillStyle, state_.fillColour);
    } else {
        if (graphic_.empty() && !spec_.resource.empty())
            graphic_ = laidOn(resourcePicture(spec_.resource), host_.backColourOf(spec_.parent));
        paintImage(dc, area, graphic_, spec_.stretch);
    }
}

void Win32Control::paintPicture(HDC dc, const RECT& area) {
    if (surface_)
        BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top,
               surface_->dc(), area.left, area.top, SRCCOPY);
    host_.paintGraphics(dc, spec_.name);
}

void Win32Control::pictureMouse(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = this->window();
    Event event;
    event.control = spec_.name;
    event.x = GET_X_LPARAM(lParam);  // picture boxes measure in pixels
    event.y = GET_Y_LPARAM(lParam);
    event.shift = shiftState();
    if (message == WM_MOUSEMOVE) {
        event.type = EventType::MouseMove;
        event.button = heldButtons(wParam);
        host_.raiseFrom(event);
        return;
    }
    int button = buttonOf(message);
    event.button = button;
    if (isButtonDown(message)) {
        pressedButtons_ |= button;
        SetCapture(window);
        event.type = EventType::MouseDown;
        host_.raiseFrom(event);
        return;
    }
    // A click is a press and a release over the box.
    RECT client{};
    GetClientRect(window, &client);
    POINT at{static_cast<LONG>(event.x), static_cast<LONG>(event.y)};
    bool clicked = (pressedButtons_ & button) != 0 && PtInRect(&client, at);
    pressedButtons_ &= ~button;
    if (pressedButtons_ == 0 && GetCapture() == window) ReleaseCapture();
    event.type = EventType::MouseUp;
    host_.raiseFrom(event);
    if (!clicked) return;
    Event click = event;
    click.type = EventType::Click;
    host_.raiseFrom(click);
}

LRESULT Win32Control::childNotification(UINT message, WPARAM wParam, LPARAM lParam) {
    return host_.forwardToForm(message, wParam, lParam);
}

bool Win32Control::showsCaption() const {
    return isKind(ControlKind::Label) || isKind(ControlKind::Button) ||
           isKind(ControlKind::CheckBox) || isKind(ControlKind::OptionButton);
}

void Win32Control::placeWindow() {
    HWND window = this->window();
    if (window == nullptr) return;
    RECT area = areaInContainer();
    int height = area.bottom - area.top;
    if (isKind(ControlKind::DriveList)) height *= kDropDownRows;
    MoveWindow(window, area.left, area.top, area.right - area.left, height, TRUE);
}

std::string Win32Control::windowText() const {
    int length = GetWindowTextLengthW(hwnd_);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(hwnd_, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(copied, 0)));
    return toUtf8(text);
}

void Win32Control::setWindowText(const std::string& text) {
    host_.beginProgrammaticChange();
    SetWindowTextW(hwnd_, toWide(text).c_str());
    host_.endProgrammaticChange();
}

std::string Win32Control::caption() const {
    return hwnd_ != nullptr && showsCaption() ? windowText() : state_.caption;
}

void Win32Control::setCaption(const std::string& caption) {
    state_.caption = caption;
    if (hwnd_ != nullptr && showsCaption()) setWindowText(caption);
}

std::string Win32Control::text() const {
    return hwnd_ != nullptr && isKind(ControlKind::TextBox) ? windowText() : state_.text;
}

void Win32Control::setText(const std::string& text) {
    state_.text = truncateToLength(text, spec_.maxLength);
    if (hwnd_ != nullptr && isKind(ControlKind::TextBox)) setWindowText(state_.text);
}

int Win32Control::value() const {
    if (hwnd_ != nullptr && (isKind(ControlKind::CheckBox) || isKind(ControlKind::OptionButton)))
        return SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    return state_.value;
}

void Win32Control::setCheck(bool checked) {
    state_.value = checked ? 1 : 0;
    if (hwnd_ != nullptr)
        SendMessageW(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Win32Control::setValue(int value) {
    if (isKind(ControlKind::OptionButton)) {
        setCheck(value != 0);
        if (value != 0) host_.optionChosen(*this);
    } else if (isKind(ControlKind::CheckBox)) {
        setCheck(value != 0);
    } else if (isKind(ControlKind::HScrollBar)) {
        state_.value = std::clamp(value, std::min(spec_.minimum, spec_.maximum),
                                  std::max(spec_.minimum, spec_.maximum));
        if (hwnd_ != nullptr) SetScrollPos(hwnd_, SB_CTL, state_.value, TRUE);
    } else {
        state_.value = value;
    }
}

bool Win32Control::scroll(int code, int trackPosition) {
    int next = state_.value;
    switch (code) {
        case SB_LINELEFT:
            next -= spec_.smallChange;
            break;
        case SB_LINERIGHT:
            next += spec_.smallChange;
            break;
        case SB_PAGELEFT:
            next -= spec_.largeChange;
            break;
        case SB_PAGERIGHT:
            next += spec_.largeChange;
            break;
        case SB_LEFT:
            next = spec_.minimum;
            break;
        case SB_RIGHT:
            next = spec_.maximum;
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            next = trackPosition;
            break;
        default:
            return false;
    }
    int before = state_.value;
    setValue(next);
    return state_.value != before;
}

void Win32Control::setEnabled(bool enabled) {
    state_.enabled = enabled;
    if (isKind(ControlKind::Timer)) updateTimer();
    if (HWND window = this->window()) EnableWindow(window, enabled ? TRUE : FALSE);
}

void Win32Control::setVisible(bool visible) {
    if (visible == state_.visible) return;
    state_.visible = visible;
    if (HWND window = this->window()) ShowWindow(window, visible ? SW_SHOWNA : SW_HIDE);
    repaintGraphic();
}

void Win32Control::move(const TwipsRect& rect) {
    repaintGraphic();  // where it was
    state_.rect = rect;
    if (surface_) {
        SIZE size = pictureSize();
        surface_->resizeKeeping(size.cx, size.cy, pictureBackColour());
    }
    placeWindow();
    repaintGraphic();
}

void Win32Control::setFillStyle(int style) {
    state_.fillStyle = style;
    repaintGraphic();
}

void Win32Control::setFillColour(Colour colour) {
    state_.fillColour = colour;
    repaintGraphic();
}

void Win32Control::setFocus() {
    if (HWND window = this->window()) SetFocus(window);
}

void Win32Control::setForeColour(Colour colour) {
    state_.foreColour = colour;
    if (hwnd_ != nullptr) InvalidateRect(hwnd_, nullptr, TRUE);
}

void Win32Control::setInterval(int milliseconds) {
    state_.interval = milliseconds;
    if (isKind(ControlKind::Timer)) updateTimer();
}

void Win32Control::updateTimer() {
    HWND form = host_.formWindow();
    if (form == nullptr) return;
    auto timerId = static_cast<UINT_PTR>(id_);
    if (state_.enabled && state_.interval > 0) {
        // Setting an existing timer again restarts its count from now.
        timerRunning_ = SetTimer(form, timerId, static_cast<UINT>(state_.interval), nullptr) != 0;
    } else if (timerRunning_) {
        KillTimer(form, timerId);
        timerRunning_ = false;
    }
}

void Win32Control::fillNativeList() {
    bool combo = isKind(ControlKind::DriveList);
    UINT reset = combo ? CB_RESETCONTENT : LB_RESETCONTENT;
    UINT add = combo ? CB_ADDSTRING : LB_ADDSTRING;
    // Created without the sort styles: the core decides the order.
    SendMessageW(hwnd_, reset, 0, 0);
    for (const std::string& item : state_.items) {
        std::wstring wide = toWide(item);
        SendMessageW(hwnd_, add, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
}

void Win32Control::setItems(const std::vector<std::string>& items) {
    state_.items = items;
    state_.selected = -1;
    if (hwnd_ == nullptr) return;
    host_.beginProgrammaticChange();
    fillNativeList();
    host_.endProgrammaticChange();
}

int Win32Control::selectedIndex() const {
    if (hwnd_ == nullptr || state_.items.empty()) return state_.selected;
    if (isKind(ControlKind::DriveList))
        return static_cast<int>(SendMessageW(hwnd_, CB_GETCURSEL, 0, 0));
    if (isKind(ControlKind::DirList) || isKind(ControlKind::FileList))
        return static_cast<int>(SendMessageW(hwnd_, LB_GETCURSEL, 0, 0));
    return state_.selected;
}

void Win32Control::setSelectedIndex(int index) {
    state_.select(index);
    if (hwnd_ == nullptr) return;
    host_.beginProgrammaticChange();
    if (isKind(ControlKind::DriveList))
        SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(state_.selected), 0);
    else if (isKind(ControlKind::DirList) || isKind(ControlKind::FileList))
        SendMessageW(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(state_.selected), 0);
    host_.endProgrammaticChange();
}

WindowHandle Win32Control::handle() const {
    return toHandle(window());
}

}  // namespace pictavo::platform::win32
