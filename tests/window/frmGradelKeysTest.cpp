// The function-key menu worked through the real main window: keys on the keyboard, label
// clicks, the number entry dialog answered by timed keys, and the per-scale operations reaching
// the controller.
#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "SettingsSandbox.h"
#include "panels/frmNumentry.h"
#include "panels/modKeys.h"
#include "scale/clsScaleControl.h"
#include "tests/panels/DialogKeys.h"
#include "window/KeypadPoll.h"
#include "window/frmGradel.h"

namespace {

using dialogkeys::Answer;
using dialogkeys::Type;

constexpr double kMm = 25.4;

// The real window with the serial port kept out of the way: no ports probed, none opened.
class KeysWindow : public frmGradel {
  public:
    void CheckComports() override {}
    void TogglePort(int16_t) override {}
};

class WindowKeysTest : public ::testing::Test {
  protected:
    void SetUp() override {
        w.Load();
        auto box = w.SC->ScaleComms;
        w.SC->ScaleComms = [this, box](const std::string& m) {
            toBox.push_back(m);
            if (box) box(m);
        };
        w.mnuDemoAdd_Click(0);  // X
        w.mnuDemoAdd_Click(1);  // Y
        toBox.clear();
        w.show();
        QApplication::setActiveWindow(&w);
    }
    void Key(Qt::Key k) { QTest::keyClick(&w, k); }
    void F(int n) { Key(static_cast<Qt::Key>(Qt::Key_F1 + n - 1)); }
    void Click(int label) { QTest::mouseClick(w.labFunc(label), Qt::LeftButton); }
    QStringList Captions() {
        QStringList out;
        for (int i = 0; i < w.labFuncCount(); ++i) out << w.labFunc(i)->text();
        return out;
    }
    float Relative(const char* key) { return w.SC->GetRelativeInch(key); }

    KeysWindow w;
    std::vector<std::string> toBox;
};

// The twelve captions of page 0 with X and Y listed, separated by '|'.
const QStringList kMainPage =
    QStringLiteral(
        "X = Zero Relative|Y = Zero Relative|||||F7 Zero Abs|F8 ABS/Rel|F9 X2|"
        "F10 Fwd/Rev|F11 Set Position|F12 Menu (1)")
        .split('|');

TEST_F(WindowKeysTest, DemoScalesShowTheMainPage) {
    ASSERT_EQ(w.lstGradels().count(), 2);
    EXPECT_EQ(Captions(), kMainPage);
    F(3);  // no third scale
    EXPECT_TRUE(toBox.empty());
    EXPECT_EQ(Captions(), kMainPage);
}

TEST_F(WindowKeysTest, ZeroAbsoluteFromALabelClickAndKeys) {
    Click(6);  // the F7 label
    EXPECT_EQ(w.Keys().MenuState(), 6);
    F(1);
    Click(1);  // the F2 label
    EXPECT_EQ(toBox, (std::vector<std::string>{"ZX", "ZY"}));
    EXPECT_EQ(w.labFunc(0)->text(), "X Zero Absolute");
    F(12);
    EXPECT_EQ(Captions(), kMainPage);
}

TEST_F(WindowKeysTest, NumberEntryThroughTheDialog) {
    F(11);
    QStringList during;
    Answer(&w.Numentry(), Type("12.5\r"), [&] { during = Captions(); });
    F(7);
    EXPECT_EQ(during.first(), " 1");
    EXPECT_EQ(during.last(), "Exit");
    EXPECT_EQ(w.labFunc(0)->text(), "X =12.5 mm");
    EXPECT_EQ(w.labFunc(1)->text(), "Y =12.5 mm");
    F(1);
    EXPECT_FLOAT_EQ(Relative("X"), static_cast<float>(12.5 / kMm));

    Answer(&w.Numentry(),
           {dialogkeys::F(10), dialogkeys::F(11), dialogkeys::F(5), dialogkeys::F(12)});
    Click(7);  // the F8 label: enter inches
    EXPECT_EQ(w.labFunc(0)->text(), "X =0.5 \"");
    Click(1);
    EXPECT_FLOAT_EQ(Relative("Y"), 0.5f);
}

TEST_F(WindowKeysTest, ReadingAnotherAxisUsesTheShownValues) {
    w.SC->SetRelativeInch("Y", 0.25f);
    F(11);
    F(10);
    EXPECT_EQ(w.labFunc(0)->text(), "X Select");
    F(2);
    EXPECT_EQ(w.labFunc(0)->text(), "X =6.35mm");
    F(1);
    EXPECT_FLOAT_EQ(Relative("X"), 0.25f);

    // With Y in times-two mode its shown (doubled) reading is copied, and setting Y takes a
    // shown value, so the scale's own value is half of it.
    F(12);
    F(9);
    F(2);
    F(11);
    F(10);
    F(2);
    EXPECT_EQ(w.labFunc(0)->text(), "X =12.70mm");
    F(1);
    EXPECT_FLOAT_EQ(Relative("X"), 0.5f);
    F(9);  // offset 2 mm
    F(2);
    EXPECT_FLOAT_EQ(Relative("Y"), static_cast<float>(1.0 / kMm));
}

// The keypad's presses go to whichever window is active: the main window, then the dialog.
TEST_F(WindowKeysTest, KeypadWorksTheMenuAndTheDialog) {
    auto keypad = [](std::initializer_list<int> keys) {
        for (int n : keys) KeypadPoll::PostFunctionKey(n);
    };
    // The keypad types into whatever is active, so wait until the dialog is; if it never
    // is, close it after a while so the test fails instead of hanging in the dialog.
    int tries = 0;
    std::function<void()> whenOpen = [&] {
        frmNumentry& dialog = w.Numentry();
        if (dialog.isVisible() && QApplication::activeWindow() == &dialog) {
            keypad({1, 2, 11, 5, 12});
        } else if (++tries < 1000) {
            QTimer::singleShot(10, &w, whenOpen);
        } else {
            ADD_FAILURE() << "the entry dialog never became the active window";
            dialog.hide();
        }
    };
    QTimer::singleShot(0, &w, whenOpen);
    keypad({11, 7});  // Set Position, Enter MM
    QApplication::processEvents();
    EXPECT_EQ(w.labFunc(0)->text(), "X =12.5 mm");
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), &w);
    keypad({2});
    QApplication::processEvents();
    EXPECT_FLOAT_EQ(Relative("Y"), static_cast<float>(12.5 / kMm));
}

TEST_F(WindowKeysTest, ALetterKeyReturnsToTheMainPage) {
    F(8);
    EXPECT_EQ(w.labFunc(0)->text(), "X Rel/Abs");
    Key(Qt::Key_A);
    EXPECT_EQ(Captions(), kMainPage);
}

}  // namespace
