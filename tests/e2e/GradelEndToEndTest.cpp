// The whole program as a user meets it: the real main window, shown, on a real serial port,
// with gradel-boxsim behind a pseudo-terminal playing the interface box. Scales connect and
// identify, panels appear, readings stream in every format, keys and label clicks work the
// menu, the number entry dialog is answered, a reset goes to the box and back, the box is
// unplugged, hangs, sends noise, and the settings store fails.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <cmath>

#include "panels/frmNumentry.h"
#include "panels/modKeys.h"
#include "scale/clsScaleControl.h"
#include "tests/e2e/Station.h"
#include "tests/panels/DialogKeys.h"
#include "tests/support/ScriptedErrorDialog.h"
#include "tests/window/SettingsSandbox.h"
#include "window/clsIniFile.h"

using e2e::BoxProcess;
using e2e::Station;
using gradel::testing::ScopedErrorDialog;
using gradel::testing::SettingsSandbox;

namespace {

QString App() {
    return gradel::clsIniFile::ExecutableName();
}

// Still scales stand at 12.7 mm times their place in --scales (1, 2, 3...).
const QStringList kStillXY = {"--scales", "XY", "--motion", "still"};

// Collects, on every pass of the event loop for `ms`, the texts a readout showed.
QStringList WatchMm(Station& st, const QString& key, int ms) {
    QStringList seen;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        const QString text = st.Mm(key);
        if (seen.isEmpty() || seen.back() != text) seen << text;
    }
    return seen;
}

class EndToEnd : public ::testing::Test {
  protected:
    void SetUp() override { SettingsSandbox::Clear(App()); }
    ScopedErrorDialog errors;
};

}  // namespace

TEST_F(EndToEnd, RememberedBoxIdentifiesAtStartUpAndPanelsStackInKeyOrderInEveryFormat) {
    BoxProcess box;
    ASSERT_TRUE(
        box.Plug({"--scales", "ZXY", "--format", "Z=hex,X=mm,Y=inch", "--motion", "still"}));
    gradel::clsIniFile().SaveIni("Comms", "port", "Comm 1");
    Station st(box);
    st.Start();
    ASSERT_TRUE(st.WaitForPanels({"X", "Y", "Z"})) << st.KeysOnScreen().join(',').toStdString();
    // Z stands at 12.7 mm (a count), X at 25.4 mm (mm), Y at 38.1 mm (inches, counted reversed).
    ASSERT_TRUE(st.WaitForMm({{"Z", "12.70"}, {"X", "25.40"}, {"Y", "-38.10"}}))
        << st.Mm("Z").toStdString() << " " << st.Mm("X").toStdString() << " "
        << st.Mm("Y").toStdString();
    struct Shown {
        const char* key;
        const char* inch;
        float dial;
    };
    for (const Shown& s :
         {Shown{"X", "1.0000", 1.0f}, Shown{"Y", "-1.5000", -1.5f}, Shown{"Z", "0.5000", 0.5f}}) {
        SCOPED_TRACE(s.key);
        EXPECT_EQ(st.Inch(s.key), s.inch);
        EXPECT_NEAR(st.Dial(s.key), s.dial, 1e-5);
    }
    EXPECT_EQ(st.Captions().mid(0, 4),
              (QStringList{"X = Zero Relative", "Y = Zero Relative", "Z = Zero Relative", ""}));
    // The box announces its scales too (a moment after the port opened): identified again,
    // they stay where they are.
    const auto& said = st.tap.BoxMessages();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return std::find(said.begin(), said.end(), "CY") != said.end(); }, 2000));
    EXPECT_TRUE(st.WaitForMm({{"Z", "12.70"}, {"X", "25.40"}, {"Y", "-38.10"}}));
    EXPECT_EQ(st.KeysOnScreen(), (QStringList{"X", "Y", "Z"}));
    for (const char* m : {"CZ", "CX", "CY", "IX,0,Decimal,mm", "IY,0,Decimal,Inch"})
        EXPECT_NE(std::find(said.begin(), said.end(), m), said.end()) << m;
    EXPECT_TRUE(errors.reports.empty());
}

