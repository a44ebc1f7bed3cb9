#include "panels/modKeys.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <cmath>

#include "controls/DigitalDial.h"
#include "panels/frmNumentry.h"
#include "tests/panels/DialogKeys.h"
#include "tests/panels/FakeGradelWindow.h"
#include "tests/support/ScriptedErrorDialog.h"
#include "window/winsys/Tag.h"

using dialogkeys::Answer;
using dialogkeys::Enter;
using dialogkeys::Type;

namespace {

constexpr int F(int n) { return 111 + n; }

const QStringList kMainKeys = {"F7 Zero Abs", "F8 ABS/Rel",        "F9 X2",
                               "F10 Fwd/Rev", "F11 Set Position", "F12 Menu (1)"};
const QStringList kSetKeys = {"Enter MM",    "Enter Inch",   "Offset  +/-2 +/-5 ",
                              "Read gradel", "Set Relative", "Menu"};
const QStringList kEntryLayout = {" 1", " 2", " 3", " 4", " 5", " 6",
                                  " 7", " 8", " 9", " 0", " .", "Exit"};

QStringList Page(const QString& x, const QString& y, const QStringList& keys) {
    return QStringList{x, y, "", "", "", ""} + keys;
}

float Inch(double mm) { return static_cast<float>(mm / 25.4); }

class ModKeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.List({"X", "Y"});
        keys.InitMenu();
    }
    // Presses keys one after the other; returns the codes handed back.
    std::vector<int> Press(const std::vector<int>& codes) {
        std::vector<int> back;
        for (int c : codes) {
            keys.HandleKey(c, 0);
            back.push_back(c);
        }
        return back;
    }
    int Press(int code) { return Press(std::vector<int>{code}).back(); }

    FakeGradelWindow window;
    frmNumentry numentry;
    gradel::testing::ScriptedErrorDialog errors;
    modKeys keys{window, numentry, &errors};
};

TEST_F(ModKeysTest, EveryPageShowsItsCaptions) {
    window.relative["Y"] = 0.5f;
    struct Case {
        const char* name;
        std::vector<int> keys;
        int state;
        QStringList captions;
    };
    const Case cases[] = {
        {"main", {}, 0, Page("X = Zero Relative", "Y = Zero Relative", kMainKeys)},
        {"zero abs", {F(7)}, 6,
         Page("X Zero Absolute", "Y Zero Absolute", {"Reset Absolute", "", "", "", "", "Menu"})},
        {"abs/rel", {F(8)}, 7, Page("X Rel/Abs", "Y Rel/Abs", {"", "Display Rel/Abs", "", "", "", "Menu"})},
        {"x2", {F(9)}, 8, Page("X *2 Diameter", "Y *2 Diameter", {"", "", "Set to X2", "", "", "Menu"})},
        {"fwd/rev", {F(10)}, 9, Page("X Fwd/Rev", "Y Fwd/Rev", {"", "", "", "Fwd/Rev", "", "Menu"})},
        {"set, nothing entered", {F(11)}, 10, Page("X =", "Y =", kSetKeys)},
        {"select", {F(11), F(10)}, 13, Page("X Select", "Y Select", kSetKeys)},
        {"offset", {F(11), F(9)}, 10, Page("X =2.00 mm", "Y =2.00 mm", kSetKeys)},
        {"read Y", {F(11), F(10), F(2)}, 10, Page("X =12.70mm", "Y =12.70mm", kSetKeys)},
        {"page to page", {F(7), F(8)}, 7, Page("X Rel/Abs", "Y Rel/Abs", {"", "Display Rel/Abs", "", "", "", "Menu"})},
        {"select then F9", {F(11), F(10), F(9)}, 8,
         Page("X *2 Diameter", "Y *2 Diameter", {"", "", "Set to X2", "", "", "Menu"})},
        {"F12 from a page", {F(7), F(12)}, 0, Page("X = Zero Relative", "Y = Zero Relative", kMainKeys)},
        {"F11 on set position", {F(11), F(11)}, 0,
         Page("X = Zero Relative", "Y = Zero Relative", kMainKeys)},
        {"letter", {F(9), 'A'}, 0, Page("X = Zero Relative", "Y = Zero Relative", kMainKeys)},
        {"digit on set position", {F(11), '7'}, 0,
         Page("X = Zero Relative", "Y = Zero Relative", kMainKeys)},
        {"letter while selecting", {F(11), F(10), 'Q'}, 0,
         Page("X = Zero Relative", "Y = Zero Relative", kMainKeys)},
    };
    for (const Case& c : cases) {
        keys.InitMenu();
        Press(c.keys);
        EXPECT_EQ(keys.MenuState(), c.state) << c.name;
        EXPECT_EQ(window.Captions(), c.captions) << c.name;
        EXPECT_EQ(gradel::Tag(window.labFunc(1)), "Y") << c.name;
    }
}

