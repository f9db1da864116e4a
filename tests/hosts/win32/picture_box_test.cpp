// Picture boxes as windows of their own over a DIB section, and what a form
// paints: its background, then its lines, shapes and images.

#include <gtest/gtest.h>

#include <cmath>

#include "form_test_support.h"
#include "hosts/win32/gdi_objects.h"
#include "hosts/win32/other_monitors.h"
#include "hosts/win32/resource_pictures.h"
#include "hosts/win32/win32_host.h"

namespace pictavo::platform::win32 {
namespace {

using imaging::rgb;

// What a window paints, read back from a bitmap of its client area.
class Capture {
  public:
    explicit Capture(HWND window) {
        RECT client{};
        GetClientRect(window, &client);
        image_ = imaging::Image(client.right, client.bottom);
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        BITMAPINFO info = topDownDibInfo(image_.width, image_.height);
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ previous = SelectObject(dc, bitmap);
        SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        GdiFlush();
        auto* pixels = static_cast<uint32_t*>(bits);
        for (size_t i = 0; i < image_.pixels.size(); ++i)
            image_.pixels[i] = pixels[i] | 0xFF000000u;
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
    }
    imaging::Pixel at(int x, int y) const { return image_.at(x, y); }
    int width() const { return image_.width; }

  private:
    imaging::Image image_;
};

class PictureBoxTest : public ::testing::Test {
  protected:
    void TearDown() override {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    int pixels(int twips) {
        return static_cast<int>(std::lround(twips / host_.screen().twipsPerPixelX()));
    }

    Win32Host host_;
    RecordingHandler handler_;
};

FormSpec pictureForm(const char* caption) {
    FormSpec design = dialogSpec(caption);
    ControlSpec picture = control("Picture2", ControlKind::PictureBox, {300, 300, 1500, 1125});
    picture.backColour = bgr(0, 0, 0);
    design.controls = {picture};
    return design;
}

TEST_F(PictureBoxTest, APictureBoxIsAChildWindowShowingItsImage) {
    auto form = host_.forms().create(pictureForm("Pictavo Picture"), handler_, nullptr);
    Control& picture = form->control("Picture2");
    HWND window = hwndOf(picture);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetParent(window), hwndOf(*form));
    EXPECT_NE(GetWindowLongW(window, GWL_STYLE) & WS_CHILD, 0);
    Surface* surface = picture.surface();
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->width(), pixels(1500));
    EXPECT_EQ(surface->height(), pixels(1125));

    surface->drawImage(imaging::Image(10, 5, rgb(255, 0, 0)), 20, 30);
    surface->present();
    Capture shown(window);
    EXPECT_EQ(shown.at(20, 30), rgb(255, 0, 0));
    EXPECT_EQ(shown.at(29, 34), rgb(255, 0, 0));
    EXPECT_EQ(shown.at(30, 30), rgb(0, 0, 0));

    // Growing the box keeps the picture and shows its colour in the new part.
    picture.move({300, 300, 3000, 1125});
    EXPECT_EQ(surface->width(), pixels(3000));
    EXPECT_EQ(Capture(window).at(25, 32), rgb(255, 0, 0));
    EXPECT_EQ(Capture(window).at(pixels(3000) - 1, 0), rgb(0, 0, 0));
}

TEST_F(PictureBoxTest, MouseIsInPixelsAndAClickIsAPressAndReleaseOverTheBox) {
    auto form = host_.forms().create(pictureForm("Pictavo Picture Mouse"), handler_, nullptr);
    HWND window = hwndOf(form->control("Picture2"));
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(7, 9));
    ASSERT_EQ(handler_.events.size(), 1u);
    EXPECT_EQ(handler_.events[0].type, EventType::MouseMove);
    EXPECT_EQ(handler_.events[0].control, "Picture2");
    EXPECT_EQ(handler_.events[0].x, 7);
    EXPECT_EQ(handler_.events[0].y, 9);

