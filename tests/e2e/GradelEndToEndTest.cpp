// The whole program as a user meets it: the real main window, shown, on a real serial port,
// with gradel-boxsim behind a pseudo-terminal playing the interface box. Scales connect and
// identify, panels appear, readings stream in every format, the box is told its codes, the
// port is closed and the box unplugged, keys and label clicks work the menu, the number entry
// dialog is answered, a reset goes to the box and back, the box hangs and sends noise, and the
// settings store fails.
#include <gtest/gtest.h>

#include <fstream>

#include "panels/FunctionKeys.h"
#include "panels/NumberEntryDialog.h"
#include "panels/PanelStack.h"
#include "tests/e2e/Station.h"
#include "tests/support/DialogKeys.h"
#include "tests/support/ScriptedPrompt.h"

namespace {

using namespace gradel;
using namespace gradel::testing;
using Shown = std::map<QString, QString>;
using Watched = std::map<QString, QStringList>;

// Still scales stand at 12.7 mm times their place in --scales (1, 2, 3...); Y counts reversed.
const QStringList kStillXY = {"--scales", "XY", "--motion", "still"};
const Shown kStill = {{"X", "12.70 0.5000 0.5"}, {"Y", "-25.40 -1.0000 -1"}};
const Shown kGone = {{"X", ""}, {"Y", ""}};
const Watched kStillWatched = {{"X", {kStill.at("X")}}, {"Y", {kStill.at("Y")}}};

class EndToEnd : public ::testing::Test {
  protected:
    void SetUp() override { Station::clearSettings(); }
    void TearDown() override { EXPECT_TRUE(errors_.reports().empty()); }

    // A box with `options` and a window on it that has started and chosen the box's port.
    Station& startOn(const QStringList& options, bool choose = true) {
        station_ = std::make_unique<Station>(box_);  // the last window goes before its box
        EXPECT_TRUE(box_.plug(options)) << options.join(' ').toStdString();
        station_->start();
        if (choose) station_->choosePort();
        return *station_;
    }

    ScopedPrompt errors_;
    BoxProcess box_;
    std::unique_ptr<Station> station_;
};

}  // namespace

TEST_F(EndToEnd, TheRememberedBoxIsIdentifiedAtStartUpAndItsPanelsStackInKeyOrder) {
    Settings().setValue("Comms", "port", "Comm 1");
    Station& st =
        startOn({"--scales", "ZXY", "--format", "Z=hex,X=mm,Y=inch", "--motion", "still"}, false);
    // Z stands at 12.7 mm (a count), X at 25.4 mm (mm), Y at 38.1 mm (inches, counted reversed).
    const Shown shown = {
        {"Z", "12.70 0.5000 0.5"}, {"X", "25.40 1.0000 1"}, {"Y", "-38.10 -1.5000 -1.5"}};
    ASSERT_EQ(st.waitFor(shown), shown);
    auto top = [&](const char* key) { return st.window().panels().panel(key)->y(); };
    EXPECT_TRUE(top("X") < top("Y") && top("Y") < top("Z"));
    const QStringList labels = {"X = Zero Relative", "Y = Zero Relative", "Z = Zero Relative", ""};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(st.window().functionLabels().caption(i), labels[i]);
    // The box announces its scales too, a moment after the port opened: identified again,
    // they stay where they are.
    for (const char* m : {"CZ", "CX", "CY", "IX,0,Decimal,mm", "IY,0,Decimal,Inch"})
        EXPECT_TRUE(QTest::qWaitFor([&] { return st.tap().said(m); }, 2000)) << m;
    EXPECT_EQ(st.waitFor(shown), shown);
    EXPECT_TRUE(top("X") < top("Y") && top("Y") < top("Z"));
}