TEST_F(ModKeysTest, AxisKeysRunThePageActionAndKeepThePage) {
    struct Case {
        std::vector<int> page;
        int axisKey;
        QStringList calls;
        int state;
    };
    const Case cases[] = {
        {{}, F(1), {"ResetRel X"}, 0},
        {{F(7)}, F(2), {"ResetAbsolute Y"}, 6},
        {{F(8)}, F(1), {"ToggleABS X"}, 7},
        {{F(9)}, F(2), {"ToggleX2 Y"}, 8},
        {{F(10)}, F(1), {"ToggleReverse X"}, 9},
        {{F(11)}, F(2), {"SetRelativeInch Y"}, 10},
        {{F(11), F(10)}, F(1), {"GetRelativeInch X"}, 10},
    };
    for (const Case& c : cases) {
        keys.InitMenu();
        Press(c.page);
        window.calls.clear();
        Press(c.axisKey);
        EXPECT_EQ(window.calls, c.calls) << c.calls.join(',').toStdString();
        EXPECT_EQ(keys.MenuState(), c.state) << c.calls.join(',').toStdString();
        EXPECT_EQ(keys.DeviceIndex(), c.axisKey - F(1));
    }
}

TEST_F(ModKeysTest, ZeroAbsoluteTreatsOneAxisAfterAnother) {
    Press({F(7), F(1), F(2)});
    EXPECT_EQ(window.calls, QStringList({"ResetAbsolute X", "ResetAbsolute Y"}));
    EXPECT_EQ(keys.MenuState(), 6);
    Press(F(12));
    EXPECT_EQ(keys.MenuState(), 0);
    EXPECT_EQ(window.Caption(6), "F7 Zero Abs");
}

TEST_F(ModKeysTest, AxisKeyWithoutScaleDoesNothingOnAnyPage) {
    for (const std::vector<int>& page : std::vector<std::vector<int>>{
             {}, {F(7)}, {F(8)}, {F(9)}, {F(10)}, {F(11)}, {F(11), F(10)}}) {
        keys.InitMenu();
        Press(page);
        const int state = keys.MenuState();
        const QStringList captions = window.Captions();
        window.calls.clear();
        for (int k = 3; k <= 6; ++k) EXPECT_EQ(Press(F(k)), F(k));
        EXPECT_TRUE(window.calls.isEmpty()) << window.calls.join(',').toStdString();
        EXPECT_EQ(keys.MenuState(), state);
        EXPECT_EQ(window.Captions(), captions);
    }
    EXPECT_TRUE(errors.reports.empty());
}