    handler_.events.clear();
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(6, 5));
    EXPECT_EQ(handler_.types(),
              (std::vector<EventType>{EventType::MouseDown, EventType::MouseUp, EventType::Click}));
    EXPECT_EQ(handler_.events[2].control, "Picture2");

    handler_.events.clear();
    SendMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    SendMessageW(window, WM_RBUTTONUP, 0, MAKELPARAM(5000, 5));  // released elsewhere
    EXPECT_FALSE(handler_.saw(EventType::Click, "Picture2"));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));  // released, never pressed
    EXPECT_FALSE(handler_.saw(EventType::Click, "Picture2"));
}

TEST_F(PictureBoxTest, APictureBoxIgnoresWmCloseSoOnlyAWatcherSeesIt) {
    auto form = host_.forms().create(pictureForm("Pictavo Picture Close"), handler_, nullptr);
    HWND window = hwndOf(form->control("Picture2"));
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(handler_.events.empty());
}

TEST_F(PictureBoxTest, AFormPaintsItsBackgroundThenLinesShapesAndImages) {
    FormSpec design = dialogSpec("Pictavo Paint");
    design.backColour = bgr(192, 192, 192);
    ControlSpec line = control("Line1", ControlKind::Line, {150, 150, 1350, 0});
    line.borderColour = bgr(255, 0, 0);
    ControlSpec solid = control("Shape1", ControlKind::Shape, {1500, 300, 600, 600});
    solid.fillStyle = 0;
    solid.fillColour = bgr(0, 0, 255);
    solid.borderColour = bgr(0, 255, 0);
    ControlSpec outline = control("Shape2", ControlKind::Shape, {2400, 300, 600, 600});
    outline.borderColour = bgr(0, 255, 0);
    ControlSpec hidden = control("Shape3", ControlKind::Shape, {3300, 300, 600, 600});
    hidden.fillStyle = 0;
    hidden.visible = false;
    ControlSpec padlock = control("Image1", ControlKind::Image, {300, 1200, 690, 765});
    padlock.resource = "padlock";
    design.controls = {line, solid, outline, hidden, padlock};
    auto form = host_.forms().create(design, handler_, nullptr);

    Capture shown(hwndOf(*form));
    const imaging::Pixel grey = rgb(192, 192, 192);
    EXPECT_EQ(shown.at(pixels(150), pixels(150)), rgb(255, 0, 0));
    EXPECT_EQ(shown.at(pixels(1500), pixels(150)), rgb(255, 0, 0));  // the end point is drawn
    EXPECT_EQ(shown.at(pixels(150), pixels(150) + 1), grey);
    EXPECT_EQ(shown.at(pixels(1500), pixels(300)), rgb(0, 255, 0));  // outline
    EXPECT_EQ(shown.at(pixels(1800), pixels(600)), rgb(0, 0, 255));  // fill
    EXPECT_EQ(shown.at(pixels(2400), pixels(600)), rgb(0, 255, 0));  // outline
    EXPECT_EQ(shown.at(pixels(2700), pixels(600)), grey);            // transparent fill
    EXPECT_EQ(shown.at(pixels(3600), pixels(600)), grey);            // hidden
    imaging::Image picture = resourcePicture("padlock");
    ASSERT_FALSE(picture.empty());
    int opaqueX = -1, opaqueY = -1;
    for (int y = 0; y < picture.height && opaqueX < 0; ++y)
        for (int x = 0; x < picture.width && opaqueX < 0; ++x)
            if ((picture.at(x, y) >> 24) == 255 && picture.at(x, y) != grey) {
                opaqueX = x;
                opaqueY = y;
            }
    ASSERT_GE(opaqueX, 0);
    EXPECT_EQ(shown.at(pixels(300) + opaqueX, pixels(1200) + opaqueY),
              picture.at(opaqueX, opaqueY) | 0xFF000000u);

    // What a handler draws on the background shows under the controls.
    form->background()->clear(bgr(10, 20, 30));
    form->control("Shape1").setFillStyle(1);
    Capture repainted(hwndOf(*form));
    EXPECT_EQ(repainted.at(0, 0), rgb(10, 20, 30));
    EXPECT_EQ(repainted.at(pixels(1800), pixels(600)), rgb(10, 20, 30));
    EXPECT_EQ(repainted.at(pixels(150), pixels(150)), rgb(255, 0, 0));
}

