#include "hosts/win32/win32_form.h"

#include <windowsx.h>

#include <algorithm>

#include "hosts/win32/handles.h"
#include "hosts/win32/input_state.h"
#include "hosts/win32/text_encoding.h"

namespace pictavo::platform::win32 {

namespace {
constexpr int kFirstControlId = 100;  // clear of IDOK and IDCANCEL

DWORD windowStyle(const FormSpec& design) {
    switch (design.style) {
        case FormStyle::FixedDialog:
            // Without the window menu there is no close box either.
            return WS_CAPTION | (design.controlBox ? WS_SYSMENU : 0) | WS_BORDER | WS_CLIPCHILDREN;
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

bool isKeyboardMessage(UINT message) {
    switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYUP:
        case WM_CHAR:
        case WM_SYSCHAR:
            return true;
        default:
            return false;
    }
}

// A mouse message as the event it raises and the button's number.
struct MouseMessage {
    EventType type;
    int button;
};

MouseMessage mouseMessage(UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN:
            return {EventType::MouseDown, 1};
        case WM_RBUTTONDOWN:
            return {EventType::MouseDown, 2};
        case WM_MBUTTONDOWN:
            return {EventType::MouseDown, 4};
        case WM_LBUTTONUP:
            return {EventType::MouseUp, 1};
        case WM_RBUTTONUP:
            return {EventType::MouseUp, 2};
        case WM_MBUTTONUP:
            return {EventType::MouseUp, 4};
        default:
            return {EventType::MouseMove, 0};
    }
}
}  // namespace

Win32Form::Win32Form(const FormSpec& design, FormHandler& handler, OpenForms& openForms,
                     Win32Form* owner, OpenWindows& windows, Win32EventLoop& loop,
                     const TwipsScale& scale)
    : FormBase(design, handler, openForms, owner),
      windows_(windows),
      loop_(loop),
      scale_(scale),
      owner_(owner != nullptr ? owner->hwnd_ : nullptr) {
    createWindow(owner_);
    if (hwnd_ == nullptr) return;
    createBackground();
    formFont_ = createFont(design.font);
    int id = kFirstControlId;
    // Containers come first in a layout, so their windows exist when their
    // children are created.
    buildControls([this, &id](Control& control) -> std::unique_ptr<NativeControl> {
        return makeWin32Role(*this, control, id++);
    });
    stackInLayoutOrder();
    ready_ = true;
}

Win32Form::~Win32Form() {
    ready_ = false;
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
    dropNatives();
}

void Win32Form::createWindow(HWND owner) {
    registerClass(kFormClassName, nullptr);  // WM_ERASEBKGND paints the form's colour
    DWORD style = windowStyle(design());
    DWORD exStyle = extendedStyle(design());
    RECT outer{0, 0, scale_.toPixelsX(design().clientWidth),
               scale_.toPixelsY(design().clientHeight)};
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    int width = outer.right - outer.left;
    int height = outer.bottom - outer.top;
    int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    createNative(exStyle, kFormClassName, toWide(design().caption).c_str(), style, x, y, width,
                 height, owner);
    if (hwnd_ != nullptr) windows_.add(hwnd_, *this);
}

void Win32Form::createBackground() {
    RECT client{};
    GetClientRect(hwnd_, &client);
    background_ = std::make_unique<DibSurface>(client.right, client.bottom, design().backColour);
    background_->setPresenter([this](const RECT& changed) {
        // A paint blits the background right after its handler drew on it.
        if (painting_ || hwnd_ == nullptr) return;
        // Transparent labels show the background: they repaint with it.
        RedrawWindow(hwnd_, &changed, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    });
}

HFONT Win32Form::fontFor(const Control& control) {
    if (!control.design().font) return formFont_.get();
    auto [at, added] = controlFonts_.try_emplace(control.name());
    if (added) at->second = createFont(*control.design().font);
    return at->second.get();
}

// Controls later in the layout lie above earlier ones where they overlap
// (an option's caption box may reach over its neighbour's button).
void Win32Form::stackInLayoutOrder() {
    for (const auto& control : controls())
        if (HWND window = roleOf(*control)->window(); window != nullptr)
            SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

Win32Role* Win32Form::roleOf(const Control& control) const {
    return static_cast<Win32Role*>(control.native());
}

Win32Role* Win32Form::roleById(int id) const {
    size_t index = static_cast<size_t>(id - kFirstControlId);
    if (id < kFirstControlId || index >= controls().size()) return nullptr;
    return roleOf(*controls()[index]);
}

// The control a window belongs to: its own, or one inside it (a drop-down's edit).
Win32Role* Win32Form::roleByWindow(HWND window) const {
    if (window == nullptr) return nullptr;
    for (const auto& control : controls()) {
        Win32Role* role = roleOf(*control);
        HWND own = role != nullptr ? role->window() : nullptr;
        if (own != nullptr && (own == window || (IsChild(own, window) && !role->dibSurface())))
            return role;
    }
    return nullptr;
}

std::pair<HWND, POINT> Win32Form::placementFor(const std::string& containerName) const {
    POINT offset{0, 0};
    std::string name = containerName;
    // A container without a window of its own shifts its children by its
    // position; the depth bound stops a layout whose containers form a loop.
    for (size_t depth = 0; !name.empty() && depth <= controls().size(); ++depth) {
        auto found = std::find_if(controls().begin(), controls().end(),
                                  [&](const auto& control) { return control->name() == name; });
        if (found == controls().end()) break;
        const Control& container = **found;
        Win32Role* role = roleOf(container);
        if (role != nullptr && role->window() != nullptr) return {role->window(), offset};
        offset.x += scale_.toPixelsX(container.bounds().left);
        offset.y += scale_.toPixelsY(container.bounds().top);
        name = container.design().parent;
    }
    return {hwnd_, offset};
}

void Win32Form::show(bool modal) {
    if (!loaded()) return;
    if (design().style != FormStyle::Hidden) {
        ShowWindow(hwnd_, SW_SHOW);
        if (design().style == FormStyle::Borderless && !otherMonitors_)
            otherMonitors_ = std::make_unique<OtherMonitors>(hwnd_);
        UpdateWindow(hwnd_);
        dialog().shown();
        reportPointerPosition();
    }
    if (!modal) return;

    // While a modal form is up, the program's other windows take no input.
    beginModal();
    std::vector<HWND> disabled;
    for (HWND window : windows_.all())
        if (window != hwnd_ && IsWindowEnabled(window)) {
            EnableWindow(window, FALSE);
            disabled.push_back(window);
        }
    auto alive = aliveToken();
    loop_.pumpWhile([this] { return loaded(); });
    for (HWND window : disabled)
        if (IsWindow(window)) EnableWindow(window, TRUE);
    if (!*alive) return;
    endModal();
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
    endModal();
    DestroyWindow(hwnd_);
}

std::string Win32Form::caption() const {
    if (!loaded()) return design().caption;
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
        return {0, 0, design().clientWidth, design().clientHeight};
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

// ---- the keyboard ----

// Keys for the form's own window come through its window procedure, also
// when they were sent rather than posted.
bool Win32Form::preTranslate(MSG& message) {
    if (!ready_ || message.hwnd == hwnd_ || !isKeyboardMessage(message.message)) return false;
    return routeKey(message.message, message.wParam, message.lParam);
}

void Win32Form::noteFocus() {
    HWND focus = GetFocus();
    for (const auto& control : controls()) {
        HWND own = roleOf(*control)->window();
        if (own != nullptr && (own == focus || IsChild(own, focus)) &&
            roleOf(*control)->dibSurface() == nullptr) {
            dialog().focusMoved(*control);
            return;
        }
    }
}

bool Win32Form::routeKey(UINT message, WPARAM& key, LPARAM lParam) {
    int code = static_cast<int>(key);
    bool taken = false;
    switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            noteFocus();
            taken = dialog().keyDown(code, shiftState());
            // The system still follows the Alt key, or a lone Alt released
            // after an access key would open the window menu.
            if (taken && message == WM_SYSKEYDOWN && hwnd_ != nullptr)
                DefWindowProcW(hwnd_, message, key, lParam);
            break;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            taken = dialog().keyUp(code, shiftState());
            break;
        case WM_CHAR:
        case WM_SYSCHAR:
            taken = dialog().character(code, shiftState());
            break;
        default:
            return false;
    }
    key = static_cast<WPARAM>(code);
    return taken;
}

// ---- events ----

void Win32Form::onMouse(EventType type, int button, WPARAM wParam, LPARAM lParam) {
    Event event;
    event.type = type;
    event.x = scale_.toTwipsX(GET_X_LPARAM(lParam));
    event.y = scale_.toTwipsY(GET_Y_LPARAM(lParam));
    event.shift = shiftState();
    event.button = type == EventType::MouseMove ? heldButtons(wParam) : button;
    raise(event);
}

LRESULT Win32Form::forwardToForm(UINT message, WPARAM wParam, LPARAM lParam) {
    return hwnd_ != nullptr ? SendMessageW(hwnd_, message, wParam, lParam) : 0;
}

void Win32Form::onDestroyed() {
    windows_.remove(hwnd_);
    otherMonitors_.reset();
    for (const auto& control : controls())
        if (Win32Role* role = roleOf(*control); role != nullptr) role->forgetWindow();
    ready_ = false;
}

LRESULT Win32Form::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            // The handler decides whether the form unloads.
            if (ready_) dialog().closeRequested();
            return 0;
        case WM_COMMAND:
            if (Win32Role* role = roleById(LOWORD(wParam));
                role != nullptr && lParam != 0 && programmaticChanges_ == 0 && ready_)
                role->notified(HIWORD(wParam));
            return 0;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            Win32Role* role = roleById(static_cast<int>(item->CtlID));
            return role != nullptr && role->drawItem(*item) ? TRUE : FALSE;
        }
        case WM_TIMER:
            // Only timer controls set timers on the form, under their own id.
            if (Win32Role* role = roleById(static_cast<int>(wParam)); role != nullptr)
                raise(EventType::Timer, role->control().name());
            return 0;
        case WM_HSCROLL:
            if (Win32Role* role = roleByWindow(reinterpret_cast<HWND>(lParam)); role != nullptr)
                role->scrolled(LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
            return 0;
        case WM_ACTIVATE: {
            LRESULT result = defaultHandling(message, wParam, lParam);
            // Back to the control that had the focus when the form lost it.
            if (LOWORD(wParam) != WA_INACTIVE && ready_) dialog().activated();
            return result;
        }
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:  // Alt and F10 come this way
        case WM_KEYUP:
        case WM_SYSKEYUP:
        case WM_CHAR:
        case WM_SYSCHAR: {
            WPARAM key = wParam;
            if (ready_ && routeKey(message, key, lParam)) return 0;
            return defaultHandling(message, key, lParam);
        }
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: {
            const MouseMessage mouse = mouseMessage(message);
            onMouse(mouse.type, mouse.button, wParam, lParam);
            return 0;
        }
        case WM_SIZE:
            if (background_)
                background_->resizeKeeping(LOWORD(lParam), HIWORD(lParam), design().backColour);
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