TEST_F(ModKeysTest, OnlyF10IsConsumed) {
    const std::vector<std::vector<int>> pages = {{}, {F(7)}, {F(8)}, {F(9)}, {F(10)}, {F(11)}};
    const std::vector<int> probes = {F(1), F(3), F(9), F(10), F(11), F(12), 'A', '5', 13, 16, 124};
    for (const auto& page : pages) {
        for (int probe : probes) {
            keys.InitMenu();
            Press(page);
            const int back = Press(probe);
            EXPECT_EQ(back, probe == F(10) ? 0 : probe) << "probe " << probe;
        }
    }
    // The page choices themselves hand back their codes, F10 excepted.
    keys.InitMenu();
    EXPECT_EQ(Press({F(7), F(8), F(9), F(10), F(11), F(10), F(12)}),
              (std::vector<int>{F(7), F(8), F(9), 0, F(11), 0, F(12)}));
}

TEST_F(ModKeysTest, OffsetsCycleAndSetTheAxis) {
    Press(F(11));
    const double expected[] = {2, -2, 5, -5, 2, -2};
    const char* texts[] = {"2.00 mm", "-2.00 mm", "5.00 mm", "-5.00 mm", "2.00 mm", "-2.00 mm"};
    for (size_t i = 0; i < std::size(expected); ++i) {
        Press(F(9));
        EXPECT_EQ(keys.EntryText(), texts[i]);
        EXPECT_EQ(window.Caption(0), QStringLiteral("X =") + texts[i]);
        Press(F(1));
        EXPECT_FLOAT_EQ(window.relative["X"], Inch(expected[i])) << i;
        EXPECT_EQ(keys.MenuState(), 10);
    }
    // The cycle carries on across a return to the main page and a re-layout.
    keys.InitMenu();
    Press({F(11), F(9)});
    EXPECT_EQ(keys.EntryText(), "5.00 mm");
}

TEST_F(ModKeysTest, ReadingAnotherAxisCopiesItsRelativeReading) {
    struct Case {
        float y;
        const char* text;
    };
    const Case cases[] = {{0.5f, "12.70mm"}, {-0.25f, "-6.35mm"}, {0.0f, "0.00mm"},
                          {1.0f / 3, "8.47mm"}};
    for (const Case& c : cases) {
        window.relative["Y"] = c.y;
        window.relative["X"] = 99;
        keys.InitMenu();
        EXPECT_EQ(Press({F(11), F(10)}).back(), 0);
        EXPECT_EQ(window.Captions().mid(0, 2), QStringList({"X Select", "Y Select"}));
        Press(F(2));
        EXPECT_EQ(keys.EntryText(), c.text);
        EXPECT_EQ(window.Caption(0), QStringLiteral("X =") + c.text);
        EXPECT_FLOAT_EQ(keys.EntryValue(), c.y);
        Press(F(1));
        EXPECT_FLOAT_EQ(window.relative["X"], c.y);
    }
}

TEST_F(ModKeysTest, EnteredValueSurvivesLeavingAndReturningToSetPosition) {
    window.relative["Y"] = 0.5f;
    Press({F(11), F(10), F(2), F(12), F(7), F(11)});
    EXPECT_EQ(window.Caption(0), "X =12.70mm");
    Press(F(1));
    EXPECT_FLOAT_EQ(window.relative["X"], 0.5f);
}

TEST_F(ModKeysTest, NoAxisCaptionBeyondTheSixthScale) {
    window.List({"A", "B", "C", "D", "E", "F", "G"});
    window.relative["F"] = 0.1f;
    const std::vector<std::vector<int>> pages = {{},     {F(7)}, {F(8)},         {F(9)},
                                                 {F(10)}, {F(11)}, {F(11), F(10)}, {F(11), F(9)}};
    for (const auto& page : pages) {
        keys.InitMenu();
        Press(page);
        for (int i = 0; i < 6; ++i) {
            EXPECT_TRUE(window.Caption(i).startsWith(QChar('A' + i))) << window.Caption(i).toStdString();
            EXPECT_EQ(gradel::Tag(window.labFunc(i)), QString(QChar('A' + i)));
        }
        for (int i = 6; i < 12; ++i) {
            EXPECT_FALSE(window.Caption(i).startsWith(u'G')) << window.Caption(i).toStdString();
            EXPECT_TRUE(gradel::Tag(window.labFunc(i)).isEmpty());
        }
    }
    keys.InitMenu();
    Press({F(11), F(10), F(6)});
    EXPECT_EQ(window.calls.last(), "GetRelativeInch F");
}

