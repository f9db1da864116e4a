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

namespace pictavo::platform::headless {

class HeadlessForm;

class HeadlessControl : public Control {
public:
    HeadlessControl(HeadlessForm& form, ControlSpec design, WindowHandle handle);
    ~HeadlessControl() override;

    const ControlSpec& design() const override { return spec_; }
    std::string caption() const override { return caption_; }
    void setCaption(const std::string& caption) override { caption_ = caption; }
    std::string text() const override { return text_; }
    void setText(const std::string& text) override;
    int value() const override { return value_; }
    void setValue(int value) override;
    bool enabled() const override { return enabled_; }
    void setEnabled(bool enabled) override;
    bool visible() const override { return visible_; }
    void setVisible(bool visible) override { visible_ = visible; }
    TwipsRect bounds() const override { return rect_; }
    void move(const TwipsRect& rect) override;
    void setFocus() override;
    void setForeColour(Colour colour) override { foreColour_ = colour; }
    int interval() const override { return interval_; }
    void setInterval(int milliseconds) override;
    void setItems(const std::vector<std::string>& items) override;
    std::vector<std::string> items() const override { return items_; }
    int selectedIndex() const override { return selected_; }
    void setSelectedIndex(int index) override;
    void setFillStyle(int style) override { fillStyle_ = style; }
    void setFillColour(Colour colour) override { fillColour_ = colour; }
    Surface* surface() override { return surface_.get(); }
    WindowHandle handle() const override { return handle_; }

    int fillStyle() const { return fillStyle_; }
    Colour fillColour() const { return fillColour_; }
    Colour foreColour() const { return foreColour_; }
    MemorySurface* memorySurface() { return surface_.get(); }
    void stopTimer();

private:
    void resizeSurface();
    void restartTimer();

    HeadlessForm& form_;
    ControlSpec spec_;
    WindowHandle handle_;
    std::string caption_;
    std::string text_;
    int value_;
    bool enabled_;
    bool visible_;
    TwipsRect rect_;
    int interval_;
    std::vector<std::string> items_;
    int selected_ = -1;
    int fillStyle_;
    Colour fillColour_;
    Colour foreColour_;
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
    HeadlessFormFactory(HeadlessEventLoop& loop, HeadlessWindowSystem& windows, const Screen& screen)
        : loop_(loop), windows_(windows), screen_(screen) {}

    std::unique_ptr<Form> create(const FormSpec& design, FormHandler& handler, Form* owner) override;

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
