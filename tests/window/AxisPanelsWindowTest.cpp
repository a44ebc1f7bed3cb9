// Axis panels, their controls and the keypad through the real window and controller, with a
// fake serial port behind it.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <chrono>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "FakeSerialPort.h"
#include "SettingsSandbox.h"
#include "controls/AnalogueDial.h"
#include "controls/DigitalDial.h"
#include "tests/support/ScriptedErrorDialog.h"
#include "window/PortTable.h"
#include "window/SerialLink.h"
#include "window/clsIniFile.h"
#include "window/frmGradel.h"
#include "window/winsys/Tag.h"
#include "window/winsys/Twips.h"

namespace {

using gradel::Tag;

// A port that also lets the test look at the window at the moment something is written.
class WatchedPort : public gradel::testing::FakeSerialPort {
  public:
    std::function<void(const std::string&)> onWrite;
    void Write(const QByteArray& data) override {
        FakeSerialPort::Write(data);
        if (onWrite) onWrite(data.toStdString());
    }
};

class RecordingClipboard : public IClipboard {
  public:
    std::vector<QString> log;
    void Clear() override { log.push_back("clear"); }
    void SetText(const QString& text) override { log.push_back("text " + text); }
};

class ScriptedKeypad : public IKeypadSource {
  public:
    std::deque<uint8_t> codes;
    uint8_t Read() override {
        if (codes.empty()) return 0;
        const uint8_t c = codes.front();
        codes.pop_front();
        return c;
    }
};

// The window with its function-key menu replaced by a recorder of the keys it is handed.
class KeyRecordingWindow : public frmGradel {
  public:
    std::vector<int> keys;
    void HandleKey(int& KeyCode, int) override { keys.push_back(KeyCode); }
};

template <class Window>
class AxisWindowT : public ::testing::Test {
  protected:
    void SetUp() override {
        gradel::testing::SettingsSandbox::Clear(gradel::clsIniFile::ExecutableName());
        auto port = std::make_unique<WatchedPort>();
        port_ = port.get();
        w.SetSerialPort(std::move(port), PortTable({QStringLiteral("/nonexistent/gradel-box")}));
        w.Link().SetIdentifyPause(std::chrono::milliseconds(0));
        w.Load();
        w.Axis.SetShowMenu([this](QMenu* m) { shownMenus.push_back(m); });
    }
    void TearDown() override { EXPECT_TRUE(dialog.reports.empty()) << dialog.reports[0].Text(); }

    void Feed(const std::string& text) { w.SC->DataInput(text); }
    void Connect(const std::string& k) { Feed("C" + k + ":I" + k + ",0,Decimal,Inch:"); }
    // Nine equal readings fill the average: the absolute value becomes `reading` exactly.
    void Hold(const std::string& k, const std::string& reading) {
        for (int n = 0; n < 9; ++n) Feed(k + reading + ":");
    }
    void OpenPort() {
        ASSERT_TRUE(w.Link().OpenPort(1));
        port_->steps.clear();
    }
    const AxisPanel& Panel(const QString& key) {
        for (const AxisPanel& p : w.Panels())
            if (Tag(p.fraAxis) == key) return p;
        ADD_FAILURE() << "no panel " << key.toStdString();
        return w.Panels()[0];
    }
    QStringList Directory() {
        QStringList out;
        for (int r = 0; r < w.lstGradels().count(); ++r)
            out << w.lstGradels().item(r)->text() + ":" +
                       w.lstGradels().item(r)->data(Qt::UserRole).toString();
        return out;
    }

    gradel::testing::ScopedErrorDialog dialog;  // before the window: the controller keeps it
    Window w;
    WatchedPort* port_ = nullptr;
    std::vector<QMenu*> shownMenus;
};

using AxisWindow = AxisWindowT<frmGradel>;
using KeypadWindow = AxisWindowT<KeyRecordingWindow>;

void SendMouse(QWidget* target, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons,
               double yTwips) {
    const QPointF pos(5, yTwips * gradel::Twips::Dpi() / gradel::Twips::kPerInch);
    QMouseEvent e(type, pos, target->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &e);
}

}  // namespace

