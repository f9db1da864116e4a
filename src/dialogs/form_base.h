#pragma once
// What every host's form shares: the layout, the controls built from it,
// the dialog manager, and the way events reach the core's handler. A
// backend derives from it and adds the native window, a native side for
// each control (from its table of roles) and the routing of native input
// to the dialog manager.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/dialog_manager.h"
#include "dialogs/open_forms.h"
#include "platform/forms.h"

namespace pictavo::platform {

class FormBase : public Form, private ControlOwner {
  public:
    ~FormBase() override;
    FormBase(const FormBase&) = delete;
    FormBase& operator=(const FormBase&) = delete;

    const FormSpec& design() const override { return spec_; }
    Control* find(std::string_view name) override;

    DialogManager& dialog() { return dialog_; }
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }
    // The control a control lies in; nullptr: the form itself.
    Control* containerOf(const Control& control) const;
    // Hands event to the core's handler, which may change it (key = 0
    // swallows a key). Nothing reaches it before the form is ready or once
    // it unloaded.
    void raise(Event& event);
    void raise(EventType type, const std::string& control = {});
    // Turns false when the form object goes: for code that runs the handler
    // and looks at the form afterwards.
    std::shared_ptr<const bool> aliveToken() const { return alive_; }
    // A modal form other than this one holds the program's input.
    bool blocked() const { return openForms_.blocked(*this); }
    FormBase* ownerForm() const { return owner_; }

  protected:
    FormBase(const FormSpec& design, FormHandler& handler, OpenForms& openForms, FormBase* owner);

    using NativeMaker = std::function<std::unique_ptr<NativeControl>(Control&)>;
    // Makes the controls, in layout order, each with the native side make gives it.
    void buildControls(const NativeMaker& make);
    // Drops every control's native side, before the backend's window goes.
    void dropNatives();
    // Whether the handler may be called now.
    virtual bool takesEvents() const { return loaded(); }
    void beginModal() { openForms_.enterModal(this); }
    void endModal() { openForms_.leaveModal(this); }

  private:
    void optionChosen(Control& chosen) override;
    void focusRequested(Control& control) override;

    FormSpec spec_;
    FormHandler& handler_;
    OpenForms& openForms_;
    FormBase* owner_;
    std::vector<std::unique_ptr<Control>> controls_;
    DialogManager dialog_{*this};
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace pictavo::platform
