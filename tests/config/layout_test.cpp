// The dialogs' layout tables on their own: names, containers, tab order,
// default and cancel buttons and captions. Nothing is built or drawn.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "config/about_box.h"
#include "config/change_password_dialog.h"
#include "config/config_dialog.h"
#include "config/input_box.h"

namespace pictavo::config {
namespace {

using platform::ControlKind;
using platform::ControlSpec;
using platform::FormSpec;

const ControlSpec& find(const FormSpec& form, const std::string& name) {
    auto found = std::find_if(form.controls.begin(), form.controls.end(),
                              [&](const ControlSpec& c) { return c.name == name; });
    if (found == form.controls.end()) throw std::runtime_error(form.name + " has no " + name);
    return *found;
}

std::vector<std::string> tabOrder(const FormSpec& form) {
    std::vector<const ControlSpec*> stops;
    for (const ControlSpec& c : form.controls)
        if (c.tabIndex >= 0) stops.push_back(&c);
    std::sort(stops.begin(), stops.end(),
              [](auto* a, auto* b) { return a->tabIndex < b->tabIndex; });
    std::vector<std::string> names;
    for (auto* c : stops) names.push_back(c->name);
    return names;
}

void expectSoundTable(const FormSpec& form) {
    std::set<std::string> names;
    std::set<int> tabIndices;
    int defaults = 0, cancels = 0;
    for (const ControlSpec& c : form.controls) {
        EXPECT_FALSE(c.name.empty()) << form.name;
        EXPECT_TRUE(names.insert(c.name).second) << form.name << ": " << c.name << " twice";
        if (!c.parent.empty()) {
            // A container must come first, so that a host can build in table order.
            EXPECT_TRUE(names.contains(c.parent))
                << form.name << ": " << c.name << " before its " << c.parent;
            EXPECT_EQ(find(form, c.parent).kind, ControlKind::PictureBox) << c.parent;
            EXPECT_TRUE(find(form, c.parent).parent.empty()) << "panels are not nested";
        }
        if (c.tabIndex >= 0) {
            EXPECT_TRUE(tabIndices.insert(c.tabIndex).second) << c.name;
        }
        EXPECT_GE(c.rect.width, 0) << c.name;
        EXPECT_GE(c.rect.height, 0) << c.name;
        defaults += c.isDefault;
        cancels += c.isCancel;
        if (c.isDefault || c.isCancel) {
            EXPECT_EQ(c.kind, ControlKind::Button) << c.name;
        }
        if (c.kind == ControlKind::Line) {
            EXPECT_TRUE(c.rect.width == 0 || c.rect.height == 0) << c.name;
        }
        // At most one access key, and never at the end.
        size_t amp = c.caption.find('&');
        if (amp != std::string::npos) {
            EXPECT_LT(amp + 1, c.caption.size()) << c.name;
            EXPECT_EQ(c.caption.find('&', amp + 1), std::string::npos) << c.name;
        }
    }
    EXPECT_LE(defaults, 1) << form.name;
    EXPECT_LE(cancels, 1) << form.name;
    // Tab indices run 0, 1, 2, ... without gaps.
    int expected = 0;
    for (int index : tabIndices) EXPECT_EQ(index, expected++) << form.name;
}

std::map<std::string, std::string> accessKeys(const FormSpec& form) {
    std::map<std::string, std::string> keys;
    for (const ControlSpec& c : form.controls) {
        size_t amp = c.caption.find('&');
        if (amp == std::string::npos || c.kind == ControlKind::Label) continue;
        std::string key(
            1, static_cast<char>(std::tolower(static_cast<unsigned char>(c.caption[amp + 1]))));
        EXPECT_FALSE(keys.contains(key))
            << form.name << ": " << c.name << " and " << keys[key] << " share &" << key;
        keys[key] = c.name;
    }
    return keys;
}

TEST(Layouts, TablesAreSound) {
    for (const FormSpec& form : {ConfigDialog::layout(), ChangePasswordDialog::layout(),
                                 AboutBox::layout(), InputBox::layout()}) {
        SCOPED_TRACE(form.name);
        expectSoundTable(form);
        accessKeys(form);
    }
}

TEST(Layouts, ConfigurationDialog) {
    const FormSpec form = ConfigDialog::layout();
    // The stretch box sits in its place between the panels above and below it.
    EXPECT_EQ(tabOrder(form), (std::vector<std::string>{
                                  "Drive1", "Dir1", "File1", "PassWordCheck", "PasswordButton",
                                  "btnStretch", "HScroll1", "Option3D7", "Option3D8", "Option3D9",
                                  "Option3D10", "PicBtn2", "PicBtn3", "PicBtn4", "PicBtn5"}));
    EXPECT_TRUE(find(form, "PicBtn5").isDefault);
    EXPECT_TRUE(find(form, "PicBtn4").isCancel);
    // The password panel's bottom edge, which the folder panel grows down to.
    EXPECT_EQ(find(form, "Line2").rect.top, 3270);
    for (const char* panel : {"Picture5", "Picture1", "Picture7", "Picture6"}) {
        EXPECT_EQ(find(form, panel).kind, ControlKind::PictureBox) << panel;
        EXPECT_FALSE(find(form, panel).border) << panel;
    }
    // Grey above and left, white below and right, just outside each panel.
    struct Outline {
        const char* panel;
        const char* top;
        const char* left;
        const char* bottom;
        const char* right;
    };
    for (const Outline& o : {Outline{"Picture5", "Line6", "Line5", "Line2", "Line4"},
                             Outline{"Picture1", "Line13", "Line14", "Line15", "Line16"},
                             Outline{"Picture7", "Line9", "Line10", "Line11", "Line12"},
                             Outline{"Picture6", "Line1", "Line3", "Line7", "Line8"}}) {
        const platform::TwipsRect p = find(form, o.panel).rect;
        EXPECT_EQ(find(form, o.top).rect.top, p.top - 15) << o.top;
        EXPECT_EQ(find(form, o.left).rect.left, p.left - 15) << o.left;
        EXPECT_EQ(find(form, o.bottom).rect.top, p.top + p.height) << o.bottom;
        EXPECT_EQ(find(form, o.right).rect.left, p.left + p.width) << o.right;
        EXPECT_EQ(find(form, o.top).borderColour, 0x00808080u);
        EXPECT_EQ(find(form, o.left).borderColour, 0x00808080u);
        EXPECT_EQ(find(form, o.bottom).borderColour, 0x00FFFFFFu);
        EXPECT_EQ(find(form, o.right).borderColour, 0x00FFFFFFu);
    }
    for (const char* label :
         {"Label6", "Label5", "Label7", "Label1", "Label2", "Label3", "Label4"}) {
        const ControlSpec& c = find(form, label);
        EXPECT_EQ(c.foreColour, 0x00FF0000u) << label;
        EXPECT_TRUE(c.transparent) << label;
        ASSERT_TRUE(c.font) << label;
        EXPECT_DOUBLE_EQ(c.font->points, 9.75) << label;
        EXPECT_EQ(c.font->bold, c.parent.empty()) << label;  // only the folder panel's are bold
    }
}

TEST(Layouts, PasswordDialog) {
    const FormSpec form = ChangePasswordDialog::layout();
    EXPECT_EQ(tabOrder(form),
              (std::vector<std::string>{"Text1", "Text2", "Text3", "PicBtn5", "PicBtn4"}));
    for (const char* box : {"Text1", "Text2", "Text3"}) {
        EXPECT_EQ(find(form, box).kind, ControlKind::TextBox);
        EXPECT_EQ(find(form, box).passwordChar, '*');
        EXPECT_EQ(find(form, box).maxLength, 20);
    }
    EXPECT_TRUE(find(form, "Text1").enabled);
    for (const char* name : {"Text2", "Text3", "Label2", "Label3"})
        EXPECT_FALSE(find(form, name).enabled) << name;
    EXPECT_TRUE(find(form, "PicBtn5").isDefault);
    EXPECT_TRUE(find(form, "PicBtn4").isCancel);
}

TEST(Layouts, AboutBox) {
    const FormSpec form = AboutBox::layout();
    EXPECT_EQ(find(form, "Image1").resource, "icon");
    // The little screen lies on the icon, and above it.
    const auto& icon = find(form, "Image1");
    const auto& screen = find(form, "LittleScreen");
    EXPECT_GE(screen.rect.left, icon.rect.left);
    EXPECT_LE(screen.rect.left + screen.rect.width, icon.rect.left + icon.rect.width);
    EXPECT_LE(screen.rect.top + screen.rect.height, icon.rect.top + icon.rect.height);
    EXPECT_GT(&screen, &icon);
}

}  // namespace
}  // namespace pictavo::config