TEST_F(EndToEnd, ReadoutsFollowMovingScalesAndShowTheLastReadingsWhenTheBoxHangs) {
    BoxProcess box;
    ASSERT_TRUE(box.Plug({"--scales", "XYZ", "--format", "X=mm,Y=inch,Z=hex", "--motion", "sine",
                          "--rate", "line"}));
    Station st(box);
    st.Start();
    st.ChoosePort();
    ASSERT_TRUE(st.WaitForPanels({"X", "Y", "Z"}));
    for (const char* key : {"X", "Y", "Z"}) {
        SCOPED_TRACE(key);
        EXPECT_GE(WatchMm(st, key, 400).size(), 5);  // the readout moves with its scale
    }
    // At the full line rate the box hangs twice wherever its output stands, mid-message as often
    // as not, and comes back: each time the readouts hold what the last nine readings received
    // give (the readouts are paced to the screen's frames, yet none is left stale).
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        const long long before = st.tap.Readings('Z');
        ASSERT_TRUE(QTest::qWaitFor([&] { return st.tap.Readings('Z') >= before + 20; }, 3000));
        box.Freeze();
        QTest::qWait(300);
        EXPECT_LT(st.w.SC->InputBuffer().size(), 12u) << std::string(st.w.SC->InputBuffer());
        for (const char* key : {"X", "Y", "Z"}) {
            SCOPED_TRACE(key);
            const double sign = key[0] == 'Y' ? -1 : 1;  // Y counts reversed
            const double inch = sign * st.tap.Average(key[0]);
            EXPECT_NEAR(st.Dial(key), inch, 2e-5);
            EXPECT_NEAR(st.Mm(key).toDouble(), inch * 25.4, 0.0051);
            EXPECT_NEAR(st.Inch(key).toDouble(), inch, 0.00051);
        }
        box.Resume();
    }
    EXPECT_EQ(st.KeysOnScreen(), (QStringList{"X", "Y", "Z"}));
    EXPECT_TRUE(errors.reports.empty());
}

TEST_F(EndToEnd, KeysAndLabelClicksWorkThePagesAndAZeroGoesThroughTheBox) {
    BoxProcess box;
    ASSERT_TRUE(box.Plug(kStillXY));
    Station st(box);
    st.Start();
    st.ChoosePort();
    ASSERT_TRUE(st.WaitForMm({{"X", "12.70"}, {"Y", "-25.40"}}));

    // Zero Absolute: F7, then the X label. "ZX" goes to the box, which zeroes the scale and
    // answers "RX"; the record starts again from zero and the readings that follow are 0.
    st.Key(7);
    EXPECT_EQ(st.Captions().mid(0, 2), (QStringList{"X Zero Absolute", "Y Zero Absolute"}));
    st.Click(0);
    ASSERT_TRUE(st.WaitForMm({{"X", "0.00"}})) << st.Mm("X").toStdString();
    const auto& said = st.tap.BoxMessages();
    EXPECT_NE(std::find(said.begin(), said.end(), "RX"), said.end());
    EXPECT_EQ(WatchMm(st, "X", 300), QStringList{"0.00"});  // no climb back: the box zeroed
    EXPECT_EQ(st.Mm("Y"), "-25.40");
    st.Key(12);
    EXPECT_EQ(st.Captions()[6], "F7 Zero Abs");

    struct Step {
        std::vector<int> keys;  // function keys; label clicks as -1 - label
        const char* y;          // Y's millimetre readout after them
    };
    const Step steps[] = {
        {{2}, "0.00"},            // main page: zero Y's relative reading
        {{8, -2, 12}, "-25.40"},  // ABS/Rel page, the Y label: absolute again
        {{9, 2, 12}, "-50.80"},   // X2 page: doubled
        {{10, -2, 12}, "50.80"},  // Fwd/Rev page: counts the other way once readings come
        {{8, 2, 12}, "101.60"},   // relative to the zero taken at -25.40, doubled
    };
    for (const Step& s : steps) {
        for (int k : s.keys) k > 0 ? st.Key(k) : st.Click(-1 - k);
        EXPECT_TRUE(st.WaitForMm({{"Y", s.y}}, 3000))
            << s.y << " shown " << st.Mm("Y").toStdString();
    }
    EXPECT_EQ(st.w.Keys().MenuState(), modKeys::kMain);
    EXPECT_TRUE(errors.reports.empty());
}

