#include "hosts/win32/program_arguments.h"

#include <gtest/gtest.h>

namespace pictavo::platform::win32 {
namespace {

TEST(ArgumentsAfterProgramName, QuotedAndUnquotedNames) {
    EXPECT_EQ(argumentsAfterProgramName("\"C:\\Program Files\\Pictavo\\pictavo.scr\" /s"), "/s");
    EXPECT_EQ(argumentsAfterProgramName("C:\\WINDOWS\\PICTAV~1.SCR /p 1234"), "/p 1234");
    EXPECT_EQ(argumentsAfterProgramName("pictavo.scr"), "");
    EXPECT_EQ(argumentsAfterProgramName("\"C:\\Pictavo\\pictavo.scr\""), "");
    EXPECT_EQ(argumentsAfterProgramName(""), "");
}

TEST(ArgumentsAfterProgramName, TheSwitchKeepsItsOwnText) {
    EXPECT_EQ(argumentsAfterProgramName("C:\\WINDOWS\\PICTAV~1.SCR /c:1234"), "/c:1234");
    // Blanks and tabs between name and switch go; those after the switch stay.
    EXPECT_EQ(argumentsAfterProgramName("pictavo.scr \t  /a  5678 "), "/a  5678 ");
    // A quote ends the name even without a blank after it.
    EXPECT_EQ(argumentsAfterProgramName("\"pictavo.scr\"/s"), "/s");
    // An unclosed quote swallows the whole line as the name.
    EXPECT_EQ(argumentsAfterProgramName("\"C:\\Pictavo\\pictavo.scr /s"), "");
}

}  // namespace
}  // namespace pictavo::platform::win32
