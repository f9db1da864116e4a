#pragma once
// Forms and controls as plain objects holding their properties. Tests
// drive them like a user would (click, type, press a key, move the mouse)
// and read back what the core did to them.

#include <memory>
#include <string>
#include <vector>

#include "platform/forms.h"
#include "platform/headless/headless_event_loop.h"
#include "platform/headless/headless_window_system.h"
#include "platform/memory_surface.h"
#include "platform/screen.h"
#include "platform/stateful_control.h"

namespace pictavo::platform::headless {

class HeadlessForm;

class HeadlessControl : public StatefulControl {
  public:
    HeadlessControl(HeadlessForm& form, ControlSpec design, WindowHandle handle);
    ~HeadlessControl() override;

    std::string caption() const override { return state_.caption; }
    void setCaption(const std::string& caption) override { state_.caption = caption; }
    std::string text() const override { return state_.text; }
    void setText(const std::string& text) override;
    int value() const override { return state_.value; }
    void setValue(int value) override;
    void setEnabled(bool enabled) override;
    void setVisible(bool visible) override { state_.visible = visible; }
    void move(const TwipsRect& rect) override;
    void setFocus() override;
    void setForeColour(Colour colour) override { state_.foreColour = colour; }
    void setInterval(int milliseconds) override;
    void setItems(const std::vector<std::string>& items) override;
    int selectedIndex() const override { return state_.selected; }
    void setSelectedIndex(int index) override;
    void setFillStyle(int style) override { state_.fillStyle = style; }
    void setFillColour(Colour colour) override { state_.fillColour = colour; }
    Surface* surface() override { return surface_.get(); }
    WindowHandle handle() const override { return handle_; }

    int fillStyle() const { return state_.fillStyle; }
    Colour fillColour() const { return state_.fillColour.value_or(0); }
    Colour foreColour() const { return state_.foreColour.value_or(0); }
    MemorySurface* memorySurface() { return surface_.get(); }
    void stopTimer();

  private:
    void resizeSurface();
    void restartTimer();

    HeadlessForm& form_;
    WindowHandle handle_;
    std::unique_ptr<MemorySurface> surface_;
    int timerId_ = 0;
};

class HeadlessForm : public Form {
  public:
    HeadlessForm(const FormSpec& design, FormHandler& handler, HeadlessEventLoop& loop,
                 HeadlessWindowSystem& windows, const Screen& screen);
    ~HeadlessForm() override;

    const FormSpec& design() const override { return spec_; }
    Control* find(std::string_view name) override;
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
    void fire(Event event) { dispatch(event); }
    // Hands event to the handler itself, so that a key it swallows (key = 0) is seen.
    void dispatch(Event& event);
    bool click(std::string_view control);
    void type(std::string_view control, const std::string& text);
    void scroll(std::string_view control, int value);
    void select(std::string_view control, int index);
    void pressKey(int key);
    void mouseMove(std::string_view control, double x, double y);
    void repaint();
    void resizeTo(int widthTwips, int heightTwips);

    // What the core did.
    bool visible() const { return visible_; }
    bool shownModal() const { return modal_; }
    int showCount() const { return showCount_; }
    int frontCount() const { return frontCount_; }
    const std::string& focused() const { return focused_; }
    HeadlessControl& headlessControl(std::string_view name);

    // Used by the controls.
    HeadlessEventLoop& loop() { return loop_; }
    const Screen& screen() const { return screen_; }
    void setFocused(const std::string& name) { focused_ = name; }
    void clearOptionGroup(const HeadlessControl& chosen);
    void timerTicked(const std::string& control);
    void setFactory(class HeadlessFormFactory* factory) { factory_ = factory; }

  private:
    FormSpec spec_;
    FormHandler& handler_;
    HeadlessEventLoop& loop_;
    HeadlessWindowSystem& windows_;
    const Screen& screen_;
    std::vector<std::unique_ptr<HeadlessControl>> controls_;
    MemorySurface background_;
    WindowHandle handle_;
    std::string caption_;
    TwipsRect bounds_;
    std::string focused_;
    bool loaded_ = true;
    bool visible_ = false;
    bool modal_ = false;
    int showCount_ = 0;
    int frontCount_ = 0;
    class HeadlessFormFactory* factory_ = nullptr;
};

class HeadlessFormFactory : public FormFactory {
  public:
    HeadlessFormFactory(HeadlessEventLoop& loop, HeadlessWindowSystem& windows,
                        const Screen& screen)
        : loop_(loop), windows_(windows), screen_(screen) {}

    std::unique_ptr<Form> create(const FormSpec& design, FormHandler& handler,
                                 Form* owner) override;

    // The most recently created form of that name that is still loaded.
    HeadlessForm* find(std::string_view name) const;
    bool anyLoaded() const;
    int created() const { return created_; }

  private:
    friend class HeadlessForm;
    HeadlessEventLoop& loop_;
    HeadlessWindowSystem& windows_;
    const Screen& screen_;
    std::vector<HeadlessForm*> live_;
    int created_ = 0;
};

}  // namespace pictavo::platform::headless
