// The contract on the headless host: keys go to the form shown last, as a
// window system gives them to the active window, and through the same
// steps a toolkit takes (the dialog manager, then the focused control).

#include "contract/dialog_driver.h"
#include "hosts/headless/headless_host.h"

namespace pictavo::testing {

namespace {

using platform::headless::HeadlessForm;

class HeadlessDriver : public DialogDriver {
  public:
    platform::Host& host() override { return host_; }
    void show(platform::Form& form) override { form.show(false); }
    void keys(const std::string& strokes) override { press(parseStrokes(strokes)); }
    void type(const std::string& text) override { press(strokesFor(text)); }
    void click(platform::Form& form, const std::string& control) override {
        static_cast<HeadlessForm&>(form).click(control);
    }
    void clickRow(platform::Form& form, const std::string& list, int row, bool twice) override {
        auto& headless = static_cast<HeadlessForm&>(form);
        headless.select(list, row);
        if (twice) headless.doubleClick(list);
    }
    std::string focused(platform::Form& form) override {
        return static_cast<HeadlessForm&>(form).focused();
    }
    void duringModal(const std::function<void()>& open, const std::function<void()>& script,
                     const std::function<void()>& close) override {
        open();  // shows the form and returns at once
        script();
        close();
    }

  private:
    void press(const std::vector<Stroke>& strokes) {
        for (const Stroke& stroke : strokes)
            if (HeadlessForm* form = host_.forms().keyboardForm(); form != nullptr)
                form->pressKey(stroke.key, stroke.shift);
    }

    platform::headless::HeadlessHost host_;
};

}  // namespace

std::unique_ptr<DialogDriver> makeDialogDriver() {
    return std::make_unique<HeadlessDriver>();
}

}  // namespace pictavo::testing
