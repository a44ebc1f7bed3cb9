#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "scale/ErrorDialog.h"
#include "scale/clnGradels.h"
#include "scale/clsGradel.h"
#include "scale/clsScaleControl.h"

using namespace gradel;

// Millimetres "+012.70", inches "+12.7000" (a "." fifth, else millimetres: "9+01.0000") and
// counts "H000100", which give (1 - 256 * count) / 5242880 inch (a short count is a signed
// 16-bit literal; the most negative count H800000 without overflow). Only the last seven
// characters are read, so "+123.456" loses its sign character.
// clang-format off
TEST(ReadingFormats, SampleInInches) {
    const std::pair<const char*, float> cases[] = {
        {"+012.70", 0.5f}, {"+254.00", 10.0f}, {"-254.00", -10.0f}, {"+12.7000", 12.7f},
        {"+00.9000", 0.9f}, {"-01.2500", -1.25f}, {"+123.456", static_cast<float>(123.456 / 25.4)},
        {"9+01.0000", static_cast<float>(1 / 25.4)}, {"H000100", -0.0124998093f},
        {"H000000", static_cast<float>(1 / 5242880.0)}, {"HFFFF00", 0.0125001907f},
        {"H800000", static_cast<float>(2147483649.0 / 5242880.0)},
        {"H7FFFFF", static_cast<float>((1 - 2147483392.0) / 5242880.0)},
        {"HFF", static_cast<float>(257 / 5242880.0)}, {"h000100", 0.0f}, {"+1.25", 0.0f},
        {"", 0.0f}, {"garbage", 0.0f},
    };
    for (const auto& [value, inches] : cases)
        EXPECT_EQ(clsGradel::SampleFromReading(value), inches) << value;
}
// clang-format on

namespace {
// A controller-less harness: the record needs a controller for Setdata.
struct Rig {
    clsScaleControl sc;
    clnGradels::Ptr g;
    Rig() {
        sc.AddScale("X");
        g = sc.Scales().Item("X");
    }
    void Feed(const char* value, int times = 1) {
        for (int i = 0; i < times; ++i) g->Setdata(value);
    }
};
}  // namespace

TEST(clsGradel, AveragesNineSamplesInSinglePrecision) {
    Rig r;
    EXPECT_EQ(r.g->AbsValueInch(), 0.0f);
    for (int k = 1; k <= 9; ++k) {
        r.Feed("+00.9000");
        EXPECT_FLOAT_EQ(r.g->AbsValueInch(), 0.9f * static_cast<float>(k) / 9) << k;
    }
    // Slot-order float sum: these samples round differently when summed in double.
    Rig m;
    const char* values[] = {"-56.4117", "+75.1550", "+95.9201", "-75.0005", "+67.9159",
                            "-61.1723", "-43.3700", "+10.1051", "-56.3135"};
    float sum = 0;
    double wide = 0;
    for (const char* v : values) {
        m.Feed(v);
        sum += clsGradel::SampleFromReading(v);
        wide += clsGradel::SampleFromReading(v);
    }
    EXPECT_EQ(m.g->AbsValueInch(), sum / 9.0f);
    EXPECT_NE(sum / 9.0f, static_cast<float>(wide / 9));
}

TEST(clsGradel, RelativeAndAbsoluteValues) {
    Rig r;
    r.Feed("+01.0000", 9);
    EXPECT_EQ(r.g->AbsValueInch(), 1.0f);
    EXPECT_FLOAT_EQ(r.g->AbsValueMM(), 25.4f);
    r.g->ResetRelative();
    EXPECT_EQ(r.g->RelValueInch(), 0.0f);
    r.Feed("+02.0000");
    EXPECT_FLOAT_EQ(r.g->AbsValueInch(), 10.0f / 9);
    EXPECT_FLOAT_EQ(r.g->RelValueInch(), 10.0f / 9 - 1);

    Rig z;
    z.Feed("+02.0000", 9);
    z.g->SetRelValueInch(0.5f);
    EXPECT_EQ(z.g->AbsValueInch() - z.g->RelValueInch(), 1.5f);
    z.g->SetRelValueInch(0);
    z.g->SetRelValueMM(12.7f);
    EXPECT_EQ(z.g->AbsValueInch() - z.g->RelValueInch(), 1.5f);
    EXPECT_EQ(z.g->RelValueMM(), 12.7f);
    EXPECT_EQ(z.g->AbsValueInch(), 2.0f);  // setting a relative value leaves the average alone

    z.g->ResetAbsolute();
    EXPECT_EQ(z.g->AbsValueInch(), 0.0f);
    EXPECT_EQ(z.g->RelValueInch(), 0.0f);
    z.Feed("+02.0000");
    EXPECT_FLOAT_EQ(z.g->AbsValueInch(), 2.0f / 9);  // ring cleared, not refilled
}

TEST(clsGradel, ReverseNegatesOnlyNewSamples) {
    Rig r;
    r.Feed("+01.0000", 9);
    r.g->SetReverse(true);
    EXPECT_EQ(r.g->AbsValueInch(), 1.0f);
    r.Feed("+01.0000");
    EXPECT_FLOAT_EQ(r.g->AbsValueInch(), 7.0f / 9);
    r.Feed("+01.0000", 8);
    EXPECT_EQ(r.g->AbsValueInch(), -1.0f);
}

TEST(clsGradel, SetdataWithoutControllerFailsToCaller) {
    clnGradels c;
    auto g = c.Add("X");
    try {
        g->Setdata("+01.0000");
        ADD_FAILURE() << "no fault";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.Number(), 91);
    }
}

TEST(clnGradels, KeysOrderAndFaults) {
    clnGradels c;
    auto x = c.Add("X");
    auto keyless = c.Add();
    auto y = c.Add("y");
    auto keyless2 = c.Add("");
    EXPECT_EQ(c.Count(), 4);
    EXPECT_EQ(c.Item("x"), x);
    EXPECT_EQ(c.Item("Y"), y);
    EXPECT_EQ(c.Item(2), keyless);
    EXPECT_EQ(c.Snapshot(), (std::vector<clnGradels::Ptr>{x, keyless, y, keyless2}));
    std::vector<clnGradels::Ptr> walked(c.begin(), c.end());
    EXPECT_EQ(walked, c.Snapshot());
    EXPECT_FALSE(c.Exists(""));
    EXPECT_FALSE(c.Exists("Z"));
    EXPECT_FALSE(c.Exists(5));

    const std::pair<std::function<void()>, int> faults[] = {
        {[&] { c.Add("x"); }, 457},  {[&] { c.Item("Z"); }, 5}, {[&] { c.Item(""); }, 5},
        {[&] { c.Remove("Z"); }, 5}, {[&] { c.Item(0); }, 9},   {[&] { c.Remove(5); }, 9},
    };
    for (const auto& [call, number] : faults) {
        try {
            call();
            ADD_FAILURE() << "no fault, expected " << number;
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.Number(), number);
        }
    }
    c.Remove("X");
    c.Remove(1);
    EXPECT_EQ(c.Snapshot(), (std::vector<clnGradels::Ptr>{y, keyless2}));
}