TEST_F(EndToEnd, ReadoutsFollowMovingScalesAndShowTheLastReadingsWhenTheBoxHangs) {
    Station& st = startOn(
        {"--scales", "XYZ", "--format", "X=mm,Y=inch,Z=hex", "--motion", "sine", "--rate", "line"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !st.readouts("Z").isEmpty(); }));
    Watched seen = st.watch({"X", "Y", "Z"}, 400);
    for (const char* key : {"X", "Y", "Z"}) EXPECT_GE(seen[key].size(), 5) << key;
    // At the full line rate the box hangs twice wherever its output stands, mid-message as often
    // as not, and comes back: each time the readouts hold what the last nine readings received
    // give (the readouts are paced to the screen's frames, yet none is left stale).
    // The second time it stays silent: a second on, every panel is marked NO DATA, and the
    // readings that come when it goes on clear the marks at once.
    const auto stale = [&] {
        QString keys;
        for (const char* key : {"X", "Y", "Z"})
            keys += st.window().panels().panel(key)->isStale() ? key : "";
        return keys;
    };
    for (int round = 0; round < 2; ++round) {
        const long long before = st.tap().readings('Z');
        ASSERT_TRUE(QTest::qWaitFor([&] { return st.tap().readings('Z') >= before + 20; }, 3000));
        box_.signal(SIGSTOP);
        QElapsedTimer hung;
        hung.start();
        QTest::qWait(300);
        EXPECT_LT(st.window().controller().pendingInput().size(), 12u) << round;
        for (const char* key : {"X", "Y", "Z"}) {
            const double inch = (key[0] == 'Y' ? -1 : 1) * st.tap().average(key[0]);
            const QStringList shown = st.readouts(key).split(' ');  // mm, inch, dial
            EXPECT_NEAR(shown.value(0).toDouble(), inch * 25.4, 0.0051) << key << round;
            EXPECT_NEAR(shown.value(1).toDouble(), inch, 0.00051) << key << round;
            EXPECT_NEAR(shown.value(2).toDouble(), inch, 2e-5) << key << round;
        }
        if (round == 1) {
            const bool marked = QTest::qWaitFor([&] { return stale() == "XYZ"; }, 3000);
            EXPECT_TRUE(marked && hung.elapsed() >= 950 && hung.elapsed() < 1500) << hung.elapsed();
            box_.signal(SIGCONT);
            EXPECT_TRUE(QTest::qWaitFor([&] { return stale().isEmpty(); }, 200));
        }
        box_.signal(SIGCONT);
    }
}

TEST_F(EndToEnd, TheBoxIsToldItsCodesServesAgainAndIsWorkedByKeysLabelsAndTheEntryDialog) {
    Station& st = startOn(kStillXY + QStringList{"--verbose"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return st.tap().said("CY"); }, 2000));
    // The speed and type entries (hidden in the File menu) send their codes as raw bytes. The
    // box was identified twice at the open and again at each scale's connect message, and
    // asked for fast mode for each scale once it had a panel.
    for (const char* caption : {"&Slow", "&Fast", "&Hex ", "&Decimal", "&Auto"})
        for (QAction* a : st.window().findChildren<QAction*>())
            if (a->text() == caption) a->trigger();
    const auto commands = [&] {  // as the box read them, in however many pieces
        QString all;
        for (const QString& line : box_.log().split(u'\n'))
            if (line.contains(u"command ")) all += line.section(QStringLiteral("command "), 1).section(QStringLiteral(" -> "), 0, 0);
        return all;
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return commands().contains("S\\x1S\\x2V\\x0V\\x1V\\x2"); }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return box_.log().count("I0") >= 6; }) &&
                box_.log().count("I0") == 6);
    EXPECT_EQ(box_.log().count("S2"), 2);
    st.choosePort();  // unticked: the port closes, and the same box serves it chosen again
    ASSERT_EQ(st.waitFor(kGone), kGone);
    ASSERT_TRUE(QTest::qWaitFor([&] { return box_.log().contains("program closed its end"); }));
    EXPECT_FALSE(st.portTicked());
    st.choosePort();
    ASSERT_EQ(st.waitFor(kStill), kStill);
    EXPECT_EQ(box_.log().count("program opened its end"), 2);

    // Unplugged three times: the scales go with a notice, and come back when chosen again.
    for (int cycle = 0; cycle < 3; ++cycle) {
        box_.unplug();
        ASSERT_EQ(st.waitFor(kGone), kGone) << cycle;  // closed, unticked and said
        const auto* n = st.window().findChild<QMessageBox*>("portNotice");
        EXPECT_TRUE(n && n->isVisible() && !st.portTicked() && !st.window().link().isOpen());
        ASSERT_TRUE(box_.plug(kStillXY));
        st.choosePort();
        EXPECT_TRUE(st.portTicked()) << cycle;
        ASSERT_EQ(st.waitFor(kStill), kStill) << cycle;
    }
    EXPECT_EQ(st.window().findChildren<AxisPanel*>().size(), 2);  // never made again
    EXPECT_EQ(Settings().value("Comms", "port"), "Comm 1");

    const std::vector<Stroke> keypad = {fkey(10), fkey(11), fkey(5), fkey(12)};  // 0.5, end
    // X's and Y's readouts after each step, held while the box goes on sending.
    const std::tuple<const char*, std::vector<Stroke>, const char*, const char*> steps[] = {
        // Zero Absolute on X: "ZX" goes to the box, which zeroes the scale and answers "RX"; the
        // record starts again from zero and the readings that follow are 0: no climb back.
        {"F7 L1 F12", {}, "0.00 0.0000 0", "-25.40 -1.0000 -1"},
        {"F2", {}, "0.00 0.0000 0", "0.00 0.0000 0"},             // zero Y's relative reading
        {"F8 L2 F12", {}, "0.00 0.0000 0", "-25.40 -1.0000 -1"},  // ABS/Rel: Y absolute again
        {"F9 F2 F12", {}, "0.00 0.0000 0", "-50.80 -2.0000 -2"},  // X2: doubled
        {"F10 L2 F12", {}, "0.00 0.0000 0", "50.80 2.0000 2"},    // Fwd/Rev: counts the other way
        {"F8 F2 F12", {}, "0.00 0.0000 0", "0.00 0.0000 0"},  // relative: its zero kept its place
        // Set Position on X: a number typed into the entry dialog (Enter MM), then the keypad's
        // way (F10 F11 F5 type "0.5", F12 closes) with Enter Inch chosen by its label.
        {"F11 F7 F1", typed("30.5\r"), "30.50 1.2005 1.20079", "0.00 0.0000 0"},
        {"L8 L1 F12", keypad, "12.70 0.5000 0.5", "0.00 0.0000 0"},
    };
    for (const auto& [keys, typing, x, y] : steps) {
        if (!typing.empty()) answer(st.window().findChild<NumberEntryDialog*>(), typing);
        EXPECT_EQ(st.press(keys).waitFor({{"X", x}, {"Y", y}}), (Shown{{"X", x}, {"Y", y}}))
            << keys;
        EXPECT_EQ(st.watch({"X", "Y"}, 100), (Watched{{"X", {x}}, {"Y", {y}}})) << keys;
    }
    EXPECT_TRUE(st.tap().said("RX"));
    EXPECT_EQ(st.window().functionKeys().page(), FunctionKeys::Page::Main);
}

