// The preview mode on real windows: ControlForm's picture becomes a child of
// a host window, shows a picture, takes no notice of input, and the program
// ends soon after the host goes away or asks the picture to close.

#include <gtest/gtest.h>

#include <string>

#include "hosts/win32/handles.h"
#include "hosts/win32/win32_host.h"
#include "slideshow/preview_form.h"
#include "state/saver_state.h"
#include "temp_folder.h"

namespace pictavo::platform::win32 {
namespace {

// A 24-bit bitmap file of one colour.
std::string plainBitmap(int width, int height, uint8_t r, uint8_t g, uint8_t b) {
    const int stride = (width * 3 + 3) / 4 * 4;
    const int imageBytes = stride * height;
    std::string file = "BM";
    auto put = [&file](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            file.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    };
    put(static_cast<uint32_t>(54 + imageBytes), 4);
    put(0, 4);
    put(54, 4);
    put(40, 4);
    put(static_cast<uint32_t>(width), 4);
    put(static_cast<uint32_t>(height), 4);
    put(1, 2);
    put(24, 2);
    for (int i = 0; i < 6; ++i) put(0, 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            file.push_back(static_cast<char>(b));
            file.push_back(static_cast<char>(g));
            file.push_back(static_cast<char>(r));
        }
        file.append(static_cast<size_t>(stride - width * 3), '\0');
    }
    return file;
}

LRESULT CALLBACK hostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

// The display settings' side: a window with a client area of 152 x 112.
class PreviewHostWindow {
  public:
    PreviewHostWindow() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = hostProcedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"PictavoTestPreviewHost";
        RegisterClassW(&windowClass);
        RECT outer{0, 0, 152, 112};
        AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, FALSE);
        hwnd_ = CreateWindowW(L"PictavoTestPreviewHost", L"Pictavo Test Preview Host",
                              WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, outer.right - outer.left,
                              outer.bottom - outer.top, nullptr, nullptr, GetModuleHandleW(nullptr),
                              nullptr);
    }
    ~PreviewHostWindow() { destroy(); }
    void destroy() {
        if (hwnd_ != nullptr && IsWindow(hwnd_)) DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
    HWND hwnd() const { return hwnd_; }

  private:
    HWND hwnd_ = nullptr;
};

class PreviewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        pictures_.write("red.bmp", plainBitmap(40, 30, 255, 0, 0));
        state_.PicturePath = pictures_.withSeparator();
        state_.Interval = 0;  // a picture at every tick
        state_.TwipsPerPixelX = static_cast<int16_t>(host_.screen().twipsPerPixelX());
        state_.TwipsPerPixelY = static_cast<int16_t>(host_.screen().twipsPerPixelY());
        state_.PreviewWindow = static_cast<int32_t>(toHandle(window_.hwnd()));
    }
    // A quit request stays in the thread's queue; the next test starts
    // without it. (The host window goes first: a visible window's paint
    // request would come back for ever.)
    void TearDown() override {
        window_.destroy();
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    // Runs the message loop until done() or the time is up; true if done.
    template <typename Done>
    bool pumpUntil(Done done, int milliseconds) {
        int64_t deadline = host_.clock().nowMicros() + int64_t{milliseconds} * 1000;
        while (!done() && host_.clock().nowMicros() < deadline) {
            host_.eventLoop().doEvents();
            Sleep(10);
        }
        return done();
    }

    HWND picture(slideshow::PreviewForm& preview) {
        return toHwnd(preview.form()->control("Picture1").handle());
    }

    Win32Host host_;
    SaverState state_;
    TempFolder pictures_;
    PreviewHostWindow window_;
};

TEST_F(PreviewTest, ThePictureLivesInTheHostAndShowsAPictureRegardlessOfInput) {
    slideshow::PreviewForm preview(host_, state_);
    preview.load();
    HWND child = picture(preview);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(GetParent(child), window_.hwnd());
    EXPECT_NE(GetWindowLongW(child, GWL_STYLE) & WS_CHILD, 0);
    RECT area{}, client{};
    GetWindowRect(child, &area);
    MapWindowPoints(nullptr, window_.hwnd(), reinterpret_cast<POINT*>(&area), 2);
    GetClientRect(window_.hwnd(), &client);
    EXPECT_TRUE(EqualRect(&area, &client));

    // Clicks and keys in the preview change nothing.
    SendMessageW(child, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(child, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    SendMessageW(child, WM_MOUSEMOVE, 0, MAKELPARAM(30, 30));
    SendMessageW(child, WM_KEYDOWN, VK_SPACE, 0);

    Surface* shown = preview.form()->control("Picture1").surface();
    ASSERT_NE(shown, nullptr);
    auto centre = [shown] { return shown->snapshot().at(shown->width() / 2, shown->height() / 2); };
    EXPECT_EQ(centre(), imaging::rgb(0, 0, 0));  // nothing before the first change
    EXPECT_TRUE(pumpUntil([&] { return centre() == imaging::rgb(255, 0, 0); }, 5000));
    EXPECT_TRUE(preview.form() != nullptr);
    EXPECT_FALSE(host_.eventLoop().endRequested());
}

TEST_F(PreviewTest, DestroyingTheHostEndsTheProgramWithinASecondOrSo) {
    slideshow::PreviewForm preview(host_, state_);
    preview.load();
    HWND child = picture(preview);
    window_.destroy();
    EXPECT_FALSE(IsWindow(child));  // gone with the window it lived in
    int64_t start = host_.clock().nowMicros();
    ASSERT_TRUE(pumpUntil([&] { return host_.eventLoop().endRequested(); }, 3000));
    EXPECT_LT(host_.clock().nowMicros() - start, 1500 * 1000);
    EXPECT_EQ(preview.form(), nullptr);
}

TEST_F(PreviewTest, ClosingThePictureTakesItBackAndEndsTheProgram) {
    slideshow::PreviewForm preview(host_, state_);
    preview.load();
    HWND child = picture(preview);
    SendMessageW(child, WM_CLOSE, 0, 0);
    EXPECT_NE(GetParent(child), window_.hwnd());  // back under ControlForm at once
    int64_t start = host_.clock().nowMicros();
    ASSERT_TRUE(pumpUntil([&] { return host_.eventLoop().endRequested(); }, 3000));
    EXPECT_LT(host_.clock().nowMicros() - start, 1500 * 1000);
    EXPECT_TRUE(IsWindow(window_.hwnd()));  // the host's own window stays
}

}  // namespace
}  // namespace pictavo::platform::win32
