// Text spoiled by line noise on the way from the box: what reaches a scale and what does not.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scale/clsGradel.h"
#include "scale/clsScaleControl.h"
#include "tests/support/ScriptedErrorDialog.h"

using namespace gradel;

TEST(NoisyLine, OnlyReadingValuesAreReadings) {
    const std::pair<const char*, bool> cases[] = {
        {"+012.70", true},    {"-254.00", true},   {"+01.2500", true},    {"-00.0005", true},
        {"+123.456", true},   {" +12.70", true},   {"H000100", true},     {"HFFFF00", true},
        {"HFF", true},        {"Hff0000", true},   {"", false},           {"H", false},
        {"HX00100", false},   {"h000100", false},  {"+1.25", false},      {"garbage", false},
        {"Y+01.0000", false}, {"X+012.70", false}, {"+01.2\r500", false}, {"ZHFFD800", false},
    };
    for (const auto& [value, reading] : cases)
        EXPECT_EQ(clsGradel::IsReadingValue(value), reading) << value;
    EXPECT_FALSE(clsGradel::IsReadingValue(std::string("+012.7\0", 7)));
}

// With X at half an inch, stray bytes before a message (as a noisy line delivers them) must
// neither move X's average, nor zero it, nor take it away.
TEST(NoisyLine, SpoiledMessagesLeaveTheScalesAsTheyWere) {
    struct Case {
        const char* text;
        int updates;  // position updates for X
    };
    const Case cases[] = {
        {"X+012.70:", 1},       // the reading itself
        {"XY+01.0000:", 0},     // a stray X before Y's inch reading
        {"XZHFFD800:", 0},      // ... before a count
        {"YX+012.70:", 0},      // a stray Y before X's reading: no Y, nothing
        {"X\r:", 0},            // a cut message
        {"X:", 0},              //
        {"DXX+012.70:", 0},     // a stray D: not a disconnect
        {"RXX+012.70:", 0},     // a stray R: not a reset
        {"CXX+012.70:", 0},     // a stray C: no identify
        {"I}X+012.70:", 0},     // a stray I: no new scale
        {"IXX+012.70:", 0},     // ... nor a changed one
        {"\rX+012.70:", 0},     // CR before a reading spoils it
        {"X+012.70:X-+9:", 1},  // junk after a good one
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        gradel::testing::ScriptedErrorDialog dialog;
        clsScaleControl sc(dialog);
        int updates = 0, others = 0;
        sc.PositionUpdate = [&](clsGradel&) { ++updates; };
        sc.ScaleAdded = [&](clsGradel&) { ++others; };
        sc.ScaleRemoved = [&](const std::string&) { ++others; };
        sc.ScaleComms = [&](const std::string&) { ++others; };
        sc.DataInput("IX,2,Decimal,mm:");
        for (int i = 0; i < 9; ++i) sc.DataInput("X+012.70:");
        updates = others = 0;
        sc.DataInput(c.text);
        EXPECT_EQ(updates, c.updates);
        EXPECT_EQ(others, 0);
        ASSERT_EQ(sc.Scales().Count(), 1);
        EXPECT_EQ(sc.Scales().Item("X")->Unit(), "mm");
        EXPECT_EQ(sc.Scales().Item("X")->AbsValueInch(), 0.5f);
        EXPECT_TRUE(dialog.reports.empty());
    }
    // The real messages still work.
    gradel::testing::ScriptedErrorDialog dialog;
    clsScaleControl sc(dialog);
    int asked = 0;
    sc.ScaleComms = [&](const std::string&) { ++asked; };
    sc.DataInput("C:CX:IX:IY,2,Decimal,mm:X+012.70:RX:");
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(sc.Scales().Count(), 2);
    EXPECT_EQ(sc.Scales().Item("X")->AbsValueInch(), 0.0f);
    sc.DataInput("DX:");
    EXPECT_FALSE(sc.Scales().Exists("X"));
}
