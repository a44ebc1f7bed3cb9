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

constexpr int F(int n) {
    return 111 + n;
}

const QStringList kMainKeys = {"F7 Zero Abs", "F8 ABS/Rel",       "F9 X2",
                               "F10 Fwd/Rev", "F11 Set Position", "F12 Menu (1)"};
const QStringList kSetKeys = {"Enter MM",    "Enter Inch",   "Offset  +/-2 +/-5 ",
                              "Read gradel", "Set Relative", "Menu"};
const QStringList kEntryLayout = {" 1", " 2", " 3", " 4", " 5", " 6",
                                  " 7", " 8", " 9", " 0", " .", "Exit"};

QStringList Page(const QString& x, const QString& y, const QStringList& keys) {
    return QStringList{x, y, "", "", "", ""} + keys;
}

float Inch(double mm) {
    return static_cast<float>(mm / 25.4);
}

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
    const QStringList main = Page("X = Zero Relative", "Y = Zero Relative", kMainKeys);
    struct Case {
        std::vector<int> keys;
        int state;
        QStringList captions;
    };
    const Case cases[] = {
        {{}, 0, main},
        {{F(7)},
         6,
         Page("X Zero Absolute", "Y Zero Absolute", {"Reset Absolute", "", "", "", "", "Menu"})},
        {{F(8)}, 7, Page("X Rel/Abs", "Y Rel/Abs", {"", "Display Rel/Abs", "", "", "", "Menu"})},
        {{F(9)}, 8, Page("X *2 Diameter", "Y *2 Diameter", {"", "", "Set to X2", "", "", "Menu"})},
        {{F(10)}, 9, Page("X Fwd/Rev", "Y Fwd/Rev", {"", "", "", "Fwd/Rev", "", "Menu"})},
        {{F(11)}, 10, Page("X =", "Y =", kSetKeys)},
        {{F(11), F(10)}, 13, Page("X Select", "Y Select", kSetKeys)},
        {{F(11), F(9)}, 10, Page("X =2.00 mm", "Y =2.00 mm", kSetKeys)},
        {{F(11), F(10), F(2)}, 10, Page("X =12.70mm", "Y =12.70mm", kSetKeys)},
        {{F(11), F(10), F(3)}, 13, Page("X Select", "Y Select", kSetKeys)},  // no third scale
        {{F(11), F(10), F(9)},
         8,
         Page("X *2 Diameter", "Y *2 Diameter", {"", "", "Set to X2", "", "", "Menu"})},
        {{F(7), F(12)}, 0, main},
        {{F(11), F(11)}, 0, main},
        {{F(9), 'A'}, 0, main},
        {{F(11), '7'}, 0, main},
        {{F(11), F(10), 'Q'}, 0, main},
    };
    for (const Case& c : cases) {
        keys.InitMenu();
        Press(c.keys);
        EXPECT_EQ(keys.MenuState(), c.state) << c.captions.join('|').toStdString();
        EXPECT_EQ(window.Captions(), c.captions);
        EXPECT_EQ(gradel::Tag(window.labFunc(1)), "Y");
    }
}

// On pages 0 and 6 to 10 F1 and F2 act on X and Y and the page stays; F3 to F6 have no scale.
TEST_F(ModKeysTest, AxisKeysRunThePageAction) {
    struct Case {
        std::vector<int> page;
        const char* action;
    };
    const Case cases[] = {{{}, "ResetRel"},           {{F(7)}, "ResetAbsolute"},
                          {{F(8)}, "ToggleABS"},      {{F(9)}, "ToggleX2"},
                          {{F(10)}, "ToggleReverse"}, {{F(11)}, "SetRelativeInch"}};
    for (const Case& c : cases) {
        keys.InitMenu();
        Press(c.page);
        const int state = keys.MenuState();
        window.calls.clear();
        Press({F(1), F(2), F(3), F(4), F(5), F(6)});
        EXPECT_EQ(window.calls, QStringList({QString(c.action) + " X", QString(c.action) + " Y"}));
        EXPECT_EQ(keys.MenuState(), state);
        EXPECT_EQ(keys.DeviceIndex(), 5);
    }
    EXPECT_TRUE(errors.reports.empty());
}

TEST_F(ModKeysTest, OnlyF10IsConsumed) {
    for (const auto& page : std::vector<std::vector<int>>{{}, {F(7)}, {F(10)}, {F(11)}}) {
        for (int probe : {F(1), F(3), F(9), F(10), F(11), F(12), int('A'), int('5'), 16, 124}) {
            keys.InitMenu();
            Press(page);
            EXPECT_EQ(Press(probe), probe == F(10) ? 0 : probe) << "probe " << probe;
        }
    }
}