// ---- Scales come and go ----

TEST_F(AxisWindow, DemoScaleWithoutAPortGetsTheTemplatePanelShowingZero) {
    w.mnuDemoAdd_Click(0);
    ASSERT_EQ(w.Panels().size(), 1u);
    const AxisPanel& p = w.Panels()[0];
    EXPECT_EQ(p.fraAxis->title(), "X Axis");
    EXPECT_FALSE(p.fraAxis->isHidden());
    EXPECT_EQ(p.ddInch->Reading(" "), "0.0000 \"");
    EXPECT_EQ(p.ddMM->Reading(" "), "0.00 mm");
    EXPECT_TRUE(port_->Writes().empty());
    EXPECT_EQ(Directory(), QStringList{"X:0"});
    EXPECT_EQ(Tag(w.labFunc(0)), "X");  // the function keys know the axis at once
}

TEST_F(AxisWindow, WithAnOpenPortFastModeIsAskedForOnceThePanelExists) {
    OpenPort();
    std::vector<bool> panelShownAtS2;
    port_->onWrite = [&](const std::string& text) {
        if (text == "S2")
            panelShownAtS2.push_back(Tag(w.Panels()[0].fraAxis) == "X" &&
                                     !w.Panels()[0].fraAxis->isHidden());
    };
    w.mnuDemoAdd_Click(0);
    EXPECT_EQ(port_->Writes(), (std::vector<std::string>{"I0", "I0", "S2"}));
    EXPECT_EQ(panelShownAtS2, std::vector<bool>{true});
}

TEST_F(AxisWindow, AReturningScaleGetsItsPanelBackWithItsStates) {
    w.mnuDemoAdd_Click(0);
    w.mnuDemoAdd_Click(1);
    w.ToggleABS("X");
    w.ToggleX2("X");
    w.ToggleReverse("X");
    w.mnuDemoRemove_Click(0);
    EXPECT_TRUE(w.Panels()[0].fraAxis->isHidden());
    EXPECT_EQ(Directory(), QStringList{"Y:1"});

    w.mnuDemoAdd_Click(0);
    ASSERT_EQ(w.Panels().size(), 2u);
    const AxisPanel& x = w.Panels()[0];
    EXPECT_FALSE(x.fraAxis->isHidden());
    EXPECT_EQ(Directory(), (QStringList{"X:0", "Y:1"}));
    EXPECT_EQ(AxisPanel::Value(x.chkABS), 1);
    EXPECT_EQ(AxisPanel::Value(x.chkX2), 1);
    EXPECT_EQ(AxisPanel::Value(x.chkREV), 1);
    // The scale's new record counts the way its Rev button says.
    EXPECT_TRUE(w.SC->Reverse("X"));
    Hold("X", "+01.0000");
    EXPECT_EQ(x.ddInch->Reading(), "-2.0000\"");  // absolute, doubled, reversed
}

TEST_F(AxisWindow, ANewKeyGetsANewPanelAndYStartsReversed) {
    w.mnuDemoAdd_Click(0);
    w.mnuDemoRemove_Click(0);
    Connect("Z");
    ASSERT_EQ(w.Panels().size(), 2u);
    EXPECT_EQ(Directory(), QStringList{"Z:1"});
    EXPECT_EQ(w.Panels()[1].fraAxis->title(), "Z Axis");
    EXPECT_EQ(AxisPanel::Value(w.Panels()[1].chkREV), 0);
    EXPECT_FALSE(w.SC->Reverse("Z"));

    w.mnuDemoAdd_Click(1);
    EXPECT_EQ(AxisPanel::Value(Panel("Y").chkREV), 1);
    EXPECT_TRUE(w.SC->Reverse("Y"));
    Hold("Y", "+00.5000");
    EXPECT_EQ(Panel("Y").ddInch->Reading(), "-0.5000\"");
}

// ---- What the readouts show ----

