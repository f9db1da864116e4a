// The drive list (a drop-down list) and the folder and file lists. A list
// moves its selection itself; the dialog manager is told, and decides what
// a double-click or Enter means. The lists draw their rows themselves, each
// indented by its own number of steps, so the folder list shows a tree.

#include <algorithm>

#include "dialogs/form_base.h"
#include "hosts/win32/gdi_objects.h"
#include "hosts/win32/text_encoding.h"
#include "hosts/win32/win32_role.h"
#include "platform/keys.h"

namespace pictavo::platform::win32 {

namespace {

// The drop-down of a drive list opens below its one-line box.
constexpr int kDropDownRows = 8;
constexpr int kIndentPixels = 12;  // one step of a folder tree
constexpr int kTextMargin = 2;

void fillRows(HWND window, UINT reset, UINT add, const std::vector<std::string>& rows) {
    // Created without the sort styles: the core decides the order.
    SendMessageW(window, reset, 0, 0);
    for (const std::string& row : rows) {
        std::wstring wide = toWide(row);
        SendMessageW(window, add, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
}

class ComboRole : public Win32Role {
  public:
    ComboRole(RoleHost& host, Control& control, int id) : Win32Role(host, control, id) {
        createStandard(L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 0);
    }
    void notified(int code) override {
        if (code == CBN_SELCHANGE && hwnd_ != nullptr)
            host_.form().dialog().selected(
                control_, static_cast<int>(SendMessageW(hwnd_, CB_GETCURSEL, 0, 0)));
    }
    // An open drop-down takes Enter and Esc to close itself.
    bool keepsKey(int key) const override {
        return (key == keys::kEnter || key == keys::kEscape) && hwnd_ != nullptr &&
               SendMessageW(hwnd_, CB_GETDROPPEDSTATE, 0, 0) != FALSE;
    }

  protected:
    void show(Properties changed) override {
        if (hwnd_ == nullptr) return;
        if (changed.has(Property::Items))
            fillRows(hwnd_, CB_RESETCONTENT, CB_ADDSTRING, control_.items());
        if (changed.has(Property::Selection))
            SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(control_.selectedIndex()), 0);
    }
    void place() override {
        if (hwnd_ == nullptr) return;
        RECT area = areaInContainer();
        MoveWindow(hwnd_, area.left, area.top, area.right - area.left,
                   (area.bottom - area.top) * kDropDownRows, TRUE);
    }
};

class ListRole : public Win32Role {
  public:
    ListRole(RoleHost& host, Control& control, int id) : Win32Role(host, control, id) {
        createStandard(L"LISTBOX",
                       LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                           WS_VSCROLL | WS_BORDER,
                       0);
        if (hwnd_ == nullptr) return;
        // A row as high as the font's text, as the system list draws it.
        HDC dc = GetDC(hwnd_);
        HGDIOBJ old = SelectObject(dc, host.fontFor(control));
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(hwnd_, dc);
        SendMessageW(hwnd_, LB_SETITEMHEIGHT, 0, std::max<LPARAM>(metrics.tmHeight, 1));
    }
    void notified(int code) override {
        if (hwnd_ == nullptr) return;
        DialogManager& dialog = host_.form().dialog();
        if (code == LBN_SELCHANGE)
            dialog.selected(control_, static_cast<int>(SendMessageW(hwnd_, LB_GETCURSEL, 0, 0)));
        if (code == LBN_DBLCLK) dialog.doubleClicked(control_);
    }
    bool drawItem(const DRAWITEMSTRUCT& item) override {
        if (item.itemID == static_cast<UINT>(-1) || item.itemID >= control_.items().size()) {
            fill(item, false);
            return true;
        }
        bool selected = (item.itemState & ODS_SELECTED) != 0;
        fill(item, selected);
        size_t row = item.itemID;
        int indent = row < control_.indents().size() ? control_.indents()[row] : 0;
        RECT text = item.rcItem;
        text.left += kTextMargin + indent * kIndentPixels;
        COLORREF colour = selected ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                   : toColorRef(control_.foreColour().value_or(0x80000008u));
        if ((item.itemState & ODS_DISABLED) != 0) colour = GetSysColor(COLOR_GRAYTEXT);
        SetTextColor(item.hDC, colour);
        SetBkMode(item.hDC, TRANSPARENT);
        std::wstring wide = toWide(control_.items()[row]);
        DrawTextW(item.hDC, wide.c_str(), static_cast<int>(wide.size()), &text,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        if ((item.itemState & ODS_FOCUS) != 0) DrawFocusRect(item.hDC, &item.rcItem);
        return true;
    }

  protected:
    void show(Properties changed) override {
        if (hwnd_ == nullptr) return;
        if (changed.has(Property::Items))
            fillRows(hwnd_, LB_RESETCONTENT, LB_ADDSTRING, control_.items());
        if (changed.has(Property::Selection))
            SendMessageW(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(control_.selectedIndex()), 0);
    }

  private:
    void fill(const DRAWITEMSTRUCT& item, bool selected) const {
        COLORREF back = selected ? GetSysColor(COLOR_HIGHLIGHT)
                                 : toColorRef(control_.design().backColour.value_or(0x80000005u));
        UniqueBrush brush(CreateSolidBrush(back));
        FillRect(item.hDC, &item.rcItem, brush.get());
    }
};

}  // namespace

std::unique_ptr<Win32Role> makeComboRole(RoleHost& host, Control& control, int id) {
    return std::make_unique<ComboRole>(host, control, id);
}

std::unique_ptr<Win32Role> makeListRole(RoleHost& host, Control& control, int id) {
    return std::make_unique<ListRole>(host, control, id);
}

}  // namespace pictavo::platform::win32