TEST_F(ModKeysTest, OffsetsCycleAndSetTheAxis) {
    Press(F(11));
    const double mm[] = {2, -2, 5, -5, 2};
    for (double v : mm) {
        Press({F(9), F(1)});
        EXPECT_EQ(window.Caption(0), QStringLiteral("X =%1 mm").arg(v, 0, 'f', 2));
        EXPECT_FLOAT_EQ(window.relative["X"], Inch(v));
        EXPECT_EQ(keys.MenuState(), 10);
    }
    keys.InitMenu();  // the cycle is never restarted
    Press({F(11), F(9)});
    EXPECT_EQ(keys.EntryText(), "-2.00 mm");
}

TEST_F(ModKeysTest, NoAxisCaptionBeyondTheSixthScale) {
    window.List({"A", "B", "C", "D", "E", "F", "G"});
    for (const auto& page : std::vector<std::vector<int>>{{}, {F(7)}, {F(11)}, {F(11), F(10)}}) {
        keys.InitMenu();
        Press(page);
        for (int i = 0; i < 12; ++i) {
            const QString key = i < 6 ? QString(QChar('A' + i)) : QString();
            EXPECT_EQ(gradel::Tag(window.labFunc(i)), key) << i;
            EXPECT_EQ(window.Caption(i).startsWith(key + u' '), i < 6) << i;
        }
    }
    Press(F(6));
    EXPECT_EQ(window.calls.last(), "GetRelativeInch F");
}

TEST_F(ModKeysTest, FaultsInAnActionAreReportedAndAnswered) {
    using A = gradel::ErrorAnswer;
    struct Case {
        std::vector<int> page;
        int failures;
        std::deque<A> answers;
        int calls;
        int state;
        const char* entry;
    };
    window.relative["Y"] = 0.5f;
    const Case cases[] = {
        {{}, 1, {A::Retry}, 2, 0, ""},
        {{}, 2, {A::Retry, A::Abort}, 2, 0, ""},
        {{F(11), F(10)}, 1, {A::Abort}, 1, 13, ""},
        {{F(11), F(10)}, 1, {A::Ignore}, 1, 10, "0.00mm"},
        {{F(11), F(10)}, 1, {A::Retry}, 2, 10, "12.70mm"},
    };
    for (const Case& c : cases) {
        keys.InitMenu();
        Press(c.page);
        window.calls.clear();
        errors.reports.clear();
        errors.Script(c.answers);
        window.failures = c.failures;
        Press(F(2));
        EXPECT_EQ(window.calls.size(), c.calls);
        EXPECT_EQ(keys.MenuState(), c.state);
        EXPECT_EQ(keys.EntryText(), c.entry);
        ASSERT_EQ(errors.reports.size(), c.answers.size());
        EXPECT_EQ(errors.reports.front().Text(),
                  "The following error occurred in\r\nmodule modKeys, procedure DoDevice\r\n\r\n"
                  "Error Number 5\r\n(Invalid procedure call or argument.)");
    }
}

// What the menu copies from an axis must read as that axis's millimetre readout does.
TEST(FormatReadingTest, AgreesWithTheReadouts) {
    for (const char* pattern : {"0.00", "0.0005", "5", ""}) {
        for (int i = -4000; i <= 4000; ++i) {
            const float v = static_cast<float>(i) * 0.01237f;
            ASSERT_EQ(modKeys::FormatReading(v, pattern), DigitalDial::FormatValue(v, pattern))
                << v << " " << pattern;
        }
    }
}

// --- number entry through the dialog ---

// While the dialog is open the menu shows the entry layout and ignores keys reaching it.
TEST_F(ModKeysTest, EnterMillimetresThroughTheDialog) {
    Press(F(11));
    QStringList captionsDuring;
    QString during;
    Answer(&numentry, Type("12.5\r"), [&] {
        captionsDuring = window.Captions();
        window.calls.clear();
        during = QString::number(keys.MenuState()) + numentry.ddEntry()->Unit() +
                 numentry.ddEntry()->FormatString();
        during += QString::number(Press(F(10)));  // the code comes back: not consumed
        Press(F(1));
    });
    EXPECT_EQ(Press(F(7)), F(7));
    EXPECT_EQ(captionsDuring, kEntryLayout);
    EXPECT_EQ(during, QStringLiteral("12mm0.00%1").arg(F(10)));
    EXPECT_TRUE(window.calls.isEmpty());
    EXPECT_EQ(numentry.parentWidget(), window.Widget());
    EXPECT_EQ(keys.MenuState(), 10);
    EXPECT_FLOAT_EQ(keys.EntryValue(), Inch(12.5));
    EXPECT_EQ(keys.EntryText(), "12.5 mm");
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