TEST_F(AxisWindow, AbsoluteAndTimesTwoCombinations) {
    struct Case {
        bool abs, x2;
        QString inch, mm, dial;
        bool reset;
    };
    // Absolute 1.25 inch, relative 0.25 inch.
    const Case cases[] = {
        {false, false, "0.2500\"", "6.35mm", "1/4", true},
        {false, true, "0.5000\"", "12.70mm", "1/2", true},
        {true, false, "1.2500\"", "31.75mm", "11/4", false},
        {true, true, "2.5000\"", "63.50mm", "21/2", false},
    };
    w.mnuDemoAdd_Click(0);
    Hold("X", "+01.2500");
    w.SC->SetRelativeInch("X", 0.25f);
    const AxisPanel& p = Panel("X");
    for (const Case& c : cases) {
        if (AxisPanel::Value(p.chkABS) != c.abs) w.ToggleABS("X");
        if (AxisPanel::Value(p.chkX2) != c.x2) w.ToggleX2("X");
        w.SC->Update("X");
        SCOPED_TRACE(c.inch.toStdString());
        EXPECT_EQ(p.ddInch->Reading(), c.inch);
        EXPECT_EQ(p.ddMM->Reading(), c.mm);
        EXPECT_EQ(p.AnalogueDial_->Reading(), c.dial);
        EXPECT_EQ(p.cmdRS->isEnabled(), c.reset);
    }
}

TEST_F(AxisWindow, HiddenPanelsKeepReceivingAndUnknownKeysChangeNothing) {
    w.mnuDemoAdd_Click(0);
    w.mnuDemoAdd_Click(1);
    w.RemovePanel("X");  // as a double click does; the scale stays known
    Hold("X", "+00.7500");
    EXPECT_EQ(Panel("X").ddInch->Reading(), "0.7500\"");
    EXPECT_TRUE(Panel("X").fraAxis->isHidden());

    gradel::clsGradel stray;
    stray.SetKey("Q");
    w.SC_PositionUpdate(stray);
    EXPECT_EQ(Panel("X").ddInch->Reading(), "0.7500\"");
    EXPECT_EQ(Panel("Y").ddInch->Reading(), "0.0000\"");
}

// ---- Buttons ----

TEST_F(AxisWindow, DragAdjustMovesTheRelativeValueFromThePress) {
    struct Case {
        Qt::MouseButtons buttons;
        double toY;
        float expected;
    };
    const Case cases[] = {
        {Qt::LeftButton, 400, 0.1010f},
        {Qt::RightButton, 400, 0.1100f},
        {Qt::LeftButton, 600, 0.0990f},
        {Qt::RightButton, 600, 0.0900f},
        {Qt::LeftButton | Qt::RightButton, 400, 0.1f},  // neither exactly: nothing
        {Qt::NoButton, 400, 0.1f},
    };
    w.mnuDemoAdd_Click(0);
    QPushButton* adj = Panel("X").cmdAdj;
    for (const Case& c : cases) {
        w.SC->SetRelativeInch("X", 0.1f);
        w.SC->Update("X");
        SendMouse(adj, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, 500);
        SendMouse(adj, QEvent::MouseMove, Qt::NoButton, c.buttons, c.toY);
        SendMouse(adj, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, c.toY);
        EXPECT_NEAR(w.SC->GetRelativeInch("X"), c.expected, 2e-6) << c.toY;
        EXPECT_NEAR(Panel("X").ddInch->Value(), c.expected, 2e-6);  // shown at once
    }
    // A second move is measured from the press again, not from the first move.
    w.SC->SetRelativeInch("X", 0.1f);
    SendMouse(adj, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, 500);
    SendMouse(adj, QEvent::MouseMove, Qt::NoButton, Qt::RightButton, 450);
    SendMouse(adj, QEvent::MouseMove, Qt::NoButton, Qt::RightButton, 400);
    EXPECT_NEAR(w.SC->GetRelativeInch("X"), 0.11f, 2e-6);
}

TEST_F(AxisWindow, DragStartsFromTheControllersValueEvenInTimesTwoMode) {
    w.mnuDemoAdd_Click(0);
    w.ToggleX2("X");
    w.SC->SetRelativeInch("X", 0.1f);
    QPushButton* adj = Panel("X").cmdAdj;
    SendMouse(adj, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, 500);
    SendMouse(adj, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, 400);
    EXPECT_NEAR(w.SC->GetRelativeInch("X"), 0.101f, 2e-6);
    EXPECT_EQ(Panel("X").ddInch->Reading(), "0.2020\"");
}

