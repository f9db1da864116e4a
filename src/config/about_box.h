#pragma once
// frmAbout: the product name and version beside the program icon, whose
// little screen flickers through fill patterns and colours. It opens short
// and can be enlarged once to show a notice about the program.

#include <memory>

#include "platform/host.h"
#include "state/saver_state.h"

namespace pictavo::config {

class AboutBox : private platform::FormHandler {
  public:
    static constexpr const char* kFormName = "frmAbout";

    AboutBox(platform::Host& host, SaverState& state);
    ~AboutBox() override;
    AboutBox(const AboutBox&) = delete;
    AboutBox& operator=(const AboutBox&) = delete;

    static platform::FormSpec layout();

    void showModal(platform::Form* owner);
    platform::Form* form() { return form_.get(); }

  private:
    void load();
    void onEvent(platform::Form& form, platform::Event& event) override;
    platform::Control& control(const char* name) { return form_->control(name); }
    void setHeight(int twips);

    void showNotice();
    void flickerLittleScreen();
    void close();

    platform::Host& host_;
    SaverState& state_;
    std::unique_ptr<platform::Form> form_;
};

}  // namespace pictavo::config
