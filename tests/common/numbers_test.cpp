#include "common/numbers.h"

#include <gtest/gtest.h>

#include <vector>

namespace pictavo {
namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(160.5), 160);
    EXPECT_EQ(roundHalfEven(161.5), 162);
    EXPECT_EQ(roundHalfEven(111.5), 112);
    EXPECT_EQ(roundHalfEven(110.5), 110);
    EXPECT_EQ(roundHalfEven(0.5), 0);
    EXPECT_EQ(roundHalfEven(-0.5), 0);
    EXPECT_EQ(roundHalfEven(-1.5), -2);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(2.4999), 2);
    EXPECT_EQ(roundHalfEven(2.5001), 3);
    EXPECT_EQ(roundHalfEven(-487.5), -488);  // a centred 2000-wide picture on 1024
}

TEST(StoringIntoIntegers, DetectsValuesThatDoNotFit) {
    EXPECT_EQ(tryInt16(32767.4), 32767);
    EXPECT_EQ(tryInt16(32767.5), std::nullopt);  // rounds to 32768
    EXPECT_EQ(tryInt16(-32768.5), -32768);       // rounds to the even -32768
    EXPECT_EQ(tryInt16(-32769), std::nullopt);
    EXPECT_EQ(tryInt16(40000), std::nullopt);
    EXPECT_EQ(tryInt32(2147483647.0), 2147483647);
    EXPECT_EQ(tryInt32(2147483648.0), std::nullopt);
    EXPECT_EQ(tryInt16(std::nan("")), std::nullopt);
    EXPECT_EQ(toInt16(1e9), 32767);
    EXPECT_EQ(toInt16(-1e9), -32768);
    EXPECT_EQ(toInt32(642.0 / 4), 160);
}

TEST(IntFloor, IsTheFloorNotTruncation) {
    EXPECT_EQ(intFloor(2.9), 2);
    EXPECT_EQ(intFloor(-0.1), -1);
    EXPECT_EQ(intFloor(600.0 / 2), 300);
    EXPECT_EQ(intFloor(601.0 / 2), 300);
}

TEST(LenientNumber, TakesAsMuchOfALeadingNumberAsThereIs) {
    EXPECT_EQ(parseLeadingNumber(" 1234"), 1234);
    EXPECT_EQ(parseLeadingNumber("001"), 1);
    EXPECT_EQ(parseLeadingNumber("1"), 1);
    EXPECT_EQ(parseLeadingNumber(""), 0);
    EXPECT_EQ(parseLeadingNumber(":1234"), 0);
    EXPECT_EQ(parseLeadingNumber("12abc"), 12);
    EXPECT_EQ(parseLeadingNumber("  -7.5x"), -7.5);
    EXPECT_EQ(parseLeadingNumber("1e3"), 1000);
    EXPECT_EQ(parseLeadingNumber("1e"), 1);  // an exponent without digits is not part of it
    EXPECT_EQ(parseLeadingNumber("-"), 0);
    EXPECT_EQ(parseLeadingNumber("."), 0);
    EXPECT_EQ(parseLeadingNumber("\t 42"), 42);
    EXPECT_EQ(parseLeadingNumber("1e999"), 0);  // overflow is no number
}

TEST(StrictDecimal, AcceptsBlanksAndFractionsButNothingElse) {
    EXPECT_EQ(parseDecimal(" 10 "), 10);
    EXPECT_EQ(parseDecimal("2.5"), 2.5);
    EXPECT_EQ(parseDecimal("-3"), -3);
    EXPECT_EQ(parseDecimal(""), std::nullopt);
    EXPECT_EQ(parseDecimal("abc"), std::nullopt);
    EXPECT_EQ(parseDecimal("10 seconds"), std::nullopt);
    EXPECT_EQ(parseDecimal("1 0"), std::nullopt);
}

std::vector<int> collect(CountedLoop loop) {
    std::vector<int> values;
    for (int i : loop) values.push_back(i);
    EXPECT_EQ(static_cast<long long>(values.size()), loop.count());
    return values;
}

TEST(CountedLoop, RunsWhileTheCounterHasNotPassedTheEnd) {
    EXPECT_EQ(collect(countedLoop(0, 3)), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(collect(countedLoop(0, 40, 2)).size(), 21u);
    EXPECT_EQ(collect(countedLoop(76, 0, -2)).back(), 0);
    EXPECT_EQ(collect(countedLoop(77, 0, -2)).back(), 1);
    EXPECT_EQ(collect(countedLoop(1, 631, 10)).size(), 64u);
    EXPECT_TRUE(collect(countedLoop(5, 4)).empty());
    EXPECT_TRUE(collect(countedLoop(4, 5, -1)).empty());
    EXPECT_TRUE(collect(countedLoop(0, 10, 0)).empty());
    EXPECT_EQ(collect(countedLoop(3, 3, -1)), (std::vector<int>{3}));
}

}  // namespace
}  // namespace pictavo