TEST_F(AxisWindow, TimesTwoWrappersDoubleWhatIsReadAndHalveWhatIsSet) {
    struct Case {
        bool x2;
        float read;      // GetRelativeInch with the controller at 0.25
        float handedOn;  // what SetRelativeInch(1.0) gives the controller
    };
    w.mnuDemoAdd_Click(0);
    for (const Case& c : {Case{true, 0.5f, 0.5f}, Case{false, 0.25f, 1.0f}}) {
        if (AxisPanel::Value(Panel("X").chkX2) != c.x2) w.ToggleX2("X");
        w.SC->SetRelativeInch("X", 0.25f);
        EXPECT_FLOAT_EQ(w.GetRelativeInch("X"), c.read);
        w.SetRelativeInch("X", 1.0f);
        EXPECT_FLOAT_EQ(w.SC->GetRelativeInch("X"), c.handedOn);
    }
    EXPECT_FLOAT_EQ(w.GetRelativeInch("Q"), 0.0f);  // no such scale: reported, reads 0
    ASSERT_EQ(dialog.reports.size(), 1u);
    EXPECT_EQ(dialog.reports[0].procedure, "GetRelativeInch");
    dialog.reports.clear();
}

TEST_F(AxisWindow, RevFollowsItsBoxAndResetButtonsActOnTheirScale) {
    OpenPort();
    w.mnuDemoAdd_Click(0);
    port_->steps.clear();
    const AxisPanel& x = Panel("X");
    w.ToggleReverse("X");
    EXPECT_EQ(AxisPanel::Value(x.chkREV), 1);
    EXPECT_TRUE(w.SC->Reverse("X"));
    x.chkREV->click();  // the user's click takes the same path
    EXPECT_FALSE(w.SC->Reverse("X"));

    Hold("X", "+00.3000");
    x.cmdRS->click();
    EXPECT_EQ(x.ddInch->Reading(), "0.0000\"");
    EXPECT_FLOAT_EQ(w.SC->GetRelativeInch("X"), 0.0f);
    w.ResetAbsolute("X");
    EXPECT_EQ(port_->Writes(), std::vector<std::string>{"ZX"});
}

// ---- Pop-up menus and the clipboard ----

TEST_F(AxisWindow, DialPopUpTicksTheDialsDivisionsAndItsEntriesSetThem) {
    w.mnuDemoAdd_Click(0);
    w.mnuDemoAdd_Click(1);
    AnalogueDial* dialY = Panel("Y").AnalogueDial_;
    struct Case {
        int divisions;
        std::vector<bool> ticks;
    };
    for (const Case& c : {Case{32, {false, true, false}}, Case{16, {true, false, false}},
                          Case{64, {false, false, true}}, Case{10, {false, false, false}}}) {
        dialY->SetDivisions(c.divisions);
        emit dialY->RightClick();
        EXPECT_EQ(w.Axis.PopupIndex(), 1);
        std::vector<bool> ticks;
        for (QAction* a : w.mnuPopupDivisions) ticks.push_back(a->isChecked());
        EXPECT_EQ(ticks, c.ticks) << c.divisions;
        ASSERT_FALSE(shownMenus.empty());
        EXPECT_EQ(shownMenus.back(), w.mnuPopupAnalogue);
    }
    w.mnuPopupDivisions[0]->trigger();  // "&16ths"
    EXPECT_EQ(dialY->Divisions(), 16);
    EXPECT_EQ(Panel("X").AnalogueDial_->Divisions(), 64);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(w.mnuPopupDivisions[k]->isChecked(), k == 0);
}

