#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <sstream>

#include "contract/dialog_driver.h"
#include "platform/keys.h"

namespace pictavo::testing {

namespace keys = platform::keys;

std::vector<Stroke> parseStrokes(const std::string& strokes) {
    static const std::map<std::string, int> kNamed = {
        {"Tab", keys::kTab},
        {"Return", keys::kEnter},
        {"Escape", keys::kEscape},
        {"BackSpace", keys::kBackspace},
        {"space", keys::kSpace},
        {"Up", keys::kUp},
        {"Down", keys::kDown},
        {"Left", keys::kLeft},
        {"Right", keys::kRight},
        {"Home", keys::kHome},
        {"End", keys::kEnd},
        {"Page_Up", keys::kPageUp},
        {"Page_Down", keys::kPageDown},
    };
    std::vector<Stroke> out;
    std::istringstream words(strokes);
    std::string word;
    while (words >> word) {
        Stroke stroke;
        size_t plus = 0;
        while ((plus = word.find('+')) != std::string::npos) {
            std::string modifier = word.substr(0, plus);
            word = word.substr(plus + 1);
            if (modifier == "shift") stroke.shift |= keys::kShift;
            if (modifier == "ctrl") stroke.shift |= keys::kCtrl;
            if (modifier == "alt") stroke.shift |= keys::kAlt;
        }
        if (auto named = kNamed.find(word); named != kNamed.end()) {
            stroke.key = named->second;
        } else if (word.size() == 1 && std::isalnum(static_cast<unsigned char>(word[0]))) {
            stroke.key = std::toupper(static_cast<unsigned char>(word[0]));
        } else {
            ADD_FAILURE() << "no such key: " << word;
            continue;
        }
        out.push_back(stroke);
    }
    return out;
}

std::vector<Stroke> strokesFor(const std::string& text) {
    std::vector<Stroke> out;
    for (char c : text) {
        auto u = static_cast<unsigned char>(c);
        if (std::isupper(u))
            out.push_back({c, keys::kShift});
        else if (std::islower(u))
            out.push_back({std::toupper(u), 0});
        else if (std::isdigit(u) || c == ' ')
            out.push_back({c, 0});
        else
            ADD_FAILURE() << "cannot type '" << c << "'";
    }
    return out;
}

}  // namespace pictavo::testing
