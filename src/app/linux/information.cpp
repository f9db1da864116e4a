#include "app/linux/information.h"

#include <algorithm>

namespace pictavo::app {

namespace {

bool contains(const std::vector<std::string>& arguments, std::initializer_list<const char*> names) {
    return std::any_of(arguments.begin(), arguments.end(), [&](const std::string& argument) {
        return std::any_of(names.begin(), names.end(),
                           [&](const char* name) { return argument == name; });
    });
}

}  // namespace

Information informationAskedFor(const std::vector<std::string>& arguments) {
    if (contains(arguments, {"--help", "-help", "-h"})) return Information::Usage;
    if (contains(arguments, {"--version", "-version"})) return Information::Version;
    return Information::None;
}

std::string usageText() {
    return "Usage: pictavo [SWITCH]\n"
           "A slide show of the pictures of one folder, as a screen saver.\n"
           "\n"
           "  /s                   show the pictures full screen until the mouse moves or a\n"
           "                       key is pressed\n"
           "  /c                   open the configuration dialog (so does no switch, or any\n"
           "                       switch not listed here)\n"
           "  /p ID                run a miniature of the show inside window ID until that\n"
           "                       window goes away\n"
           "  /a ID                change the saver's password\n"
           "  -root, --root        draw the show on the root window, or inside the window\n"
           "                       named by $XSCREENSAVER_WINDOW\n"
           "  -window-id ID, --window-id ID\n"
           "                       draw the show inside window ID\n"
           "  --trace FILE         write what the show does to FILE, a line per event with\n"
           "                       the milliseconds since the show began\n"
           "  -h, --help           print this text and exit\n"
           "  --version            print the version and exit\n"
           "\n"
           "ID is an X window id, in decimal or as 0x followed by hexadecimal digits.\n"
           "With -root and -window-id the screen-saver host owns input and locking.\n"
           "Settings are kept in $XDG_CONFIG_HOME/pictavo/settings.ini (by default\n"
           "~/.config/pictavo/settings.ini).\n";
}

std::string versionText() {
    return "pictavo " PICTAVO_VERSION "\n";
}

}  // namespace pictavo::app