TEST_F(ModKeysTest, LabelsOfScalesThatLeftAreEmptied) {
    window.List({"X", "Y", "Z"});
    keys.InitMenu();
    EXPECT_EQ(window.Caption(2), "Z = Zero Relative");
    window.List({"Y"});
    keys.InitMenu();
    EXPECT_EQ(window.Captions().mid(0, 6), QStringList({"Y = Zero Relative", "", "", "", "", ""}));
    Press(F(2));
    EXPECT_TRUE(window.calls.isEmpty());
}

TEST_F(ModKeysTest, FaultsInAnActionAreReportedAndAnswered) {
    struct Case {
        std::vector<int> page;
        int failures;
        std::deque<gradel::ErrorAnswer> answers;
        QStringList calls;
        int state;
        const char* entryText;
    };
    using A = gradel::ErrorAnswer;
    window.relative["Y"] = 0.5f;
    const Case cases[] = {
        {{}, 1, {A::Retry}, {"ResetRel Y", "ResetRel Y"}, 0, ""},
        {{}, 2, {A::Retry, A::Abort}, {"ResetRel Y", "ResetRel Y"}, 0, ""},
        {{F(11), F(10)}, 1, {A::Abort}, {"GetRelativeInch Y"}, 13, ""},
        {{F(11), F(10)}, 1, {A::Ignore}, {"GetRelativeInch Y"}, 10, "0.00mm"},
        {{F(11), F(10)}, 1, {A::Retry}, {"GetRelativeInch Y", "GetRelativeInch Y"}, 10, "12.70mm"},
    };
    for (const Case& c : cases) {
        keys.InitMenu();
        Press(c.page);
        window.calls.clear();
        errors.reports.clear();
        errors.Script(c.answers);
        window.failures = c.failures;
        Press(F(2));
        EXPECT_EQ(window.calls, c.calls) << c.calls.join(',').toStdString();
        EXPECT_EQ(keys.MenuState(), c.state);
        ASSERT_EQ(errors.reports.size(), c.answers.size());
        const gradel::ErrorReport& r = errors.reports.front();
        EXPECT_EQ(r.Text(),
                  "The following error occurred in\r\nmodule modKeys, procedure DoDevice\r\n\r\n"
                  "Error Number 5\r\n(Invalid procedure call or argument.)");
        if (c.page.size() == 2) {
            EXPECT_EQ(keys.EntryText(), c.entryText);
        }
    }
}