TEST_F(PictureBoxTest, GraphicalControlsInAPictureBoxAreDrawnByIt) {
    FormSpec design = pictureForm("Pictavo Panel Lines");
    ControlSpec line = control("Line1", ControlKind::Line, {0, 150, 600, 0});
    line.parent = "Picture2";
    line.borderColour = bgr(255, 255, 0);
    design.controls.push_back(line);
    auto form = host_.forms().create(design, handler_, nullptr);
    Capture panel(hwndOf(form->control("Picture2")));
    EXPECT_EQ(panel.at(pixels(300), pixels(150)), rgb(255, 255, 0));
    Capture outside(hwndOf(*form));
    EXPECT_NE(outside.at(pixels(300), pixels(150)), rgb(255, 255, 0));
}

TEST_F(PictureBoxTest, TabFollowsTabIndexesWhileLaterControlsLieOnTop) {
    FormSpec design = dialogSpec("Pictavo Tabs");
    // Each check box reaches over the next one's box.
    design.controls = {control("Option1", ControlKind::CheckBox, {120, 120, 1500, 300}, 2),
                       control("Option2", ControlKind::CheckBox, {1320, 120, 1500, 300}, 0),
                       control("Option3", ControlKind::CheckBox, {2520, 120, 1500, 300}, 1)};
    auto form = host_.forms().create(design, handler_, nullptr);
    HWND first = hwndOf(form->control("Option1"));
    HWND second = hwndOf(form->control("Option2"));
    HWND third = hwndOf(form->control("Option3"));
    EXPECT_EQ(GetWindow(third, GW_HWNDNEXT), second);
    EXPECT_EQ(GetWindow(second, GW_HWNDNEXT), first);

    form->show(false);
    EXPECT_EQ(GetFocus(), second);  // tab index 0
    auto* filter = dynamic_cast<MessageFilter*>(form.get());
    MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
    ASSERT_TRUE(filter->preTranslate(tab));
    EXPECT_EQ(GetFocus(), third);
    tab.hwnd = GetFocus();
    filter->preTranslate(tab);
    EXPECT_EQ(GetFocus(), first);
    tab.hwnd = GetFocus();
    filter->preTranslate(tab);
    EXPECT_EQ(GetFocus(), second);  // round again

    form->control("Option3").setEnabled(false);  // only controls that can take the focus
    tab.hwnd = GetFocus();
    filter->preTranslate(tab);
    EXPECT_EQ(GetFocus(), first);
}

TEST_F(PictureBoxTest, InputOnAnotherMonitorsCoverReachesTheShow) {
    FormSpec design = pictureForm("Pictavo Covered");
    design.style = FormStyle::Borderless;
    design.keyPreview = true;
    design.controls[0].rect = {0, 0, 4800, 3000};
    auto form = host_.forms().create(design, handler_, nullptr);
    HWND picture = hwndOf(form->control("Picture2"));
    const RECT monitor{3000, 100, 3400, 400};
    MonitorCover cover(hwndOf(*form), monitor);
    ASSERT_NE(cover.window(), nullptr);
    EXPECT_NE(GetWindowLongW(cover.window(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);

    SendMessageW(cover.window(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 20));
    POINT origin{0, 0};
    ClientToScreen(picture, &origin);
    ASSERT_FALSE(handler_.events.empty());
    EXPECT_EQ(handler_.events.back().type, EventType::MouseMove);
    EXPECT_EQ(handler_.events.back().control, "Picture2");
    EXPECT_EQ(handler_.events.back().x, 3010 - origin.x);
    EXPECT_EQ(handler_.events.back().y, 120 - origin.y);

    SendMessageW(cover.window(), WM_LBUTTONUP, 0, MAKELPARAM(10, 20));
    EXPECT_TRUE(handler_.saw(EventType::Click, "Picture2"));
    SendMessageW(cover.window(), WM_KEYDOWN, 'A', 0);
    EXPECT_TRUE(handler_.saw(EventType::KeyDown, ""));

    // Gone with the form.
    HWND coverWindow = cover.window();
    form->unload();
    EXPECT_FALSE(IsWindow(coverWindow));
}

}  // namespace
}  // namespace pictavo::platform::win32
