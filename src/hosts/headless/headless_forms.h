#pragma once
// Forms and controls in memory. Tests drive them like a user would (click,
// type, press a key, move the mouse); the input goes through the same
// dialog manager as on the desktop hosts, and the tests read back what the
// core did to the controls.

#include <memory>
#include <string>
#include <vector>

#include "dialogs/form_base.h"
#include "hosts/headless/headless_event_loop.h"
#include "hosts/headless/headless_frames.h"
#include "hosts/headless/headless_window_system.h"
#include "hosts/shared/memory_surface.h"
#include "platform/screen.h"

namespace pictavo::platform::headless {

class HeadlessFormFactory;

class HeadlessForm : public FormBase {
  public:
    HeadlessForm(const FormSpec& design, FormHandler& handler, HeadlessFormFactory& factory,
                 HeadlessForm* owner);
    ~HeadlessForm() override;

    void show(bool modal) override;
    void hide() override { visible_ = false; }
    void unload() override;
    bool loaded() const override { return loaded_; }
    std::string caption() const override { return caption_; }
    void setCaption(const std::string& caption) override;
    TwipsRect bounds() const override { return bounds_; }
    void move(const TwipsRect& rect) override;
    TwipsRect clientSize() const override { return {0, 0, bounds_.width, bounds_.height}; }
    WindowHandle handle() const override { return handle_; }
    void bringToFront() override { ++frontCount_; }
    Surface* background() override { return &background_; }

    // What a user does.
    void fire(Event event) { raise(event); }
    // Hands event to the handler itself, so that a key it swallows (key = 0) is seen.
    void dispatch(Event& event) { raise(event); }
    // A mouse click; false when the control takes none now (disabled, hidden, blocked).
    bool click(std::string_view control);
    void doubleClick(std::string_view control);
    // Gives the control the focus and its text, as typing and editing would.
    void type(std::string_view control, const std::string& text);
    void scroll(std::string_view control, int value);
    // The user moves a list's selection (a drive list changes the drive).
    void select(std::string_view control, int index);
    // A key going down and up, with the character it types; shift as Event::shift.
    void pressKey(int key, int shift = 0);
    void typeCharacter(char32_t code);
    void mouseMove(std::string_view control, double x, double y);
    void repaint();
    void resizeTo(int widthTwips, int heightTwips);

    // What the core did.
    bool visible() const { return visible_; }
    bool shownModal() const { return modal_; }
    int showCount() const { return showCount_; }
    int frontCount() const { return frontCount_; }
    // The control with the keyboard focus; "" for none.
    std::string focused() const;
    // When the form was last shown, counted over the program's forms.
    int shownSerial() const { return shownSerial_; }

    // Used by the controls.
    WindowHandle registerChildWindow();
    HeadlessEventLoop& loop();
    const Screen& screen() const;
    HeadlessFrames& frames();

  private:
    HeadlessFormFactory& factory_;
    WindowHandle handle_;
    MemorySurface background_;
    std::string caption_;
    TwipsRect bounds_;
    bool loaded_ = true;
    bool visible_ = false;
    bool modal_ = false;
    int showCount_ = 0;
    int frontCount_ = 0;
    int shownSerial_ = 0;
};

class HeadlessFormFactory : public FormFactory {
  public:
    HeadlessFormFactory(HeadlessEventLoop& loop, HeadlessWindowSystem& windows,
                        const Screen& screen, HeadlessFrames& frames)
        : loop_(loop), windows_(windows), screen_(screen), frames_(frames) {}

    std::unique_ptr<Form> create(const FormSpec& design, FormHandler& handler,
                                 Form* owner) override;

    // The most recently created form of that name that is still loaded.
    HeadlessForm* find(std::string_view name) const;
    // The form keys go to: the one shown last that is still loaded and visible.
    HeadlessForm* keyboardForm() const;
    bool anyLoaded() const { return openForms_.anyLoaded(); }
    int created() const { return created_; }

    // For the forms.
    OpenForms& openForms() { return openForms_; }
    HeadlessEventLoop& loop() { return loop_; }
    HeadlessWindowSystem& windows() { return windows_; }
    const Screen& screen() const { return screen_; }
    HeadlessFrames& frames() { return frames_; }
    int nextShownSerial() { return ++shown_; }

  private:
    HeadlessEventLoop& loop_;
    HeadlessWindowSystem& windows_;
    const Screen& screen_;
    HeadlessFrames& frames_;
    OpenForms openForms_;
    int created_ = 0;
    int shown_ = 0;
};

}  // namespace pictavo::platform::headless