TEST(FormatReadingTest, FollowsThePatternRule) {
    struct Case {
        float v;
        const char* pattern;
        const char* text;
    };
    const Case cases[] = {
        {12.7f, "0.00", "12.70"},      {25.4f, "0.00", "25.40"},     {-6.35f, "0.00", "-6.35"},
        {3, "0.00", "3.00"},           {0.004f, "0.00", "0.00"},     {1234.567f, "0.00", "1234.57"},
        {1.2347f, "0.0005", "1.2345"}, {1.2342f, "0.0005", "1.2340"}, {1.23449f, "0.0005", "1.2345"},
        {-0.0007f, "0.0005", "-0.0005"}, {0, "0.0005", "0.0000"},   {-1.2348f, "0.0005", "-1.2345"},
        {-0.0002f, "0.0005", "-0.0000"}, {1.99999f, "0.0005", "2.0000"}, {12, "5", "10"},
        {17, "5", "15"},               {12.5f, "", "12.5"},          {0.5f, "", "0.5"},
        {3, "", "3"},                  {1e-5f, "", "1E-05"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(modKeys::FormatReading(c.v, c.pattern), c.text) << c.v << " " << c.pattern;
}

// What the menu copies from an axis must read as that axis's millimetre readout does.
TEST(FormatReadingTest, AgreesWithTheReadouts) {
    for (const char* pattern : {"0.00", "0.0005"}) {
        for (int i = -4000; i <= 4000; ++i) {
            const float v = static_cast<float>(i) * 0.01237f;
            ASSERT_EQ(modKeys::FormatReading(v, pattern), DigitalDial::FormatValue(v, pattern))
                << v << " " << pattern;
        }
    }
}

// --- number entry through the dialog ---

TEST_F(ModKeysTest, EnterMillimetresThroughTheDialog) {
    Press(F(11));
    QStringList captionsDuring;
    int stateDuring = -1;
    QString unitDuring;
    int ignoredCode = 0;
    Answer(&numentry, Type("12.5\r"), [&] {
        captionsDuring = window.Captions();
        stateDuring = keys.MenuState();
        unitDuring = numentry.ddEntry()->Unit() + numentry.ddEntry()->FormatString();
        window.calls.clear();
        ignoredCode = F(10);
        keys.HandleKey(ignoredCode, 0);  // a key reaching the window meanwhile is ignored
        int f1 = F(1);
        keys.HandleKey(f1, 0);
    });
    EXPECT_EQ(Press(F(7)), F(7));
    EXPECT_EQ(captionsDuring, kEntryLayout);
    EXPECT_EQ(stateDuring, 12);
    EXPECT_EQ(unitDuring, "mm0.00");
    EXPECT_EQ(ignoredCode, F(10));
    EXPECT_TRUE(window.calls.isEmpty());
    EXPECT_EQ(numentry.parentWidget(), window.Widget());

    EXPECT_EQ(keys.MenuState(), 10);
    EXPECT_FLOAT_EQ(keys.EntryValue(), Inch(12.5));
    EXPECT_EQ(keys.EntryText(), "12.5 mm");
    EXPECT_EQ(window.Captions(), Page("X =12.5 mm", "Y =12.5 mm", kSetKeys));
    Press(F(1));
    EXPECT_FLOAT_EQ(window.relative["X"], Inch(12.5));
}

TEST_F(ModKeysTest, EnterInchesThroughTheDialog) {
    Press(F(11));
    QString unitDuring;
    Answer(&numentry, {dialogkeys::F(10), dialogkeys::F(11), dialogkeys::F(5), dialogkeys::F(12)},
           [&] { unitDuring = numentry.ddEntry()->Unit() + numentry.ddEntry()->FormatString(); });
    Press(F(8));
    EXPECT_EQ(unitDuring, "\"0.0005");
    EXPECT_FLOAT_EQ(keys.EntryValue(), 0.5f);
    EXPECT_EQ(window.Caption(0), "X =0.5 \"");
    Press(F(2));
    EXPECT_FLOAT_EQ(window.relative["Y"], 0.5f);
    // Closing at once enters 0.
    Answer(&numentry, {dialogkeys::Escape()});
    Press(F(8));
    EXPECT_FLOAT_EQ(keys.EntryValue(), 0.0f);
    EXPECT_EQ(window.Caption(1), "Y =0 \"");
}

// A re-layout while the dialog is open (a scale arrives) keeps the dialog's key layout; the
// page that follows the entry shows the new scale.
TEST_F(ModKeysTest, ReLayoutDuringAnEntryKeepsTheKeyLayout) {
    Press(F(11));
    QStringList captionsDuring;
    Answer(&numentry, Type("3\r"), [&] {
        window.List({"X", "Y", "Z"});
        keys.InitMenu();
        captionsDuring = window.Captions();
    });
    Press(F(7));
    EXPECT_EQ(captionsDuring, kEntryLayout);
    EXPECT_EQ(keys.MenuState(), 10);
    EXPECT_EQ(window.Caption(2), "Z =3 mm");
}

}  // namespace