TEST_F(EndToEnd, NumbersTypedIntoTheEntryDialogSetTheReadout) {
    BoxProcess box;
    ASSERT_TRUE(box.Plug({"--scales", "X", "--motion", "still"}));
    Station st(box);
    st.Start();
    st.ChoosePort();
    ASSERT_TRUE(st.WaitForMm({{"X", "12.70"}}));

    st.Key(11);  // Set Position
    dialogkeys::Answer(&st.w.Numentry(), dialogkeys::Type("30.5\r"));
    st.Key(7);  // Enter MM: the dialog, answered by the typed keys
    EXPECT_EQ(st.w.labFunc(0)->text(), "X =30.5 mm");
    st.Key(1);
    ASSERT_TRUE(st.WaitForMm({{"X", "30.50"}}));

    // The keypad's way: F10 F11 F5 type "0.5", F12 closes; Enter Inch by its label.
    dialogkeys::Answer(&st.w.Numentry(),
                       {dialogkeys::F(10), dialogkeys::F(11), dialogkeys::F(5), dialogkeys::F(12)});
    st.Click(7);
    EXPECT_EQ(st.w.labFunc(0)->text(), "X =0.5 \"");
    st.Click(0);
    // The readout takes the new relative value with the next reading, and keeps it.
    ASSERT_TRUE(st.WaitForMm({{"X", "12.70"}}));
    EXPECT_EQ(st.Inch("X"), "0.5000");
    EXPECT_EQ(WatchMm(st, "X", 300), QStringList{"12.70"});
    EXPECT_TRUE(errors.reports.empty());
}

TEST_F(EndToEnd, TheBoxUnpluggedAndChosenAgainComesBackEachTime) {
    BoxProcess box;
    ASSERT_TRUE(box.Plug(kStillXY));
    Station st(box);
    st.Start();
    st.ChoosePort();
    ASSERT_TRUE(st.WaitForMm({{"X", "12.70"}, {"Y", "-25.40"}}));
    for (int cycle = 0; cycle < 3; ++cycle) {
        SCOPED_TRACE(cycle);
        box.Unplug();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !st.w.PortOpen(); }, 3000));
        ASSERT_TRUE(st.WaitForPanels({}));
        EXPECT_FALSE(st.w.mnuComPort[0]->isChecked());
        auto* notice = st.w.findChild<QMessageBox*>("portNotice");
        ASSERT_NE(notice, nullptr);
        EXPECT_TRUE(notice->isVisible());
        ASSERT_TRUE(box.Plug(kStillXY));
        st.ChoosePort();
        EXPECT_TRUE(st.w.mnuComPort[0]->isChecked());
        ASSERT_TRUE(st.WaitForMm({{"X", "12.70"}, {"Y", "-25.40"}}));
        EXPECT_EQ(st.KeysOnScreen(), (QStringList{"X", "Y"}));
    }
    EXPECT_EQ(st.w.Panels().size(), 2u);  // panels are re-shown, never made again
    EXPECT_EQ(gradel::clsIniFile().GetIni("Comms", "port"), "Comm 1");
    EXPECT_TRUE(errors.reports.empty());
}