TEST_F(AxisWindow, CopyEntriesPutTheReadingOfTheRightClickedPanel) {
    RecordingClipboard clip;
    w.Axis.SetClipboard(clip);
    w.mnuDemoAdd_Click(0);
    w.mnuDemoAdd_Click(1);
    Hold("X", "+03.7500");
    w.SC->ResetRelative("X");
    w.SC->SetRelativeInch("X", 3.75f);
    w.SC->Update("X");
    Hold("Y", "-00.5000");  // Y is reversed: shows +0.5
    struct Case {
        QWidget* readout;
        QMenu* menu;
        QAction* entry;
        QString text;
    };
    const Case cases[] = {
        {Panel("X").AnalogueDial_, w.mnuPopupAnalogue, w.mnuPopupAnalogueCopy, "33/4\""},
        {Panel("Y").AnalogueDial_, w.mnuPopupAnalogue, w.mnuPopupAnalogueCopy, "1/2\""},
        {Panel("X").ddInch, w.mnuPopupInch, w.mnuPopupInchCopy, "3.7500\""},
        {Panel("Y").ddMM, w.mnuPopupMM, w.mnuPopupMMCopy, "12.70mm"},
        {Panel("X").ddMM, w.mnuPopupMM, w.mnuPopupMMCopy, "95.25mm"},
    };
    for (const Case& c : cases) {
        clip.log.clear();
        QMetaObject::invokeMethod(c.readout, "RightClick");
        ASSERT_FALSE(shownMenus.empty());
        EXPECT_EQ(shownMenus.back(), c.menu);
        c.entry->trigger();
        EXPECT_EQ(clip.log, (std::vector<QString>{"clear", "text " + c.text}));
    }
}

TEST_F(AxisWindow, ReadoutPopUpOpensAtThePointerWithoutWaiting) {
    w.Axis.SetShowMenu(nullptr);
    w.mnuDemoAdd_Click(0);
    emit Panel("X").ddMM->RightClick();
    EXPECT_TRUE(w.mnuPopupMM->isVisible());
    w.mnuPopupMM->hide();
}

// ---- More panels than the design holds ----

TEST_F(AxisWindow, TheWindowGrowsToShowEveryPanelAndShrinksBack) {
    struct Case {
        std::vector<std::string> keys;
        int clientTwips;
    };
    const Case cases[] = {
        {{"U"}, 6600},
        {{"U", "V", "W", "X"}, 6600},
        {{"U", "V", "W", "X", "Y"}, 5 * 1455},
        {{"U", "V", "W", "X", "Y", "Z"}, 6 * 1455},
    };
    w.show();
    for (const Case& c : cases) {
        for (const std::string& k : c.keys) Connect(k);
        QCoreApplication::processEvents();
        EXPECT_EQ(w.client->height(), gradel::Twips::ToPx(c.clientTwips)) << c.keys.size();
        EXPECT_GE(w.height(), w.client->height());
        for (const AxisPanel& p : w.Panels()) {
            if (!p.fraAxis->isHidden()) {
                EXPECT_TRUE(w.client->rect().contains(p.fraAxis->geometry()));
            }
        }
        for (const std::string& k : c.keys) Feed("D" + k + ":");
        QCoreApplication::processEvents();
        EXPECT_EQ(w.client->height(), gradel::Twips::ToPx(6600));
    }
}

// ---- Keypad ----

TEST_F(KeypadWindow, KeypadCodesBecomeFunctionKeysOfTheActiveWindow) {
    struct Case {
        std::deque<uint8_t> codes;
        std::vector<int> keys;
    };
    const Case cases[] = {
        {{0, 7, 7, 7, 0, 7}, {118, 118}},
        {{7, 8}, {118, 119}},
        {{15, 15, 15, 15, 15}, {126}},
    };
    ScriptedKeypad keypad;
    w.Keypad.SetSource(&keypad);
    w.show();
    QApplication::setActiveWindow(&w);
    w.activateWindow();
    QCoreApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), &w);
    for (const Case& c : cases) {
        w.keys.clear();
        keypad.codes = c.codes;
        const std::size_t ticks = c.codes.size();
        for (std::size_t t = 0; t < ticks; ++t) w.Timer1_Timer();
        QCoreApplication::processEvents();
        EXPECT_EQ(w.keys, c.keys);
        for (int t = 0; t < 2; ++t) w.Timer1_Timer();  // release before the next case
    }
}
