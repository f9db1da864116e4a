#pragma once
// SSConfig, the configuration dialog: the picture folder, the time between
// slides, the transition speed and stretching. It shows the settings the
// start-up loaded and writes four of them back when the user clicks OK.

#include <memory>
#include <string>

#include "config/about_box.h"
#include "config/change_password_dialog.h"
#include "config/folder_lists.h"
#include "config/input_box.h"
#include "platform/host.h"
#include "state/saver_state.h"

namespace pictavo::config {

class ConfigDialog : private platform::FormHandler {
  public:
    static constexpr const char* kFormName = "SSConfig";

    ConfigDialog(platform::Host& host, SaverState& state);
    ~ConfigDialog() override;
    ConfigDialog(const ConfigDialog&) = delete;
    ConfigDialog& operator=(const ConfigDialog&) = delete;

    static platform::FormSpec layout();
    // The Help button's text, paragraphs separated by an empty line.
    static std::string helpText();

    // Loads the dialog and shows it modally under caption. Returns when it
    // closes on hosts whose modal windows block, at once on the others.
    void show(const std::string& caption);
    platform::Form* form() { return form_.get(); }
    // The custom interval's box, once asked.
    InputBox* intervalBox() { return intervalBox_.get(); }

  private:
    void onEvent(platform::Form& form, platform::Event& event) override;

    platform::Control& control(const char* name) { return form_->control(name); }
    void load();
    void TileBackground();
    void selectInterval();
    void hidePasswordPanel();
    void enlargeFolderPanel();
    void setCustomCaption(int32_t seconds, const char* closing);

    void driveChosen();
    void folderChosen();
    void chooseThreeSeconds() { state_.Interval = 3; }
    void chooseTenSeconds() { state_.Interval = 10; }
    void chooseTwentySeconds() { state_.Interval = 20; }
    void askForCustomInterval();
    void useInterval(const std::optional<std::string>& answer);
    void showSpeed();
    void enableSetPassword();
    void openChangePassword();
    void openAbout();
    void showHelp();
    void cancel();
    void saveAndClose();

    platform::Host& host_;
    SaverState& state_;
    // Declared so that the dialogs it opens go before the lists, and the
    // lists before the form whose controls they hold.
    std::unique_ptr<platform::Form> form_;
    std::unique_ptr<FolderLists> lists_;
    std::unique_ptr<ChangePasswordDialog> changePassword_;
    std::unique_ptr<AboutBox> about_;
    std::unique_ptr<InputBox> intervalBox_;
};

}  // namespace pictavo::config
