#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cmath>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "base/Failure.h"
#include "base/LatencyProbe.h"
#include "base/Sum.h"
#include "scale/Scale.h"
#include "scale/TextFields.h"

using namespace gradel;

// Millimetres "+012.70", inches "+12.7000" (a "." fifth, else millimetres: "9+01.0000") and
// counts "H000100", which give (1 - 256 * count) / 5242880 inch (a short count is a signed
// 16-bit literal; the most negative count H800000 without overflow). Only the last seven
// characters are read, so "+123.456" loses its sign character. Text spoiled by line noise, or
// in none of the formats, is no reading at all.
TEST(Scale, ReadingFormatsAndLineNoise) {
    auto mm = [](double x) { return std::optional(static_cast<float>(x / 25.4)); };
    auto counts = [](double x) { return std::optional(static_cast<float>(x / 5242880.0)); };
    // clang-format off
    const std::pair<std::string, std::optional<float>> cases[] = {
        {"+012.70", 0.5f}, {"+254.00", 10.0f}, {"-254.00", -10.0f}, {" +12.70", 0.5f}, {"+12.7000", 12.7f},
        {"+00.9000", 0.9f}, {"-01.2500", -1.25f}, {"-00.0005", -0.0005f}, {"+123.456", mm(123.456)},
        {"9+01.0000", mm(1)}, {"H000100", counts(1 - 65536.0)}, {"H000000", counts(1)}, {"HFF", counts(257)},
        {"HFFFF00", counts(65537)}, {"Hff0000", counts(16777217)}, {"H800000", counts(2147483649.0)},
        {"H7FFFFF", counts(1 - 2147483392.0)}, {"h000100", {}}, {"+1.25", {}}, {"", {}}, {"garbage", {}},
        {"H", {}}, {"HX00100", {}}, {"Y+01.0000", {}}, {"X+012.70", {}}, {"+01.2\r500", {}},
        {"ZHFFD800", {}}, {std::string("+012.7\0", 7), {}},
    };
    // clang-format on
    for (const auto& [value, inches] : cases) {
        EXPECT_EQ(Scale::isReadingValue(value), inches.has_value()) << value;
        EXPECT_TRUE(!inches || Scale::sampleFromReading(value) == *inches) << value;
    }
}

// The nine slots are summed in float, in slot order: these readings round differently when
// summed in double. A relative zero given in millimetres is worked out in double.
TEST(Scale, AveragesAndRelativeZero) {
    Scale s("X");
    float sum = 0;
    double wide = 0;
    for (const char* v : {"-56.4117", "+75.1550", "+95.9201", "-75.0005", "+67.9159", "-61.1723",
                          "-43.3700", "+10.1051", "-56.3135"}) {
        s.addReading(v);
        sum += Scale::sampleFromReading(v);
        wide += Scale::sampleFromReading(v);
    }
    EXPECT_EQ(s.absoluteInch(), sum / 9.0f);
    EXPECT_NE(sum / 9.0f, static_cast<float>(wide / 9));

    for (int i = 0; i < 9; ++i) s.addReading("+02.0000");
    s.setRelativeMm(12.7f);  // the zero half an inch below, worked out in double
    s.setReversed(true);     // only later readings are negated: this one replaces the first
    s.addReading("+02.0000");
    EXPECT_FLOAT_EQ(s.relativeInch(), 14.0f / 9 + 1.5f);  // the zero stayed at 1.5 on the box
}

