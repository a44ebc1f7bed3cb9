#include "panels/frmNumentry.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <cmath>

#include "controls/DigitalDial.h"
#include "tests/panels/DialogKeys.h"

using dialogkeys::Answer;
using dialogkeys::Backspace;
using dialogkeys::Char;
using dialogkeys::Enter;
using dialogkeys::Escape;
using dialogkeys::F;
using dialogkeys::Stroke;
using dialogkeys::Type;

namespace {

std::vector<Stroke> operator+(std::vector<Stroke> a, const std::vector<Stroke>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(NumentryTest, KeySequencesGiveTheirNumber) {
    struct Case {
        const char* name;
        std::vector<Stroke> keys;
        float value;
        const char* text;
    };
    const Case cases[] = {
        {"function keys", {F(1), F(2), F(11), F(5), F(12)}, 12.5f, "12.5"},
        {"typed and Enter", Type("3.25") + std::vector<Stroke>{Enter()}, 3.25f, "3.25"},
        {"second point ends the number", Type("1..5") + std::vector<Stroke>{Escape()}, 1, "1..5"},
        {"Escape at once", {Escape()}, 0, ""},
        {"F10 is zero", {F(10), F(12)}, 0, "0"},
        {"leading point", Type(".5") + std::vector<Stroke>{Enter()}, 0.5f, ".5"},
        {"all function digits",
         {F(9), F(10), F(11), F(1), F(3), F(4), F(6), F(7), F(8), Backspace()},
         90.134678f,
         "90.134678"},
        {"minus closes", Type("7-"), 7, "7"},
        {"letter closes", Type("4x"), 4, "4"},
        {"tab closes", {Char('2'), {Qt::Key_Tab, "\t"}}, 2, "2"},
        {"F13 and Shift do nothing", {Char('6'), F(13), {Qt::Key_Shift, ""}, F(12)}, 6, "6"},
    };
    frmNumentry dialog;
    for (const Case& c : cases) {
        Answer(&dialog, c.keys);
        dialog.exec();
        EXPECT_FLOAT_EQ(dialog.ddEntry()->Value(), c.value) << c.name;
        EXPECT_EQ(dialog.NumberText(), c.text) << c.name;
        EXPECT_TRUE(dialog.isHidden()) << c.name;
    }
}

// Key down: the digit keys append, F12 closes, and only F10 and F11 come back consumed.
TEST(NumentryTest, KeyDownCodes) {
    struct Case {
        int code;
        int codeAfter;
        const char* text;
        bool closes;
    };
    const Case cases[] = {{112, 112, "1", false}, {120, 120, "9", false}, {121, 0, "0", false},
                          {122, 0, ".", false},   {123, 123, "", true},   {65, 65, "", false}};
    for (const Case& c : cases) {
        frmNumentry dialog;
        dialog.show();
        int code = c.code;
        dialog.Form_KeyDown(code, 0);
        EXPECT_EQ(code, c.codeAfter) << c.code;
        EXPECT_EQ(dialog.NumberText(), c.text) << c.code;
        EXPECT_EQ(dialog.isHidden(), c.closes) << c.code;
    }
}

TEST(NumentryTest, EveryShowingStartsEmptyAndKeepsTheCallersUnit) {
    frmNumentry dialog;
    EXPECT_EQ(dialog.windowTitle(), "Enter Number ");
    dialog.ddEntry()->SetUnit("mm");
    dialog.ddEntry()->SetFormatString("0.00");
    Answer(&dialog, Type("4") + std::vector<Stroke>{F(12)});
    dialog.exec();
    EXPECT_FLOAT_EQ(dialog.ddEntry()->Value(), 4);
    Answer(&dialog, {F(12)});
    dialog.exec();
    EXPECT_FLOAT_EQ(dialog.ddEntry()->Value(), 0);
    EXPECT_EQ(dialog.NumberText(), "");
    EXPECT_EQ(dialog.ddEntry()->Unit() + dialog.ddEntry()->FormatString(), "mm0.00");
}

TEST(NumentryTest, RepaintKeepsTheDigitsTyped) {
    frmNumentry dialog;
    QString textAtRepaint;
    Answer(&dialog, Type("75\r"), [&] {
        dialog.repaint();
        dialog.update();
        QApplication::processEvents();
        textAtRepaint = dialog.NumberText();
    });
    dialog.exec();
    EXPECT_EQ(textAtRepaint, "75");
    EXPECT_FLOAT_EQ(dialog.ddEntry()->Value(), 75);
}

TEST(NumentryTest, KeysQueuedAfterClosingBelongToNoEntry) {
    frmNumentry dialog;
    Answer(&dialog, {Char('3'), F(12), Char('9'), Enter()});
    dialog.exec();
    QApplication::processEvents();
    EXPECT_EQ(dialog.NumberText(), "3");
}

// A number too large for a single refuses further digits instead of turning into infinity.
TEST(NumentryTest, EntryStaysWithinASingle) {
    frmNumentry dialog;
    dialog.show();
    for (int i = 0; i < 45; ++i) {
        int c = '9';
        dialog.Form_KeyPress(c);
    }
    EXPECT_EQ(dialog.NumberText(), QString(38, u'9'));
    EXPECT_TRUE(std::isfinite(dialog.ddEntry()->Value()));
    EXPECT_GT(dialog.ddEntry()->Value(), 9e37f);
    int point = '.';
    dialog.Form_KeyPress(point);
    int one = '1';
    dialog.Form_KeyPress(one);
    EXPECT_EQ(dialog.NumberText(), QString(38, u'9') + ".1");
}

}  // namespace
