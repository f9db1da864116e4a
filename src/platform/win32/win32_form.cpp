#include "platform/win32/win32_form.h"

#include <windowsx.h>

#include <algorithm>

#include "platform/win32/handles.h"
#include "platform/win32/input_state.h"
#include "platform/win32/text_encoding.h"

namespace pictavo::platform::win32 {

namespace {
constexpr int kFirstControlId = 100;  // clear of IDOK and IDCANCEL
constexpr Colour kWindowBackground = 0x80000005u;

DWORD windowStyle(FormStyle style) {
    switch (style) {
        case FormStyle::FixedDialog:
            return WS_CAPTION | WS_SYSMENU | WS_BORDER | WS_CLIPCHILDREN;
        case FormStyle::Borderless:
        case FormStyle::Hidden:
            break;
    }
    return WS_POPUP | WS_CLIPCHILDREN;
}

DWORD extendedStyle(const FormSpec& design) {
    DWORD style = WS_EX_CONTROLPARENT;
    if (design.style == FormStyle::FixedDialog) style |= WS_EX_DLGMODALFRAME;
    if (design.topmost) style |= WS_EX_TOPMOST;
    return style;
}

bool isClickable(ControlKind kind) {
    return kind == ControlKind::Button || kind == ControlKind::CheckBox ||
           kind == ControlKind::OptionButton || kind == ControlKind::Label;
}
}  // namespace

Win32Form::Win32Form(const FormSpec& design, FormHandler& handler, HWND owner, OpenWindows& windows,
                     Win32EventLoop& loop, const TwipsScale& scale)
    : spec_(design),
      handler_(handler),
      windows_(windows),
      loop_(loop),
      scale_(scale),
      owner_(owner) {
    createWindow(owner);
    if (hwnd_ == nullptr) return;
    createBackground();
    createControls();
    ready_ = true;
}

Win32Form::~Win32Form() {
    ready_ = false;
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

void Win32Form::createWindow(HWND owner) {
    registerClass(kFormClassName, nullptr);  // WM_ERASEBKGND paints the form's colour
    DWORD style = windowStyle(spec_.style);
    DWORD exStyle = extendedStyle(spec_);
    RECT outer{0, 0, scale_.toPixelsX(spec_.clientWidth), scale_.toPixelsY(spec_.clientHeight)};
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    int width = outer.right - outer.left;
    int height = outer.bottom - outer.top;
    int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    createNative(exStyle, kFormClassName, toWide(spec_.caption).c_str(), style, x, y, width, height,
                 owner);
    if (hwnd_ != nullptr) windows_.add(hwnd_, *this);
}

void Win32Form::createBackground() {
    RECT client{};
    GetClientRect(hwnd_, &client);
    background_ = std::make_unique<DibSurface>(client.right, client.bottom, spec_.backColour);
    background_->setPresenter([this](const RECT& changed) {
        // A paint blits the background right after its handler drew on it.
        if (painting_ || hwnd_ == nullptr) return;
        // Transparent labels show the background: they repaint with it.
        RedrawWindow(hwnd_, &changed, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    });
}

void Win32Form::createControls() {
    formFont_ = createFont(spec_.font);
    int id = kFirstControlId;
    for (const ControlSpec& controlSpec : spec_.controls)
        controls_.push_back(std::make_unique<Win32Control>(controlSpec, *this, id++));
    // Containers come first in a layout, so their windows exist when their
    // children are created.
    for (auto& control : controls_) {
        HFONT font = formFont_.get();
        if (control->design().font) {
            controlFonts_.push_back(createFont(*control->design().font));
            font = controlFonts_.back().get();
        }
        control->create(font);
    }
    stackInLayoutOrder();
}

// Controls later in the layout lie above earlier ones where they overlap
// (an option's caption box may reach over its neighbour's button).
void Win32Form::stackInLayoutOrder() {
    for (auto& control : controls_)
        if (control->hasWindow())
            SetWindowPos(control->window(), HWND_TOP, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// Tab follows the layout's tab indexes, not the stacking, so the form moves
// the focus itself: to the next control that can take it now.
bool Win32Form::moveFocusByTab(bool backwards) {
    std::vector<Win32Control*> stops;
    for (auto& control : controls_)
        if (control->design().tabIndex >= 0 && control->hasWindow() &&
            IsWindowVisible(control->window()) && IsWindowEnabled(control->window()))
            stops.push_back(control.get());
    if (stops.empty()) return false;
    std::stable_sort(stops.begin(), stops.end(), [](const Win32Control* a, const Win32Control* b) {
        return a->design().tabIndex < b->design().tabIndex;
    });
    HWND focus = GetFocus();
    auto current = std::find_if(stops.begin(), stops.end(), [focus](const Win32Control* c) {
        return focus != nullptr && (c->window() == focus || IsChild(c->window(), focus));
    });
    size_t next = 0;
    if (current != stops.end()) {
        auto index = static_cast<size_t>(current - stops.begin());
        next = backwards ? (index + stops.size() - 1) % stops.size() : (index + 1) % stops.size();
    } else if (backwards) {
        next = stops.size() - 1;
    }
    HWND target = stops[next]->window();
    SetFocus(target);
    // As a dialog does: a text box entered with Tab has its text selected.
    if (stops[next]->design().kind == ControlKind::TextBox) SendMessageW(target, EM_SETSEL, 0, -1);
    return true;
}

Control* Win32Form::find(std::string_view name) {
    for (auto& control : controls_)
        if (control->name() == name) return control.get();
    return nullptr;
}

Win32Control* Win32Form::controlById(int id) {
    size_t index = static_cast<size_t>(id - kFirstControlId);
    return id >= kFirstControlId && index < controls_.size() ? controls_[index].get() : nullptr;
}

Win32Control* Win32Form::controlNamed(const std::string& name) const {
    for (const auto& control : controls_)
        if (control->name() == name) return control.get();
    return nullptr;
}

Win32Control* Win32Form::controlByWindow(HWND window) {
    for (auto& control : controls_)
        if (control->hasWindow() && toHwnd(control->handle()) == window) return control.get();
    return nullptr;
}

std::pair<HWND, POINT> Win32Form::placementFor(const std::string& containerName) const {
    POINT offset{0, 0};
    std::string name = containerName;
    // A container without a window of its own shifts its children by its
    // position; the depth bound stops a layout whose containers form a loop.
    for (size_t depth = 0; !name.empty() && depth <= controls_.size(); ++depth) {
        auto found = std::find_if(controls_.begin(), controls_.end(),
                                  [&](const auto& control) { return control->name() == name; });
        if (found == controls_.end()) break;
        const Win32Control& container = **found;
        if (container.hasWindow()) return {toHwnd(container.handle()), offset};
        offset.x += scale_.toPixelsX(container.bounds().left);
        offset.y += scale_.toPixelsY(container.bounds().top);
        name = container.design().parent;
    }
    return {hwnd_, offset};
}

void Win32Form::optionChosen(const Win32Control& chosen) {
    for (auto& control : controls_)
        if (control.get() != &chosen && control->design().kind == ControlKind::OptionButton &&
            control->design().parent == chosen.design().parent)
            control->setCheck(false);
}

void Win32Form::show(bool modal) {
    if (!loaded()) return;
    if (spec_.style != FormStyle::Hidden) {
        ShowWindow(hwnd_, SW_SHOW);
        if (spec_.style == FormStyle::Borderless && !otherMonitors_)
            otherMonitors_ = std::make_unique<OtherMonitors>(hwnd_);
        UpdateWindow(hwnd_);
        if (GetFocus() == hwnd_ || !IsChild(hwnd_, GetFocus())) moveFocusByTab(false);
        reportPointerPosition();
    }
    if (!modal) return;

    // While a modal form is up, the program's other windows take no input.
    std::vector<HWND> disabled;
    for (HWND window : windows_.all())
        if (window != hwnd_ && IsWindowEnabled(window)) {
            EnableWindow(window, FALSE);
            disabled.push_back(window);
        }
    loop_.pumpWhile([this] { return loaded(); });
    for (HWND window : disabled)
        if (IsWindow(window)) EnableWindow(window, TRUE);
    if (owner_ != nullptr && IsWindow(owner_)) SetActiveWindow(owner_);
}

// Windows tells a window that opens under the pointer where the pointer
// is; where the window system does not (Wine without a real pointer move),
// the form does it itself. A second report of the same place changes nothing.
void Win32Form::reportPointerPosition() {
    POINT at{};
    if (!GetCursorPos(&at)) return;
    HWND under = WindowFromPoint(at);
    bool ours = under != nullptr && (under == hwnd_ || IsChild(hwnd_, under) ||
                                     (otherMonitors_ && otherMonitors_->owns(under)));
    if (!ours) return;
    ScreenToClient(under, &at);
    PostMessageW(under, WM_MOUSEMOVE, 0,
                 MAKELPARAM(static_cast<WORD>(static_cast<short>(at.x)),
                            static_cast<WORD>(static_cast<short>(at.y))));
}

void Win32Form::hide() {
    if (loaded()) ShowWindow(hwnd_, SW_HIDE);
}

void Win32Form::unload() {
    if (!loaded()) return;
    ready_ = false;  // nothing more reaches the handler once unloading starts
    DestroyWindow(hwnd_);
}

std::string Win32Form::caption() const {
    if (!loaded()) return spec_.caption;
    int length = GetWindowTextLengthW(hwnd_);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(std::max(GetWindowTextW(hwnd_, text.data(), length + 1), 0)));
    return toUtf8(text);
}

void Win32Form::setCaption(const std::string& caption) {
    if (loaded()) SetWindowTextW(hwnd_, toWide(caption).c_str());
}

TwipsRect Win32Form::bounds() const {
    RECT rect{};
    if (!loaded() || !GetWindowRect(hwnd_, &rect)) return {};
    return {scale_.toTwipsX(rect.left), scale_.toTwipsY(rect.top),
            scale_.toTwipsX(rect.right - rect.left), scale_.toTwipsY(rect.bottom - rect.top)};
}

void Win32Form::move(const TwipsRect& rect) {
    if (!loaded()) return;
    SetWindowPos(hwnd_, nullptr, scale_.toPixelsX(rect.left), scale_.toPixelsY(rect.top),
                 scale_.toPixelsX(rect.width), scale_.toPixelsY(rect.height),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

TwipsRect Win32Form::clientSize() const {
    RECT rect{};
    if (!loaded() || !GetClientRect(hwnd_, &rect))
        return {0, 0, spec_.clientWidth, spec_.clientHeight};
    return {0, 0, scale_.toTwipsX(rect.right), scale_.toTwipsY(rect.bottom)};
}

WindowHandle Win32Form::handle() const {
    return toHandle(hwnd_);
}

void Win32Form::bringToFront() {
    if (!loaded()) return;
    SetForegroundWindow(hwnd_);
    BringWindowToTop(hwnd_);
}

bool Win32Form::preTranslate(MSG& message) {
    if (!ready_) return false;
    if (spec_.keyPreview && message.hwnd != hwnd_) {
        // Keys for the form itself are raised by its own handler, not here.
        bool keyDown = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
        if (keyDown && !onKey(EventType::KeyDown, message.wParam)) return true;
        if (message.message == WM_CHAR && !onKey(EventType::KeyPress, message.wParam)) return true;
    }
    if (spec_.style != FormStyle::FixedDialog || !loaded()) return false;
    bool plainTab = message.message == WM_KEYDOWN && message.wParam == VK_TAB &&
                    GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0;
    if (plainTab) return moveFocusByTab(GetKeyState(VK_SHIFT) < 0);
    // Enter, Esc and the access keys press as in any dialog.
    return IsDialogMessageW(hwnd_, &message) != FALSE;
}

Event Win32Form::makeEvent(EventType type, const Win32Control* control) const {
    Event event;
    event.type = type;
    if (control != nullptr) event.control = control->name();
    return event;
}

void Win32Form::raise(Event& event) {
    if (ready_) handler_.onEvent(*this, event);
}

void Win32Form::raise(EventType type, const Win32Control* control) {
    Event event = makeEvent(type, control);
    raise(event);
}

// False when the handler swallowed the key (or unloaded the form).
bool Win32Form::onKey(EventType type, WPARAM& key) {
    Event event = makeEvent(type);
    event.key = static_cast<int>(key);
    event.shift = shiftState();
    raise(event);
    if (!ready_ || event.key == 0) return false;
    key = static_cast<WPARAM>(event.key);
    return true;
}

void Win32Form::onMouse(EventType type, int button, WPARAM wParam, LPARAM lParam) {
    Event event = makeEvent(type);
    event.x = scale_.toTwipsX(GET_X_LPARAM(lParam));
    event.y = scale_.toTwipsY(GET_Y_LPARAM(lParam));
    event.shift = shiftState();
    event.button = type == EventType::MouseMove ? heldButtons(wParam) : button;
    raise(event);
}

void Win32Form::onCommand(int id, int code, HWND from) {
    if (id == IDOK || id == IDCANCEL) {
        // Enter without a default button, or Esc: the dialog's cancel button.
        for (auto& control : controls_)
            if ((id == IDCANCEL ? control->design().isCancel : control->design().isDefault) &&
                control->enabled() && control->visible())
                return raise(EventType::Click, control.get());
        return;
    }
    Win32Control* control = controlById(id);
    if (control == nullptr || from == nullptr || programmaticChanges_ > 0) return;
    ControlKind kind = control->design().kind;
    if (code == BN_CLICKED && isClickable(kind)) {
        if (kind == ControlKind::OptionButton) control->setValue(1);
        raise(EventType::Click, control);
    } else if ((code == EN_CHANGE && kind == ControlKind::TextBox) ||
               (code == LBN_SELCHANGE &&
                (kind == ControlKind::FileList || kind == ControlKind::DirList)) ||
               (code == CBN_SELCHANGE && kind == ControlKind::DriveList)) {
        raise(EventType::Change, control);
    }
}

LRESULT Win32Form::forwardToForm(UINT message, WPARAM wParam, LPARAM lParam) {
    return hwnd_ != nullptr ? SendMessageW(hwnd_, message, wParam, lParam) : 0;
}

void Win32Form::paintGraphics(HDC dc, const std::string& container) {
    for (auto& control : controls_)
        if (control->isGraphical() && control->design().parent == container)
            control->paintGraphic(dc, {0, 0});
}

Colour Win32Form::backColourOf(const std::string& container) const {
    std::string name = container;
    // The depth bound stops a layout whose containers form a loop.
    for (size_t depth = 0; !name.empty() && depth <= controls_.size(); ++depth) {
        const Win32Control* control = controlNamed(name);
        if (control == nullptr) break;
        if (control->design().backColour) return *control->design().backColour;
        name = control->design().parent;
    }
    return spec_.backColour;
}

HBRUSH Win32Form::brushFor(Colour colour) {
    auto found = brushes_.find(colour);
    if (found != brushes_.end()) return found->second.get();
    return brushes_.emplace(colour, UniqueBrush(CreateSolidBrush(toColorRef(colour))))
        .first->second.get();
}

LRESULT Win32Form::onControlColour(UINT message, WPARAM wParam, LPARAM lParam) {
    Win32Control* control = controlByWindow(reinterpret_cast<HWND>(lParam));
    if (control == nullptr) return defaultHandling(message, wParam, lParam);
    auto dc = reinterpret_cast<HDC>(wParam);
    bool isEdit = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
    std::optional<Colour> fore = control->foreColour() ? control->foreColour() : spec_.foreColour;
    if (fore) SetTextColor(dc, toColorRef(*fore));
    if (control->design().transparent) {
        paintBehind(*control, dc);
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    Colour back = control->design().backColour.value_or(
        isEdit ? kWindowBackground : backColourOf(control->design().parent));
    SetBkColor(dc, toColorRef(back));
    return reinterpret_cast<LRESULT>(brushFor(back));
}

void Win32Form::paintBehind(const Win32Control& control, HDC dc) {
    const std::string& parent = control.design().parent;
    Win32Control* container = parent.empty() ? nullptr : controlNamed(parent);
    DibSurface* under = container != nullptr ? container->dibSurface() : background_.get();
    HWND window = control.window();
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

void Win32Form::onDestroyed() {
    windows_.remove(hwnd_);
    otherMonitors_.reset();
    for (auto& control : controls_) control->forgetWindow();
    ready_ = false;
}

LRESULT Win32Form::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            raise(EventType::Close);  // the handler decides whether the form unloads
            return 0;
        case WM_COMMAND:
            onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        case DM_GETDEFID:
            for (auto& control : controls_)
                if (control->design().isDefault && control->hasWindow())
                    return MAKELRESULT(static_cast<WORD>(control->id()), DC_HASDEFID);
            return 0;
        case WM_TIMER:
            if (Win32Control* control = controlById(static_cast<int>(wParam));
                control != nullptr && control->design().kind == ControlKind::Timer)
                raise(EventType::Timer, control);
            return 0;
        case WM_HSCROLL:
            if (Win32Control* control = controlByWindow(reinterpret_cast<HWND>(lParam));
                control != nullptr &&
                control->scroll(LOWORD(wParam), static_cast<short>(HIWORD(wParam))))
                raise(EventType::Change, control);
            return 0;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:  // Alt and F10 come this way
        case WM_CHAR: {
            WPARAM key = wParam;
            if (!onKey(message == WM_CHAR ? EventType::KeyPress : EventType::KeyDown, key))
                return 0;
            return defaultHandling(message, key, lParam);
        }
        case WM_MOUSEMOVE:
            onMouse(EventType::MouseMove, 0, wParam, lParam);
            return 0;
        case WM_LBUTTONDOWN:
            onMouse(EventType::MouseDown, 1, wParam, lParam);
            return 0;
        case WM_RBUTTONDOWN:
            onMouse(EventType::MouseDown, 2, wParam, lParam);
            return 0;
        case WM_MBUTTONDOWN:
            onMouse(EventType::MouseDown, 4, wParam, lParam);
            return 0;
        case WM_LBUTTONUP:
            onMouse(EventType::MouseUp, 1, wParam, lParam);
            return 0;
        case WM_RBUTTONUP:
            onMouse(EventType::MouseUp, 2, wParam, lParam);
            return 0;
        case WM_MBUTTONUP:
            onMouse(EventType::MouseUp, 4, wParam, lParam);
            return 0;
        case WM_SIZE:
            if (background_)
                background_->resizeKeeping(LOWORD(lParam), HIWORD(lParam), spec_.backColour);
            raise(EventType::Resize);
            return 0;
        case WM_PAINT:
            paint();
            return 0;
        case WM_PRINTCLIENT: {
            RECT client{};
            GetClientRect(hwnd_, &client);
            paintInto(reinterpret_cast<HDC>(wParam), client);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;  // the paint covers everything
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            return onControlColour(message, wParam, lParam);
        case WM_NCDESTROY:
            onDestroyed();
            return defaultHandling(message, wParam, lParam);
        default:
            return defaultHandling(message, wParam, lParam);
    }
}

}  // namespace pictavo::platform::win32
