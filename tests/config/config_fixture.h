#pragma once
// A headless host with a picture folder of its own, for the dialog tests.

#include <gtest/gtest.h>

#include <string>

#include "hosts/headless/headless_host.h"
#include "state/saver_state.h"
#include "temp_folder.h"

namespace pictavo::config {

class DialogTest : public testing::Test {
  protected:
    using HeadlessForm = platform::headless::HeadlessForm;
    static constexpr int kEnter = 13;
    static constexpr int kEscape = 27;

    DialogTest() {
        host.setDefaultPictureFolder(start.path().string());
        state.PicturePath = pictures.withSeparator();
        pictures.write("b.jpg", "x");
        pictures.write("a.BMP", "x");
        pictures.write("notes.txt", "x");
        pictures.write(".hidden.png", "x");
    }

    HeadlessForm* find(const char* name) { return host.forms().find(name); }
    const std::vector<std::string>& writes() { return host.settings().writeLog(); }
    const std::vector<platform::headless::HeadlessDialogs::Shown>& boxes() {
        return host.dialogs().shown();
    }
    // The folder as the lists report it: without the final separator.
    std::string folderOf(const TempFolder& folder) const { return folder.path().string(); }

    platform::headless::HeadlessHost host;
    SaverState state;
    TempFolder pictures;
    TempFolder start;
};

}  // namespace pictavo::config