TEST_F(EndToEnd, LineNoiseAndACutMidMessageNeverShowAValueTheScalesDidNotSend) {
    struct Case {
        const char* name;
        QStringList options;
    };
    const Case cases[] = {
        {"noise", kStillXY + QStringList{"--noise", "0.3", "--rate", "200", "--seed", "3"}},
        {"cut",
         kStillXY + QStringList{"--rate", "line", "--start-mode", "2", "--unplug-after", "2.5"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Station::ForgetPort();
        BoxProcess box;
        ASSERT_TRUE(box.Plug(c.options));
        Station st(box);
        st.Start();
        st.ChoosePort();
        ASSERT_TRUE(st.WaitForMm({{"X", "12.70"}, {"Y", "-25.40"}}))
            << st.Mm("X").toStdString() << " " << st.Mm("Y").toStdString() << " "
            << st.tap.WellFormed() << " " << st.tap.Bytes() << " " << st.w.PortOpen() << " "
            << (st.w.findChild<QMessageBox*>("portNotice")
                    ? st.w.findChild<QMessageBox*>("portNotice")->text().toStdString()
                    : "");
        // From here on every well-formed reading says the same: nothing else may show.
        QStringList x, y;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 3000 && st.w.PortOpen()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            for (auto [key, seen] : {std::pair{"X", &x}, std::pair{"Y", &y}}) {
                const QString t = st.Mm(key);
                if (!t.isEmpty() && (seen->isEmpty() || seen->back() != t)) *seen << t;
            }
        }
        EXPECT_EQ(x, QStringList{"12.70"});
        EXPECT_EQ(y, QStringList{"-25.40"});
        if (QString(c.name) == "noise") {
            EXPECT_GT(st.tap.Other(), 100);  // noise did spoil messages
            EXPECT_EQ(st.KeysOnScreen(), (QStringList{"X", "Y"}));
        } else {
            // The cut: the box vanished mid-stream; plugged in again it is read afresh.
            ASSERT_TRUE(st.WaitForPanels({}));
            ASSERT_TRUE(box.Plug(kStillXY));
            st.ChoosePort();
            ASSERT_TRUE(st.WaitForMm({{"X", "12.70"}, {"Y", "-25.40"}}));
            EXPECT_EQ(WatchMm(st, "X", 500), QStringList{"12.70"});
        }
        EXPECT_LE(st.w.SC->InputBuffer().size(), gradel::clsScaleControl::kInputBufferCap);
        EXPECT_TRUE(errors.reports.empty());
    }
}

TEST_F(EndToEnd, ASettingsStoreThatCannotBeReadOrWrittenNeverStopsTheDisplay) {
    const QString file = gradel::testing::g_settingsSandbox.File(App());
    const QString folder = QFileInfo(file).path();
    struct Case {
        const char* name;
        std::function<void()> spoil;
        bool saved;  // the chosen port is remembered all the same
    };
    // Every case is reported once: the junk file is written over with good settings, but the
    // store still says it met a fault on the way.
    const Case cases[] = {
        {"the file is a folder", [&] { QDir().mkpath(file); }, false},
        {"its folder is a file",
         [&] {
             QFile f(folder);
             f.open(QIODevice::WriteOnly);
             f.write("not a folder");
         },
         false},
        {"the file is binary junk",
         [&] {
             QDir().mkpath(folder);
             QFile f(file);
             f.open(QIODevice::WriteOnly);
             f.write(QByteArray("\x00\xff[Comms\n\x01port=\x80\x81", 18));
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(folder).removeRecursively();
        QFile::remove(folder);
        c.spoil();
        errors.reports.clear();
        errors.Script({gradel::ErrorAnswer::Ignore});
        BoxProcess box;
        ASSERT_TRUE(box.Plug(kStillXY));
        Station st(box);
        st.Start();  // nothing readable is remembered: no port is opened
        EXPECT_FALSE(st.w.PortOpen());
        st.ChoosePort();
        ASSERT_TRUE(st.WaitForMm({{"X", "12.70"}, {"Y", "-25.40"}}));
        EXPECT_TRUE(st.w.mnuComPort[0]->isChecked());
        const bool remembered = gradel::clsIniFile().GetIni("Comms", "port") == "Comm 1";
        EXPECT_EQ(remembered, c.saved);
        // The fault is said once, and the display goes on.
        ASSERT_EQ(errors.reports.size(), 1u);
        EXPECT_NE(errors.reports[0].Text().find("mnuComPort_Click"), std::string::npos);
        EXPECT_EQ(WatchMm(st, "X", 200), QStringList{"12.70"});
    }
    QDir(folder).removeRecursively();
    QFile::remove(folder);
}