// Steps: "a2" the box reads 2" (nine readings), "p1" point 1 active, "z" zero here, "s0.5" the
// relative reading set to 0.5", "r" reversed, "R" the box zeroed the scale. Then the relative
// reading with points 0..3 active: a point keeps its place on the machine through a reversal
// (its readings change sign) and through the box's zero (only the active point moves, to it).
TEST(Scale, ZeroPointsKeepTheirPlaces) {
    const std::pair<const char*, std::array<float, 4>> rows[] = {
        {"a2 z p1 a3 z a5", {3, 2, 5, 5}},      {"a2 z p1 a3 s0.5 a5 r a5", {-3, -2.5f, -5, -5}},
        {"a2 z p1 a3 s0.5 a5 R", {3, 0, 5, 5}}, {"r a2 z p1 a3 R", {-1, 0, -3, -3}},
        {"a2 p3 p10 p-1 s1", {2, 2, 2, 1}},
    };
    for (const auto& [steps, expected] : rows) {
        Scale s("X");
        std::istringstream words(steps);
        for (std::string step; words >> step;) {
            const float n = step.size() > 1 ? std::stof(step.substr(1)) : 0;
            for (int i = 0; step[0] == 'a' && i < Scale::kAveraged; ++i)
                s.addReading((n < 10 ? "+0" : "+") + std::to_string(n).substr(0, 6));
            if (step[0] == 'p') s.setZeroPoint(static_cast<int>(n));
            if (step[0] == 'z') s.resetRelative();
            if (step[0] == 's') s.setRelativeInch(n);
            if (step[0] == 'r') s.setReversed(true);
            if (step[0] == 'R') s.resetAbsolute();
        }
        for (int point = 0; point < 4; ++point) {
            s.setZeroPoint(point);
            EXPECT_NEAR(s.relativeInch(), expected[static_cast<std::size_t>(point)], 1e-5)
                << steps << " point " << point;
        }
    }
}

// Left to right, "*" and "/" first, a leading "-" only; no number where an operator wants one,
// a division by zero or a number beyond a double gives none.
TEST(Sum, WorksOutLeftToRightWithProductsFirst) {
    const std::string huge = "1" + std::string(400, '0');
    // clang-format off
    const std::pair<std::string, std::optional<double>> cases[] = {
        {"", 0}, {"12.7/2", 6.35}, {"1+2*3", 7}, {"-2.5", -2.5}, {"1..5", 1}, {".", 0}, {".5*4", 2},
        {"8/4/2", 1}, {"2-3-4", -5}, {"10-2*3+8/4", 6}, {"-1-1", -2}, {"2-3*4/8+1", 1.5},
        {"5/0", {}}, {"0/0", {}}, {"5/", {}}, {"5/.", {}}, {"+3", {}}, {"-", {}}, {"--2", {}},
        {"2*-3", {}}, {"1x", {}}, {"3 ", {}}, {huge, {}}, {"1/" + huge, 0},
    };
    // clang-format on
    for (const auto& [text, value] : cases) EXPECT_EQ(evaluateSum(text), value) << text;
}

TEST(TextFields, NextFieldTakesFieldsOffTheFront) {
    const std::string atLimit(32766, 'a');  // its separator is at position 32767, the last one
    // clang-format off
    const std::array<std::string, 4> cases[] = {  // text, separator, field, rest
        {"abc", ":", "abc", ""}, {"", ":", "", ""}, {":abc", ":", "", "abc"}, {"a::b", ":", "a", ":b"},
        {"a,b,c", ",", "a", "b,c"}, {"abc", "", "", "abc"}, {"aXYbXY", "XY", "a", "bXY"},
        {"aBb", "b", "aB", ""} /* letter case counts */, {atLimit + ":z", ":", atLimit, "z"},
    };
    // clang-format on
    for (const auto& c : cases) {
        std::string text = c[0];
        EXPECT_EQ(TextFields::nextField(text, c[1]), c[2]) << c[0];
        EXPECT_EQ(text, c[3]) << c[0];
    }
    std::string beyond = atLimit + "a:z";
    EXPECT_THROW(TextFields::nextField(beyond, ":"), Failure);
}