TEST_F(EndToEnd, LineNoiseAndACutMidMessageNeverShowAValueTheScalesDidNotSend) {
    const QStringList noise = {"--noise", "0.3", "--rate", "200", "--seed", "3"};
    const QStringList cut = {"--rate", "line", "--start-mode", "2", "--unplug-after", "2.5"};
    for (const QStringList& options : {noise, cut}) {
        SCOPED_TRACE(options.join(' ').toStdString());
        Station& st = startOn(kStillXY + options, options == noise);  // then remembered
        ASSERT_EQ(st.waitFor(kStill), kStill);
        // From here on every well-formed reading says the same: nothing else may show, until
        // the cut box vanishes; plugged in again, it is read afresh.
        EXPECT_EQ(st.watch({"X", "Y"}, 3000), kStillWatched);
        EXPECT_LE(st.window().controller().pendingInput().size(), ScaleController::kInputCap);
        if (options == noise) {
            EXPECT_GT(box_.unplug().section(' ', 5, 5).toInt(), 100);  // bytes of noise sent
            continue;
        }
        ASSERT_EQ(st.waitFor(kGone), kGone);
        ASSERT_TRUE(box_.plug(kStillXY));
        st.choosePort();
        ASSERT_EQ(st.waitFor(kStill), kStill);
        EXPECT_EQ(st.watch({"X", "Y"}, 500), kStillWatched);
    }
}

TEST_F(EndToEnd, ASettingsStoreThatCannotBeReadOrWrittenNeverStopsTheDisplay) {
    const QString folder =
        qEnvironmentVariable("XDG_CONFIG_HOME") + '/' + Settings::executableName();
    const QString file = folder + '/' + Settings::executableName() + ".conf";
    // Every case is reported once: the junk file is written over with good settings (so the
    // chosen port is remembered), but the store still says it met a fault on the way.
    const std::tuple<const char*, QString, QString, QByteArray, bool> cases[] = {
        {"the file is a folder", file, "", "", false},
        {"its folder is a file", "", folder, "not a folder", false},
        {"binary junk", folder, file, QByteArray("\0\xff[Comms\n\1port=\x80\x81", 18), true},
    };
    for (const auto& [name, makeFolder, writeFile, bytes, saved] : cases) {
        SCOPED_TRACE(name);
        QDir(folder).removeRecursively();
        QFile::remove(folder);
        QDir().mkpath(makeFolder);
        ASSERT_TRUE(writeFile.isEmpty() ||
                    std::ofstream(writeFile.toStdString()).write(bytes.data(), bytes.size()));
        errors_.script({ErrorAnswer::Ignore});
        Station& st = startOn(kStillXY, false);  // nothing readable is remembered: no port opened
        EXPECT_FALSE(st.window().link().isOpen());
        st.choosePort();
        ASSERT_EQ(st.waitFor(kStill), kStill);
        EXPECT_TRUE(st.portTicked());
        EXPECT_EQ(Settings().value("Comms", "port") == "Comm 1", saved);
        // The fault is said once, and the display goes on.
        ASSERT_EQ(errors_.reports().size(), 1u);
        EXPECT_NE(errors_.reports()[0].text().find("mnuComPort_Click"), std::string::npos);
        EXPECT_EQ(st.watch({"X", "Y"}, 200), kStillWatched);
        errors_.clearReports();
    }
}
