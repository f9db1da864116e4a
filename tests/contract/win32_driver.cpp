// The contract on the Windows host, under Wine: keys come as real input
// (SendInput, so the system keeps the keyboard state and makes the
// characters), clicks as the button messages the mouse gives a control,
// and the thread's messages are handled until the queue is quiet.

#include <windows.h>

#include <gtest/gtest.h>

#include "contract/dialog_driver.h"
#include "hosts/win32/handles.h"
#include "hosts/win32/win32_host.h"
#include "platform/keys.h"

namespace pictavo::testing {

namespace {

using platform::win32::toHwnd;

constexpr DWORD kSettleMs = 60;

// The script a thread timer runs inside a modal loop; a timer procedure
// has no room for it, so it waits here.
struct ModalScript {
    std::function<void()> script;
    std::function<void()> close;
    bool ran = false;
};

class Win32Driver : public DialogDriver {
  public:
    ~Win32Driver() override {
        // A quit request stays in the thread's queue; the next test starts without it.
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    platform::Host& host() override { return host_; }

    void show(platform::Form& form) override {
        form.show(false);
        HWND window = toHwnd(form.handle());
        SetForegroundWindow(window);
        SetActiveWindow(window);
        settle();
    }
    void keys(const std::string& strokes) override { press(parseStrokes(strokes)); }
    void type(const std::string& text) override { press(strokesFor(text)); }
    void click(platform::Form& form, const std::string& control) override {
        HWND window = toHwnd(form.control(control).handle());
        RECT client{};
        GetClientRect(window, &client);
        bool mark = form.control(control).design().kind == platform::ControlKind::CheckBox ||
                    form.control(control).design().kind == platform::ControlKind::OptionButton;
        LPARAM at = MAKELPARAM(mark ? 6 : client.right / 2, client.bottom / 2);
        PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(window, WM_LBUTTONUP, 0, at);
        settle();
    }
    void clickRow(platform::Form& form, const std::string& list, int row, bool twice) override {
        HWND window = toHwnd(form.control(list).handle());
        RECT item{};
        SendMessageW(window, LB_GETITEMRECT, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&item));
        LPARAM at = MAKELPARAM(item.left + 20, (item.top + item.bottom) / 2);
        PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(window, WM_LBUTTONUP, 0, at);
        if (twice) {
            PostMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
            PostMessageW(window, WM_LBUTTONUP, 0, at);
        }
        settle();
    }
    std::string focused(platform::Form& form) override {
        HWND focus = GetFocus();
        for (const ControlSpec& design : form.design().controls) {
            HWND own = toHwnd(form.control(design.name).handle());
            if (own != nullptr && own == focus) return design.name;
        }
        return {};
    }
    // A script may open a dialog of its own and drive it the same way.
    void duringModal(const std::function<void()>& open, const std::function<void()>& script,
                     const std::function<void()>& close) override {
        ModalScript outer = modal_;
        modal_ = {script, close, false};
        // Runs once the modal loop waits for messages.
        UINT_PTR timer = SetTimer(nullptr, 0, 100, runScript);
        open();
        KillTimer(nullptr, timer);
        EXPECT_TRUE(modal_.ran) << "the dialog closed before the script ran";
        modal_ = outer;
    }

  private:
    using ControlSpec = platform::ControlSpec;
    static inline ModalScript modal_;

    static void CALLBACK runScript(HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        if (modal_.ran) return;
        modal_.ran = true;
        // A copy: a dialog the script opens puts its own script in modal_.
        ModalScript running = modal_;
        running.script();
        running.close();
    }

    static INPUT keyInput(WORD key, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        return input;
    }
    void press(const std::vector<Stroke>& strokes) {
        namespace keys = platform::keys;
        for (const Stroke& stroke : strokes) {
            std::vector<INPUT> inputs;
            std::vector<WORD> held;
            if ((stroke.shift & keys::kShift) != 0) held.push_back(VK_SHIFT);
            if ((stroke.shift & keys::kCtrl) != 0) held.push_back(VK_CONTROL);
            if ((stroke.shift & keys::kAlt) != 0) held.push_back(VK_MENU);
            for (WORD key : held) inputs.push_back(keyInput(key, false));
            inputs.push_back(keyInput(static_cast<WORD>(stroke.key), false));
            inputs.push_back(keyInput(static_cast<WORD>(stroke.key), true));
            for (auto it = held.rbegin(); it != held.rend(); ++it)
                inputs.push_back(keyInput(*it, true));
            UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
            EXPECT_EQ(sent, inputs.size());
            settle();
        }
    }
    // Handles the thread's messages, through the host's loop so that each
    // form sees its keys first, until none has come for a while.
    void settle() {
        DWORD quietSince = GetTickCount();
        while (GetTickCount() - quietSince < kSettleMs) {
            MSG message;
            if (PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
                host_.eventLoop().doEvents();
                quietSince = GetTickCount();
            } else {
                Sleep(5);
            }
        }
    }

    platform::win32::Win32Host host_;
};

}  // namespace

std::unique_ptr<DialogDriver> makeDialogDriver() {
    return std::make_unique<Win32Driver>();
}

}  // namespace pictavo::testing