TEST(TextFields, LeadingNumberReadsTheNumberAtTheStart) {
    // clang-format off
    const std::pair<const char*, double> cases[] = {
        {"-12.50", -12.5}, {"1 2 3", 123}, {"abc1", 0}, {"", 0}, {"\t+1\n.5x", 1.5}, {"1.2.3", 1.2},
        {"1-2", 1}, {".5", 0.5}, {"-", 0}, {"1E3", 1000}, {"2d-1", 0.2}, {"1e", 1}, {"1e+", 1},
        {"&HFFFFFF00", -256}, {"&HFFFF", -1}, {"&H0FFFF", 65535}, {"&H7FFFFFFF", 2147483647.0},
        {"&h1g", 1}, {"&O17", 15}, {"&O177777", -1}, {"&O200000", 65536}, {"&H", 0}, {"&12", 0},
        {"&H123456789", 0}, {"1e999", 0}, {"-&H1", 0}, {"0012.70", 12.7},
    };
    // clang-format on
    for (const auto& [text, n] : cases) EXPECT_EQ(TextFields::leadingNumber(text), n) << text;
    const std::pair<const char*, double> kept[] = {{"Comm 3", 3},  {"1-2", 1},     {"none", 0},
                                                   {"COM12x", 12}, {"v1.5b", 1.5}, {"&H10", 10}};
    for (const auto& [text, n] : kept) EXPECT_EQ(TextFields::numericValue(text), n) << text;
}

// Nearest-rank percentiles, in any order of the samples: samples | median p90 p99 max.
TEST(LatencyProbe, PercentilesByNearestRank) {
    // clang-format off
    const std::pair<std::vector<double>, std::array<double, 4>> cases[] = {
        {{}, {0, 0, 0, 0}}, {{3, 1, 2}, {2, 3, 3, 3}}, {{10, 1, 1, 1}, {1, 10, 10, 10}}, {{10, 9, 8, 7, 6, 5, 4, 3, 2, 1}, {5, 9, 10, 10}}};
    // clang-format on
    for (const auto& [samples, want] : cases) {
        const LatencyProbe::Figures f = LatencyProbe::figures(samples);
        EXPECT_EQ((std::array{f.median, f.p90, f.p99, f.max}), want) << samples.size();
    }
}

// A stamp's way from the read to a readout's paint. Steps: "rT" bytes read at T ms, "pK" a
// reading of scale K parsed, "sK" K shown and its readout's text changes, "=K" K shown with the
// text as it was, "dKT" K's readout painted at T | the waits measured, in ms. A reading
// overtaken before its paint counts from the oldest read not yet on the screen.
TEST(LatencyProbe, AStampTravelsFromTheReadToThePaint) {
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"r0 pX sX r3 dX10", "10"}, {"r0 pX r4 pX sX dX9", "9"}, {"r0 pX sX r5 pX sX dX12", "12"}, {"r0 pX =X dX7", ""},
        {"r0 pX pY sY dY2 r6 pX sX dX8", "2 8"}, {"r0 pX sX dX1 dX5", "1"}, {"pX sX dX4", ""},
        {"r2 pX sX dX4 r6 pX sX dX9", "2 3"}, {"r1 pX sX r2 pY =Y dY6", ""}};
    // clang-format on
    const auto at = [](const std::string& ms) {
        return LatencyProbe::Stamp(std::chrono::milliseconds(1000 + std::stoi(ms)));
    };
    for (const auto& [script, want] : cases) {
        LatencyProbe probe;
        std::map<char, LatencyProbe::Stamp> unpainted;
        std::istringstream steps(script);
        for (std::string s; steps >> s;) {
            const char op = s[0], key = s[1];
            if (op == 'r') probe.markRead(at(s.substr(1)));
            if (op == 'p') probe.readingParsed({key});
            if (op == 's' || op == '=') probe.showing({key});
            if (op == 's') probe.carry(unpainted[key]);
            if (op == 's' || op == '=') probe.doneShowing();
            if (op == 'd') probe.painted(unpainted[key], at(s.substr(2)));
        }
        std::ostringstream got;
        for (double ms : probe.samples()) got << (got.tellp() ? " " : "") << std::lround(ms);
        EXPECT_EQ(got.str(), want) << script;
    }
}
