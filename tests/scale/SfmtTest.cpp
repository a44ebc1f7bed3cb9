#include <gtest/gtest.h>

#include <string>

#include "scale/ErrorDialog.h"
#include "scale/Sfmt.h"

using namespace gradel;

TEST(NextField, TakesFieldsOffTheFront) {
    struct Case {
        std::string text, sep, field, rest;
    };
    const Case cases[] = {
        {"abc", ":", "abc", ""},      {"", ":", "", ""},          {":abc", ":", "", "abc"},
        {"a::b", ":", "a", ":b"},     {"a,b,c", ",", "a", "b,c"}, {"abc", "", "", "abc"},
        {"aXYbXY", "XY", "a", "bXY"}, {"aBb", "b", "aB", ""},  // letter case counts
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        EXPECT_EQ(Sfmt::NextField(text, c.sep), c.field) << c.text;
        EXPECT_EQ(text, c.rest) << c.text;
    }
}

TEST(NextField, SeparatorBeyondSixteenBitPositionOverflows) {
    std::string atLimit = std::string(32766, 'a') + ":z";  // found at position 32767
    EXPECT_EQ(Sfmt::NextField(atLimit, ":").size(), 32766u);
    std::string beyond = std::string(32767, 'a') + ":z";
    try {
        Sfmt::NextField(beyond, ":");
        ADD_FAILURE() << "no overflow";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.Number(), 6);
    }
}

TEST(LeadingNumber, ReadsTheNumberAtTheStart) {
    // clang-format off
    const std::pair<const char*, double> cases[] = {
        {"-12.50", -12.5}, {"1 2 3", 123}, {"abc1", 0}, {"", 0}, {"\t+1\n.5x", 1.5}, {"1.2.3", 1.2},
        {"1-2", 1}, {".5", 0.5}, {"-", 0}, {"1E3", 1000}, {"2d-1", 0.2}, {"1e", 1}, {"1e+", 1},
        {"&HFFFFFF00", -256}, {"&HFFFF", -1}, {"&H0FFFF", 65535}, {"&H7FFFFFFF", 2147483647.0},
        {"&h1g", 1}, {"&O17", 15}, {"&O177777", -1}, {"&O200000", 65536}, {"&H", 0}, {"&12", 0},
        {"&H123456789", 0}, {"1e999", 0}, {"-&H1", 0}, {"0012.70", 12.7},
    };
    // clang-format on
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(Sfmt::LeadingNumber(text), expected) << text;
}

TEST(NumericValue, KeepsOnlyNumberCharacters) {
    const std::pair<const char*, double> cases[] = {
        {"Comm 3", 3}, {"1-2", 1}, {"none", 0}, {"COM12x", 12}, {"v1.5b", 1.5}, {"&H10", 10},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(Sfmt::NumericValue(text), expected) << text;
}
