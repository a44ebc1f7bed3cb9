#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <limits>

#include "controls/AnalogueDial.h"
#include "controls/FractionStrip.h"
#include "controls/IntegerStrip.h"
#include "tests/support/ScriptedErrorDialog.h"
#include "window/winsys/Twips.h"

namespace Twips = gradel::Twips;
using gradel::ErrorAnswer;
using gradel::testing::ScriptedErrorDialog;

namespace {

// A dial as a panel holds it: 1695 x 1095 twips, 64 divisions.
void PanelSize(AnalogueDial& dial) {
    Twips::Place(&dial, 0, 0, 1695, 1095);
    dial.show();
}

TEST(FractionText, ReducesByTheGreatestCommonDivisor) {
    const struct {
        int32_t n, d;
        const char* text;
    } cases[] = {{48, 64, "3/4"}, {8, 16, "1/2"},    {63, 64, "63/64"}, {64, 64, "1/1"},
                 {0, 64, "0"},    {-3, 64, "0"},     {32, 64, "1/2"},   {6, 9, "2/3"},
                 {1, 2, "1/2"},   {96, 1024, "3/32"}};
    for (const auto& c : cases)
        EXPECT_EQ(AnalogueDial::FractionText(c.n, c.d).toStdString(), c.text) << c.n << "/" << c.d;
}

// A fraction exactly half a division off rounds to the even count of divisions (3.0078125,
// 3.0234375); the whole part spans sixteen bits.
// clang-format off
TEST(AnalogueDial, ReadingIsAMixedFraction) {
    const struct {
        float value;
        const char* separator;
        const char* unit;
        const char* reading;
    } cases[] = {
        {3.75f, "-", "", "3-3/4"}, {0.5f, "-", "", "1/2"}, {3.0f, "-", "", "3-0"},
        {3.999f, "-", "", "3-1/1"}, {-0.25f, "-", "", "-1-3/4"}, {3.75f, "", "", "33/4"},
        {0.0f, "-", "", "0"}, {3.75f, "-", "in", "3-3/4in"}, {0.25f, " ", "in", "1/4in"},
        {3.0078125f, "-", "", "3-0"}, {3.0234375f, "-", "", "3-1/32"},
        {-32768.0f, "-", "", "-32768-0"}, {32767.5f, "-", "", "32767-1/2"},
    };
    AnalogueDial dial;
    PanelSize(dial);
    for (const auto& c : cases) {
        dial.SetUnit(c.unit);
        dial.SetValue(c.value);
        EXPECT_EQ(dial.Reading(c.separator).toStdString(), c.reading) << c.value;
    }
}
// clang-format on

TEST(AnalogueDial, DivisionsNeverBelowTwo) {
    AnalogueDial dial;
    EXPECT_EQ(dial.Divisions(), 64);
    for (int32_t d : {1, 0, -5, std::numeric_limits<int32_t>::min()}) {
        dial.SetDivisions(d);
        EXPECT_EQ(dial.Divisions(), 2) << d;
    }
    dial.SetDivisions(16);
    EXPECT_EQ(dial.Divisions(), 16);
}

// ---- faults, through the standard dialog ----

std::string Line(const gradel::ErrorReport& r) {
    return "module " + r.module + ", procedure " + r.procedure;
}

TEST(AnalogueDial, ReadingOfAWholePartBeyondSixteenBitsOverflows) {
    for (float v : {32768.0f, -32769.0f, -32768.5f, 1e9f}) {
        ScriptedErrorDialog dialog({ErrorAnswer::Abort});
        AnalogueDial dial(nullptr, &dialog);
        dial.SetValue(v);
        EXPECT_TRUE(dial.Reading("-").isEmpty()) << v;
        ASSERT_EQ(dialog.reports.size(), 1u) << v;
        EXPECT_EQ(dialog.reports[0].Text(),
                  "The following error occurred in\r\nmodule AnalogueDial, procedure Reading\r\n"
                  "\r\nError Number 6\r\n(Overflow.)");
    }
}

TEST(AnalogueDial, ValueTooLargeToScrollToIsReportedAndHarmless) {
    ScriptedErrorDialog dialog({ErrorAnswer::Ignore});
    AnalogueDial dial(nullptr, &dialog);
    PanelSize(dial);
    dial.SetValue(1.5f);
    const double top = dial.FracTop();
    dial.SetValue(3e9f);
    ASSERT_EQ(dialog.reports.size(), 1u);
    EXPECT_EQ(Line(dialog.reports[0]), "module AnalogueDial, procedure Value");
    EXPECT_EQ(dialog.reports[0].number, 6);
    EXPECT_EQ(dial.Value(), 3e9f);
    EXPECT_EQ(dial.FracTop(), top);
    Twips::Place(&dial, 0, 0, 1500, 900);  // the size rule has no trap: must not throw out
    EXPECT_EQ(dial.FracTop(), top);
    dial.SetValue(0.5f);
    EXPECT_EQ(dial.Reading(), "1/2");
}

TEST(AnalogueDial, UnknownFillStyleIsRefusedAndTheOldOneKept) {
    ScriptedErrorDialog dialog({ErrorAnswer::Ignore});
    AnalogueDial dial(nullptr, &dialog);
    dial.SetArrowFillStyle(7);
    dial.SetArrowEnable(true);
    for (int32_t bad : {8, -1}) dial.SetArrowFillStyle(bad);
    EXPECT_EQ(dial.ArrowFillStyle(), 7);
    ASSERT_EQ(dialog.reports.size(), 2u);
    EXPECT_EQ(Line(dialog.reports[1]), "module AnalogueDial, procedure ArrowFillStyle");
    EXPECT_EQ(dialog.reports[1].number, 380);
}

TEST(AnalogueDial, DivisionsTooManyToBuildAreRefused) {
    ScriptedErrorDialog dialog;
    AnalogueDial dial(nullptr, &dialog);
    PanelSize(dial);
    for (int32_t d : {10'000'000, 200'000}) dial.SetDivisions(d);
    EXPECT_EQ(dial.Divisions(), 64);
    ASSERT_EQ(dialog.reports.size(), 2u);
    EXPECT_EQ(Line(dialog.reports[0]), "module AnalogueDial, procedure Divisions");
    EXPECT_EQ(dialog.reports[0].number, 6);
    dial.SetDivisions(4096);  // large, but buildable
    EXPECT_EQ(dial.Divisions(), 4096);
    EXPECT_EQ(dialog.reports.size(), 2u);
}

// ---- geometry ----

// Fields of the size rule round halves to even: at the panel's 1695 x 1095 twips 847.5 -> 848,
// -46902.5 -> -46902, -78.5 -> -78; at 45 twips wide 22.5 -> 22.
TEST(AnalogueDial, SizeRuleFields) {
    ASSERT_EQ(Twips::Dpi(), 96.0);
    const std::vector<int> cases[] = {
        {113, 73, 365, 313, 212, 424, 848, 23360, -46902, -78},
        {3, 73, 365, 313, 6, 11, 22, 23360, -46902, -78},
        {12, 14, 70, 60, 22, 45, 90, 4480, -8995, -15},
    };
    for (const auto& c : cases) {
        AnalogueDial dial;
        dial.resize(c[0], c[1]);
        dial.show();
        EXPECT_EQ((std::vector<int>{c[0], c[1], dial.DivPitch(), dial.IntPitch(), dial.IntLeft(),
                                    dial.IntWidth(), dial.FracWidth(), dial.InchLength(),
                                    dial.FracTop0(), dial.IntTop0()}),
                  c);
    }
}

// At panel size and 64 divisions: p = 365, L = 23360, Z0 = 730, Z1 = 24090, Z2 = 47450,
// Z3 = 70810, IntTop0 = -78, IntPitch = 313. `onLine` is the fraction-tape point (twips from
// its top) on the index line.
TEST(AnalogueDial, TapesScrollByWholePartAndFraction) {
    const struct {
        float value;
        double onLine, intTop;
        const char* labels;
    } cases[] = {
        {0.0f, 47450, -78, "-1 0 1 2"},
        {3.5f, 70810 + 32 * 365, -78 - 0.5 * 313, "2 3 4 5"},
        {-0.25f, 24090 + 48 * 365, -78 - 0.75 * 313, "-2 -1 0 1"},
        {1.0f, 70810, -78, "0 1 2 3"},
        {2.0f, 70810, -78, "1 2 3 4"},
        {3.0f, 70810, -78, "2 3 4 5"},
        {4.0f, 70810, -78, "3 4 5 6"},
        {0.75f, 47450 + 48 * 365, -78 - 0.75 * 313, "-1 0 1 2"},
        {-1.0f, 24090, -78, "-2 -1 0 1"},
        {-3.0f, 730, -78, "-4 -3 -2 -1"},
    };
    AnalogueDial dial;
    PanelSize(dial);
    for (const auto& c : cases) {
        dial.SetValue(c.value);
        const double z2 = 2.0 * (dial.DivPitch() + dial.InchLength());
        EXPECT_DOUBLE_EQ(dial.FracTop0() + z2 - dial.FracTop(), c.onLine) << c.value;
        EXPECT_DOUBLE_EQ(dial.IntTop(), c.intTop) << c.value;
        EXPECT_EQ(dial.IntegerLabels().join(' ').toStdString(), c.labels);
    }
}

TEST(AnalogueDial, NewValueNeverRerendersTheFractionTape) {
    AnalogueDial dial;
    PanelSize(dial);
    const FractionStrip* tape = dial.findChild<FractionStrip*>();
    ASSERT_NE(tape, nullptr);
    EXPECT_TRUE(tape->Cached());
    const int renders = tape->Renders();
    for (int i = 0; i < 50; ++i) {
        dial.SetValue(static_cast<float>(i) * 0.37f - 5.0f);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(tape->Renders(), renders);
    for (auto set :
         {+[](AnalogueDial& d) { d.SetUnit("in"); }, +[](AnalogueDial& d) { d.SetDivisions(32); },
          +[](AnalogueDial& d) { d.SetArrowEnable(true); },
          +[](AnalogueDial& d) { d.SetArrowColour(0xFF); },
          +[](AnalogueDial& d) { d.SetArrowFillStyle(3); }})
        set(dial);
    EXPECT_EQ(tape->Renders(), renders + 5);
}

enum class Over { Surface, FractionTape, IntegerTape };

TEST(AnalogueDial, RightClickNotFromTheIntegerTape) {
    const struct {
        Over over;
        Qt::MouseButton button;
        int expected;
    } cases[] = {{Over::Surface, Qt::RightButton, 1},     {Over::FractionTape, Qt::RightButton, 1},
                 {Over::IntegerTape, Qt::RightButton, 0}, {Over::Surface, Qt::LeftButton, 0},
                 {Over::FractionTape, Qt::LeftButton, 0}, {Over::Surface, Qt::MiddleButton, 0}};
    AnalogueDial dial;
    PanelSize(dial);
    QWidget* tapes[] = {dial.findChild<FractionStrip*>(), dial.findChild<IntegerStrip*>()};
    for (const auto& c : cases) {
        QSignalSpy spy(&dial, &AnalogueDial::RightClick);
        QWidget* target = &dial;
        QPoint at(2, dial.height() / 2 - 5);
        if (c.over != Over::Surface) {
            target = tapes[c.over == Over::FractionTape ? 0 : 1];
            at = target->mapFrom(&dial, QPoint(target->x() + target->width() / 2, at.y()));
        }
        QTest::mousePress(target, c.button, {}, at);
        EXPECT_EQ(spy.count(), c.expected) << static_cast<int>(c.over) << " " << c.button;
    }
}

}  // namespace
