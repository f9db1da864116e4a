#include "hosts/headless/headless_controls.h"

#include <algorithm>
#include <cmath>

#include "common/text.h"
#include "hosts/headless/headless_forms.h"
#include "platform/control.h"
#include "platform/keys.h"

namespace pictavo::platform::headless {

namespace {

// Typing at the end of the text; Backspace takes the last character back.
class TextBoxRole : public HeadlessRole {
  public:
    using HeadlessRole::HeadlessRole;
    bool key(int key) override {
        if (key != keys::kBackspace) return false;
        std::string text = control_.text();
        size_t end = text.size();
        while (end > 0 && (static_cast<unsigned char>(text[end - 1]) & 0xC0) == 0x80) --end;
        if (end > 0) text.resize(end - 1);
        form_.dialog().typed(control_, text);
        return true;
    }
    bool character(char32_t code) override {
        if (code < 0x20 || code == 0x7F) return false;
        std::string text = control_.text();
        appendUtf8(text, code);
        form_.dialog().typed(control_, text);  // a character beyond the limit changes nothing
        return true;
    }
};

// The arrows, Home and End move the selection.
class ListRole : public HeadlessRole {
  public:
    using HeadlessRole::HeadlessRole;
    bool key(int key) override {
        int count = static_cast<int>(control_.items().size());
        if (count == 0) return false;
        int now = control_.selectedIndex();
        int next = now;
        if (key == keys::kDown || key == keys::kRight)
            next = now < 0 ? 0 : std::min(now + 1, count - 1);
        else if (key == keys::kUp || key == keys::kLeft)
            next = now < 0 ? 0 : std::max(now - 1, 0);
        else if (key == keys::kHome)
            next = 0;
        else if (key == keys::kEnd)
            next = count - 1;
        else
            return false;
        form_.dialog().selected(control_, next);
        return true;
    }
};

// The arrows move by the small change, Page Up and Down by the large one.
class ScrollBarRole : public HeadlessRole {
  public:
    using HeadlessRole::HeadlessRole;
    bool key(int key) override {
        const ControlSpec& design = control_.design();
        int value = control_.value();
        if (key == keys::kLeft || key == keys::kUp)
            value -= design.smallChange;
        else if (key == keys::kRight || key == keys::kDown)
            value += design.smallChange;
        else if (key == keys::kPageUp)
            value -= design.largeChange;
        else if (key == keys::kPageDown)
            value += design.largeChange;
        else if (key == keys::kHome)
            value = design.minimum;
        else if (key == keys::kEnd)
            value = design.maximum;
        else
            return false;
        form_.dialog().scrolled(control_, value);
        return true;
    }
};

class PictureRole : public HeadlessRole {
  public:
    PictureRole(HeadlessForm& form, Control& control) : HeadlessRole(form, control) {
        surface_.setFrameSink(&form.frames());
        resize();
        surface_.clear(background());
    }
    void update(Properties changed) override {
        if (changed.has(Property::Bounds)) resize();
    }
    Surface* surface() override { return &surface_; }

  private:
    Colour background() const {
        return control_.design().backColour.value_or(form_.design().backColour);
    }
    void resize() {
        const Screen& screen = form_.screen();
        int width =
            static_cast<int>(std::lround(control_.bounds().width / screen.twipsPerPixelX()));
        int height =
            static_cast<int>(std::lround(control_.bounds().height / screen.twipsPerPixelY()));
        if (width == surface_.width() && height == surface_.height()) return;
        // The persistent image keeps what fits, as a picture box does when it grows.
        imaging::Image old = surface_.snapshot();
        surface_.resize(width, height);
        surface_.clear(background());
        surface_.drawImage(old, 0, 0);
    }

    MemorySurface surface_;
};

class TimerRole : public HeadlessRole {
  public:
    TimerRole(HeadlessForm& form, Control& control)
        : HeadlessRole(form, control, NoWindow{}),
          id_(form.loop().addTimer([this] { form_.raise(EventType::Timer, control_.name()); })) {
        restart();
    }
    ~TimerRole() override { unloaded(); }
    void update(Properties changed) override {
        if (changed.has(Property::Enabled) || changed.has(Property::Interval)) restart();
    }
    void unloaded() override {
        if (id_ != 0) form_.loop().removeTimer(id_);
        id_ = 0;
    }

  private:
    void restart() {
        if (id_ != 0) form_.loop().setTimer(id_, control_.interval(), control_.enabled());
    }

    int id_;
};

}  // namespace

namespace {

template <class Role>
std::unique_ptr<HeadlessRole> make(HeadlessForm& form, Control& control) {
    return std::make_unique<Role>(form, control);
}

using Maker = std::unique_ptr<HeadlessRole> (*)(HeadlessForm&, Control&);

struct RoleOfKind {
    ControlKind kind;
    Maker make;
};

// The kinds not listed only keep their state.
constexpr RoleOfKind kRoles[] = {
    {ControlKind::TextBox, make<TextBoxRole>},      {ControlKind::DriveList, make<ListRole>},
    {ControlKind::DirList, make<ListRole>},         {ControlKind::FileList, make<ListRole>},
    {ControlKind::HScrollBar, make<ScrollBarRole>}, {ControlKind::PictureBox, make<PictureRole>},
    {ControlKind::Timer, make<TimerRole>},
};

}  // namespace

HeadlessRole::HeadlessRole(HeadlessForm& form, Control& control)
    : form_(form), control_(control), handle_(form.registerChildWindow()) {}

std::unique_ptr<HeadlessRole> makeHeadlessRole(HeadlessForm& form, Control& control) {
    for (const RoleOfKind& role : kRoles)
        if (role.kind == control.design().kind) return role.make(form, control);
    return std::make_unique<HeadlessRole>(form, control);
}

}  // namespace pictavo::platform::headless
