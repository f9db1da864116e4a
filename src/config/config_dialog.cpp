#include "config/config_dialog.h"

#include "artwork/artwork.h"
#include "common/numbers.h"
#include "config/window_placement.h"
#include "dialogs/reactions.h"
#include "files/file_list.h"
#include "settings/settings.h"

namespace pictavo::config {

namespace {
using platform::EventType;
using platform::kFormItself;
using platform::Reaction;

constexpr int kTextureSize = 48;  // pixels
constexpr int kSpeedMinimum = 1, kSpeedMaximum = 1000;
constexpr int32_t kIntervalWhenUnusable = 2;

constexpr const char* kIntervalPrompt = "Enter the number of seconds between slides";
constexpr const char* kIntervalTitle = "Configure slide interval";

// The custom answer as a signed 16-bit whole number; anything unusable is 0.
int32_t customIntervalAnswer(const std::optional<std::string>& answer) {
    if (!answer) return 0;
    std::optional<double> number = parseDecimal(*answer);
    if (!number) return 0;
    return tryInt16(*number).value_or(0);
}
}  // namespace

ConfigDialog::ConfigDialog(platform::Host& host, SaverState& state) : host_(host), state_(state) {}

ConfigDialog::~ConfigDialog() = default;

void ConfigDialog::show(const std::string& caption) {
    about_.reset();
    changePassword_.reset();
    intervalBox_.reset();
    lists_.reset();
    form_ = host_.forms().create(layout(), *this, nullptr);
    // The texture is the picture the holder was designed with.
    if (platform::Surface* holder = control("Shape1").surface())
        holder->drawImage(artwork::image(control("Shape1").design().resource), 0, 0);
    lists_ = std::make_unique<FolderLists>(host_.files(), control("Drive1"), control("Dir1"),
                                           control("File1"), host_.defaultPictureFolder());
    load();
    form_->setCaption(caption);
    form_->show(true);
}

// Every step stands alone: one that cannot be done is skipped and the
// controls keep what they had.
void ConfigDialog::load() {
    TileBackground();
    lists_->setPatterns(files::kPicturePatterns);
    control("Shape1").move({control("Shape1").bounds().left, control("Shape1").bounds().top,
                            twipsX(host_.screen(), kTextureSize),
                            twipsY(host_.screen(), kTextureSize)});
    if (state_.Speed >= kSpeedMinimum && state_.Speed <= kSpeedMaximum) {
        control("HScroll1").setValue(state_.Speed);
        showSpeed();
    }
    static_cast<void>(lists_->setDrive(state_.PicturePath));
    static_cast<void>(lists_->setDirPath(state_.PicturePath));
    static_cast<void>(lists_->setFilePath(state_.PicturePath));
    selectInterval();
    control("PassWordCheck").setValue(state_.UsePassword != 0 ? 1 : 0);
    control("btnStretch").setValue(state_.Stretch != 0 ? 1 : 0);
    centreOnScreen(*form_, host_.screen());
    hidePasswordPanel();
    enlargeFolderPanel();
}

void ConfigDialog::TileBackground() {
    platform::Surface* background = form_->background();
    platform::Control& holder = control("Shape1");
    const platform::Surface* texture = holder.surface();
    if (background == nullptr || texture == nullptr) return;
    const int w = pixelsX(host_.screen(), holder.bounds().width);
    const int h = pixelsY(host_.screen(), holder.bounds().height);
    // A holder shrunk to nothing would never get past the first tile.
    if (w <= 0 || h <= 0) return;
    const int clientWidth = pixelsX(host_.screen(), form_->clientSize().width);
    const int clientHeight = pixelsY(host_.screen(), form_->clientSize().height);
    for (int y = 0; y <= clientHeight; y += h)
        for (int x = 0; x <= clientWidth; x += w) background->copyFrom(*texture, x, y, w, h, 0, 0);
    background->present();
}

void ConfigDialog::selectInterval() {
    switch (state_.Interval) {
        case 3:
            control("Option3D7").setValue(1);
            chooseThreeSeconds();
            return;
        case 10:
            control("Option3D8").setValue(1);
            chooseTenSeconds();
            return;
        case 20:
            control("Option3D9").setValue(1);
            chooseTwentySeconds();
            return;
        default:
            if (state_.Interval < 1) state_.Interval = kIntervalWhenUnusable;
            setCustomCaption(state_.Interval, " seconds)");
    }
}

void ConfigDialog::setCustomCaption(int32_t seconds, const char* closing) {
    control("Option3D10")
        .setCaption("Custom Interval (" + settings::decimalText(seconds) + closing);
}

void ConfigDialog::hidePasswordPanel() {
    for (const char* name :
         {"Line2", "Line4", "Line5", "Line6", "Picture5", "PasswordButton", "PassWordCheck"})
        control(name).setVisible(false);
}

void ConfigDialog::enlargeFolderPanel() {
    auto resize = [](platform::Control& c, int height) {
        platform::TwipsRect rect = c.bounds();
        rect.height = height;
        c.move(rect);
    };
    resize(control("File1"), control("File1").bounds().height * 2);
    resize(control("Dir1"), control("File1").bounds().height);
    // Down to the bottom edge of the hidden password panel.
    resize(control("Shape4"), control("Line2").bounds().top - control("Shape5").bounds().top);
    resize(control("Shape5"), control("Shape4").bounds().height);
}

void ConfigDialog::onEvent(platform::Form&, platform::Event& event) {
    static constexpr Reaction<ConfigDialog> kReactions[] = {
        {EventType::Paint, kFormItself, &ConfigDialog::TileBackground},
        {EventType::Resize, kFormItself, &ConfigDialog::TileBackground},
        {EventType::Close, kFormItself, &ConfigDialog::cancel},
        {EventType::Change, "Drive1", &ConfigDialog::driveChosen},
        {EventType::Change, "Dir1", &ConfigDialog::folderChosen},
        {EventType::Click, "Option3D7", &ConfigDialog::chooseThreeSeconds},
        {EventType::Click, "Option3D8", &ConfigDialog::chooseTenSeconds},
        {EventType::Click, "Option3D9", &ConfigDialog::chooseTwentySeconds},
        {EventType::Click, "Option3D10", &ConfigDialog::askForCustomInterval},
        {EventType::Change, "HScroll1", &ConfigDialog::showSpeed},
        {EventType::Click, "PassWordCheck", &ConfigDialog::enableSetPassword},
        {EventType::Click, "PasswordButton", &ConfigDialog::openChangePassword},
        {EventType::Click, "PicBtn2", &ConfigDialog::openAbout},
        {EventType::Click, "PicBtn3", &ConfigDialog::showHelp},
        {EventType::Click, "PicBtn4", &ConfigDialog::cancel},
        {EventType::Click, "PicBtn5", &ConfigDialog::saveAndClose},
    };
    platform::react(*this, kReactions, event);
}

void ConfigDialog::driveChosen() {
    lists_->driveChosen();
}

void ConfigDialog::folderChosen() {
    lists_->folderChosen();
}

void ConfigDialog::askForCustomInterval() {
    intervalBox_ = std::make_unique<InputBox>(host_);
    intervalBox_->ask(kIntervalPrompt, kIntervalTitle, "", form_.get(),
                      [this](const std::optional<std::string>& answer) { useInterval(answer); });
}

void ConfigDialog::useInterval(const std::optional<std::string>& answer) {
    int32_t seconds = customIntervalAnswer(answer);
    if (seconds < 1) seconds = kIntervalWhenUnusable;
    state_.Interval = seconds;
    setCustomCaption(seconds, " seconds )");
}

void ConfigDialog::showSpeed() {
    control("TransSpeed").setCaption(settings::decimalText(control("HScroll1").value()));
}

void ConfigDialog::enableSetPassword() {
    control("PasswordButton").setEnabled(control("PassWordCheck").value() == 1);
}

void ConfigDialog::openChangePassword() {
    changePassword_ = std::make_unique<ChangePasswordDialog>(host_, state_);
    changePassword_->showModal(form_.get());
}

void ConfigDialog::openAbout() {
    about_ = std::make_unique<AboutBox>(host_, state_);
    about_->showModal(form_.get());
}

void ConfigDialog::showHelp() {
    host_.dialogs().messageBox(helpText(), "Configuration Help", platform::kMbOk);
}

void ConfigDialog::cancel() {
    form_->unload();
}

void ConfigDialog::saveAndClose() {
    if (lists_->fileCount() == 0) {
        host_.dialogs().messageBox("No Pictures in " + lists_->dirPath(), "Nothing to Display",
                                   platform::kMbOk | platform::kMbIconExclamation);
        return;
    }
    Result<void> saved =
        settings::savePictureSettings(host_.settings(), lists_->filePath(), state_.Interval,
                                      control("HScroll1").value(), control("btnStretch").value());
    // Closing as if all were well would lose the user's choices unseen.
    if (!saved) {
        host_.dialogs().messageBox(
            "The settings could not be saved.\r\n\r\n" + saved.error().message, form_->caption(),
            platform::kMbOk | platform::kMbIconExclamation);
        return;
    }
    form_->unload();
}

}  // namespace pictavo::config
