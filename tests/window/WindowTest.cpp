// The window layer: the main window with demo scales on a fake serial port, the serial link and
// its Comport menu, the port table, the settings store, the keypad, the pacing of the readouts
// and the error box. Tables have one row a line; the comment before a test says what its
// columns are. At 96 dpi (the test screen's) a pixel is 15 twips.
#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>
#include <complex>
#include <numbers>
#include <numeric>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/ioctl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>
#endif

#include "base/Twips.h"
#include "controls/AnalogueDial.h"
#include "controls/DigitalDial.h"
#include "panels/AxisPanel.h"
#include "panels/FunctionLabels.h"
#include "panels/HoleCircleDialog.h"
#include "panels/NumberEntryDialog.h"
#include "panels/PanelStack.h"
#include "scale/Scale.h"
#include "tests/support/DialogKeys.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/ScriptedPrompt.h"
#include "window/ClientArea.h"
#include "window/ComportMenu.h"
#include "window/ErrorMessageBox.h"
#include "window/MainWindow.h"
#include "window/PortKeypadSource.h"
#include "window/PortRefusal.h"
#include "window/QtSerialPort.h"
#ifndef Q_OS_WIN
#include "window/TerminalPort.h"
#endif
#include "window/SerialLink.h"
#include "window/Settings.h"
#include "window/ViewMenu.h"
#include "window/WindowPlacement.h"
#include "window/ZeroPointStore.h"

// Rectangles and sizes in failure messages.
inline std::ostream& operator<<(std::ostream& out, const QRect& r) {
    return out << r.x() << ',' << r.y() << ' ' << r.width() << 'x' << r.height();
}
inline std::ostream& operator<<(std::ostream& out, const QSize& s) {
    return out << s.width() << 'x' << s.height();
}

namespace gradel::testing {
namespace {

using namespace std::chrono_literals;
using Steps = std::vector<std::string>;

// Where an application's settings live; a folder put there makes the store unwritable.
QString settingsFile(const QString& app = Settings::executableName()) {
    return qEnvironmentVariable("XDG_CONFIG_HOME") + u'/' + app + u'/' + app + ".conf";
}

// The child of `parent` with this caption or object name (menu entries, buttons, notices).
template <class T>
T* named(const QObject& parent, const QString& name) {
    for (T* child : parent.findChildren<T*>())
        if (child->text() == name || child->objectName() == name) return child;
    return nullptr;
}

// A keypad that gives its codes one a poll, then no key.
struct ScriptedKeypad : KeypadSource {
    QStringList codes;
    uint8_t read() override { return codes.isEmpty() ? 0 : uint8_t(codes.takeFirst().toInt()); }
};

// A folder of by-id links, as the system keeps them: usb-A leads to /dev/null, usb-B to
// /dev/zero; "BY" in a row stands for its path.
QString byId(const QString& text = "BY") {
    static QTemporaryDir folder;
    static const bool made = QFile::link("/dev/null", folder.filePath("usb-A")) &&
                             QFile::link("/dev/zero", folder.filePath("usb-B"));
    return made ? QString(text).replace("BY", folder.path()) : "(no links)";
}

// The main window on a fake port whose ports are character devices the fake never opens, with
// a short identify pause and a scripted keypad. `remembered`: the port stored before start-up
// ("": none), with "@device" when a device is stored beside it; `box`: the simulated box's
// device, if any; `refused`: a device that will not open; `devices`: those of ports 1, 2, ...;
// `keepSettings`: start on the settings as the last window left them; `started`: the event loop
// has turned and the start's port is open and its box identified (as soon as a program runs).
struct RiggedWindow : MainWindow {
    FakeSerialPort* port = new FakeSerialPort;
    ScriptedKeypad* keypad = new ScriptedKeypad;

    explicit RiggedWindow(const QString& remembered = "", const QString& box = "",
                          const QString& devices = "/dev/null /dev/zero /dev/full",
                          const QString& refused = "", bool keepSettings = false,
                          bool started = true) {
        if (!keepSettings) QFile::remove(settingsFile());
        if (!remembered.isEmpty())
            Settings().setValue("Comms", "port", remembered.section('@', 0, 0));
        if (remembered.contains('@'))
            Settings().setValue("Comms", "device", byId(remembered.section('@', 1)));
        port->refused.insert(refused);
        setSerialPort(std::unique_ptr<SerialPort>(port), PortTable(devices.split(' '), byId()));
        link().setIdentifyPause(5ms);
        setKeypadSource(std::unique_ptr<KeypadSource>(keypad));
        if (!box.isEmpty()) useSimulatedBox(box);
        load();
        if (started) settle();
    }
    void settle() {  // until the start's port is open and the box asked twice
        QCoreApplication::processEvents();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !link().isIdentifying(); }));
    }
    void trigger(const QString& entry) { named<QAction>(*this, entry)->trigger(); }
    void choose(int i) { comportMenu()->entries().at(i)->trigger(); }
    void feed(const std::string& text) { controller().dataInput(text); }
    AxisPanel& panel(const QString& key) { return *panels().panel(key); }
    QString label() const { return functionLabels().caption(0); }
    QString ticked() const {
        QString out;
        for (QAction* entry : comportMenu()->entries())
            out += entry->isChecked() ? entry->text() : "";
        return out;
    }
    QString stored() const {  // the remembered port, "port@device"
        const QString device = Settings().value("Comms", "device");
        return Settings().value("Comms", "port") + (device.isEmpty() ? "" : '@' + device);
    }
};

// ---- The main window ----

// Rows: the remembered port@device | the simulated box's device | a device that will not open
// | ports chosen in the menu after start-up ("+": the device opens now) | the devices opened |
// the entry ticked | what is remembered at the end | a word of the notice ("": none; "~": a
// quiet note, never a box, for news that needs no answer). Comm 4 is
// not listed; 65539 is beyond 16 bits, which is no port (not port 3). The remembered device
// decides which port opens; its number is only taken when no device was stored. The simulator
// comes after the real ports and is never remembered, nor is a port that did not open.
TEST(MainWindow, StartUpOpensTheRememberedDeviceAndOnlyAnOpenedRealPortIsRemembered) {
    for (const QString row :
         {"|||||||", "0||||||0|", "Comm 3||||/dev/full|Comm 3|Comm 3|",
          "Comm 4||||||Comm 4|no such port", "Comm 65539||||||Comm 65539|",
          "Comm 2|/dev/ptmx|||/dev/ptmx|Comm 4|Comm 2|",
          "Comm 2|/dev/ptmx||2 4|/dev/ptmx /dev/zero /dev/ptmx|Comm 4|Comm 2@BY/usb-B|",
          "Comm 1@BY/usb-A|||2|/dev/null /dev/zero|Comm 2|Comm 2@BY/usb-B|",
          "Comm 1@BY/usb-B||||/dev/zero|Comm 2|Comm 2@BY/usb-B|~is Comm 2 now",
          "Comm 2@BY/usb-C||||||Comm 2@BY/usb-C|~is not there",
          "Comm 3@/dev/full||||/dev/full|Comm 3|Comm 3@/dev/full|",
          "Comm 2@/dev/zero||/dev/zero||||Comm 2@/dev/zero|/dev/zero",
          "Comm 1@/dev/null||/dev/zero|2|/dev/null||Comm 1@/dev/null|/dev/zero",
          "Comm 2@/dev/zero||/dev/zero|+ 2|/dev/zero|Comm 2|Comm 2@BY/usb-B|/dev/zero"}) {
        const QStringList c = row.split('|');
        RiggedWindow w(c[0], c[1], "/dev/null /dev/zero /dev/full", c[2]);
        for (const QString& choice : c[3].split(' ', Qt::SkipEmptyParts))
            choice == "+" ? w.port->refused.clear() : w.choose(choice.toInt() - 1);
        EXPECT_EQ(w.port->joined("open ", " "), c[4].toStdString()) << qPrintable(row);
        EXPECT_EQ(w.ticked(), c[5]) << qPrintable(row);
        EXPECT_EQ(w.stored(), byId(c[6])) << qPrintable(row);
        auto* notice = named<QMessageBox>(w, "portNotice");
        const bool quiet = c[7].startsWith('~');
        const QString said = quiet ? w.clientArea().note() : notice ? notice->text() : QString();
        EXPECT_EQ(!said.isEmpty() && said.contains(byId(c[7].mid(quiet ? 1 : 0))) &&
                      !(notice && notice->isModal()),
                  !c[7].isEmpty())
            << qPrintable(row);
        EXPECT_FALSE(quiet && notice) << qPrintable(row);
    }
}

// Rows: what comes while the box at the start waits to be asked again: nothing, Comm 2 chosen,
// Comm 1 (the open one) chosen, the box's connect message, the port failing and chosen again,
// five scales | the port's steps ("@dev": opened at the box's settings) | the window centred on
// the screen once five scales have come (in the first row after the wait). Nothing opens before
// the window shows; asking the box waits for nothing; the second "I0" goes only to the opening
// the first went to, never to a box being let go; scales reported while the box is first asked
// keep the window centred, as if they had been there when it appeared.
TEST(MainWindow, TheWindowShowsBeforeThePortOpensAndAskingTheBoxWaitsForNothing) {
    for (const QString row : {"|@null,I0,I0|0", "2|@null,I0,S0,close,@zero,I0,I0|",
                              "1|@null,I0,close|", "C|@null,I0,I0,I0,I0|",
                              "F|@null,I0,close,@null,I0,I0|", "5|@null,I0,S2,S2,S2,S2,S2,I0|1"}) {
        RiggedWindow w("Comm 1", "", "/dev/null /dev/zero /dev/full", "", false, false);
        w.link().setIdentifyPause(300ms);
        EXPECT_TRUE(w.port->steps.empty()) << qPrintable(row);
        w.show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return w.link().isOpen(); }) && w.link().isIdentifying());
        if (row[0] == 'F') w.port->pull("Input/output error");  // then chosen again
        row[0] == 'C' || row[0] == '5'
            ? w.port->feed(row[0] == 'C' ? "CX:" : "IA,2:IB,2:IX,2:IY,2:IZ,2:")
        : row[0] != '|' ? w.choose(std::max(0, row[0].digitValue() - 1))
                        : void();
        w.settle();
        const QString steps = QString::fromStdString(w.port->joined()).remove("write ");
        EXPECT_EQ(steps,
                  QString(row.section('|', 1, 1))
                      .replace(QRegularExpression("@(\\w+)"), "open /dev/\\1,dtr 0,rts 1,discard"))
            << qPrintable(row);
        if (row[0] == '|') w.port->feed("IA,2:IB,2:IX,2:IY,2:IZ,2:");
        const int off = w.frameGeometry().center().y() - w.screen()->geometry().center().y();
        EXPECT_TRUE(row.endsWith('|') || (std::abs(off) <= 1) == row.endsWith('1')) << off;
    }
}

// Notes what `note` says at each key press its object receives, "^" at each release.
struct KeySpy : QObject {
    std::function<QString()> note;
    QStringList seen;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::KeyPress) seen << note();
        if (e->type() == QEvent::KeyRelease) seen << "^";
        return false;
    }
};

// Plays keys on the window: "F7" is the key F7, "L7" a click on its label, "K11,7,0" the
// keypad's codes at successive polls of the window's timer (where the keypad's key goes is the
// window's business), "#3.25" has the next number entry typed 3.25 and Enter (none after an
// Escape), "X-01.0000" gives
// X nine readings; a single character is typed.
void play(RiggedWindow& w, const QString& keys) {
    for (const QString& t : keys.split(' ')) {
        const int n = t.mid(1).toInt();
        if (t[0] == 'F' && n) QTest::keyClick(&w, Qt::Key(Qt::Key_F1 + n - 1));
        if (t[0] == 'L') QTest::mouseClick(w.functionLabels().label(n - 1), Qt::LeftButton);
        // The keypad's keys go to the active window, which a closed dialog may still leave
        // empty while the window system counts the main window as active.
        // A dialog the keypad fills has a guard of its own, not what is left of a typed answer's.
        if (t[0] == 'K') answer(w.findChild<NumberEntryDialog*>(), {});
        if (t[0] == 'K' &&
            (w.isHidden() || QTest::qWaitFor([&] { return QApplication::activeWindow() == &w; })))
            w.keypad->codes = t.mid(1).split(',');
        EXPECT_TRUE(QTest::qWaitFor([&] { return w.keypad->codes.isEmpty(); }));
        if (t[0] == '#')
            answer(w.findChild<NumberEntryDialog*>(),
                   typed(qPrintable(t.mid(1) + (t.endsWith('\x1b') ? "" : "\r"))));
        if (t.size() == 1 && t[0] != '#') QTest::keyClicks(&w, t);
        for (int i = 0; t.size() > 1 && t[0] == 'X' && i < 9; ++i) w.feed(t.toStdString() + ':');
    }
}

// First rows: a key given to X's ABS button, which has the focus | what the button gets of it,
// with "" where the giving returned: the F1 label (less "X ") at the press (so the function keys
// had the key first), ^ at the release. É has no key code and returns to the main page. F9 takes
// one offset, not two. F10 is used up (as Fwd/Rev and as Read gradel). The keypad's key (K12,
// posted as its poll posts it) comes only once the posting has returned. Then rows: keys played |
// the F1 label after them, less "X " | X's millimetre readout, less "mm". Each row goes on from
// where the rows before it left the window. X starts at 1" absolute and 0.25" relative, Y
// (reversed) at 0.25"; neither sends another reading. F3: there is no third axis. L7 F1 asks the
// box to zero X and F10 F1 reverses it (both checked at the end). F12 opens the second page on the
// main page only, where function keys without a use keep it up and F12 or a character leave it.
// Y's reading is taken as shown (F11 F10 F2), doubled in X2 mode. The keypad enters 12.5 in the
// number entry (F10 is 0, F11 the point, F12 ends there) and then sets X with F1. A sum typed sets
// a negative reading. Set Position takes up to the farthest a box's count reaches, doubled (X2
// mode): 819.2" or 20807.68 mm, by sum too; a number beyond it is refused and the entry stays
// open until Escape, or on the keypad F12 again, cancels: F1 then sets the value from before.
// Backspace takes a character back; a comma is the point.
TEST(MainWindow, KeysReachTheFunctionKeysFirstAndOnceAndWorkTheAxes) {
    RiggedWindow w("Comm 1");
    w.feed("IX,0:IY,0:");
    for (int i = 0; i < 9; ++i) w.feed("X+01.0000:Y-00.2500:");
    w.controller().setRelativeInch("X", 0.25f);
    w.controller().update("X");
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QPushButton* abs = named<QPushButton>(w.panel("X"), "ABS");
    abs->setFocus();
    KeySpy spy;
    spy.note = [&] { return w.label().mid(2); };
    abs->installEventFilter(&spy);
    for (const QString row :
         {"F7|Zero Absolute|^|", "É|= Zero Relative|^|", "F7|Zero Absolute|^|", "F10|^|",
          "F11|=|^|", "F9|=2.00 mm|^|", "F10|^|", "K12||= Zero Relative|^"}) {
        if (row[0] != 'K') QTest::keyClick(abs, QKeySequence(row.section('|', 0, 0))[0].key());
        if (row[0] == 'K') KeypadPoll::postFunctionKey(12);
        spy.seen << "";
        QApplication::processEvents();
        EXPECT_EQ(std::exchange(spy.seen, {}).join('|'), row.section('|', 1));
    }
    w.port->takeWritten();
    for (const QString row : {"F3|= Zero Relative|6.35",
                              "L7 F1|Zero Absolute|6.35",
                              "F9 F1|*2 Diameter|12.70",
                              "F8 F1|Rel/Abs|50.80",
                              "F1 F9 F1|*2 Diameter|6.35",
                              "F10 F1|Fwd/Rev|6.35",
                              "F11 F9 F1|=-2.00 mm|-2.00",
                              "F9 F1|=5.00 mm|5.00",
                              "F9 F1|=-5.00 mm|-5.00",
                              "F9 F1|=2.00 mm|2.00",
                              "F10 F2 F1|=6.35mm|6.35",
                              "F12 F9 F2|*2 Diameter|6.35",
                              "F11 F10 F2 F1|=12.70mm|12.70",
                              "A|= Zero Relative|12.70",
                              "F8 5|= Zero Relative|12.70",
                              "F12 F9 F11 F10|= Half|12.70",
                              "F12|= Zero Relative|12.70",
                              "L12 L9 K15|= Half|12.70",
                              "5|= Zero Relative|12.70",
                              "F7 F12|= Zero Relative|12.70",
                              "F11 #3.25 F7 F1|=3.25 mm|3.25",
                              "#-12.7/2 F7 F1|=-6.35 mm|-6.35",
                              "K7,1,2,11,5,12,1,0|=12.5 mm|12.50",
                              "K7,9,8,9,8,9,12,0,12,1,0|=12.5 mm|12.50",
                              "#20807.68 F7 F1|=20807.68 mm|20807.68",
                              "#-819.2 F8 F1|=-819.2 \"|-20807.68",
                              "#20807.69\r\x1b F7 F1|=-819.2 \"|-20807.68",
                              "#819.2005\r\x1b F8 F1|=-819.2 \"|-20807.68",
                              "#123456789012345678901234\r\x1b F7|=-819.2 \"|-20807.68",
                              "#10000000000\r\x1b F7|=-819.2 \"|-20807.68",
                              "#20000+808\r\x1b F7|=-819.2 \"|-20807.68",
                              "#41615.36/2 F7 F1|=20807.68 mm|20807.68",
                              "#3.5\x1b F7 F1|=20807.68 mm|20807.68",
                              "#3.55\b F7 F1|=3.5 mm|3.50",
                              "#0012,70 F7 F1|=12.7 mm|12.70"}) {
        play(w, row.section('|', 0, 0));
        EXPECT_EQ(w.label().mid(2) + '|' + w.panel("X").mmReadout().reading().chopped(2),
                  row.section('|', 1));
    }
    EXPECT_EQ(w.port->takeWritten(), "ZX");
    EXPECT_TRUE(w.controller().scales().find("X")->isReversed());
}

// Rows: keys played | X's millimetre readout, less "mm" | X's frame caption | the F7 label. X
// starts at 1" with point 0 at the absolute zero. Half halves what X shows (doubled in X2 mode,
// negative readings too, the absolute reading while ABS is pressed) and keeps the page; a point
// never set is the absolute zero; F7 takes only a point's number, by key, label click or keypad.
// The points come back with the scale, and at the next start; while they keep changing they
// are written at most once per half second, and when the window closes.
TEST(MainWindow, SecondPageHalvesAndChoosesZeroPointsThatAreKept) {
    auto w = std::make_unique<RiggedWindow>();
    w->trigger("demoAdd0");
    play(*w, "X+01.0000");
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));  // the keypad's keys go to it
    auto seen = [&] {
        return w->panel("X").mmReadout().reading().chopped(2) + '|' + w->panel("X").title() + '|' +
               w->functionLabels().caption(6);
    };
    for (const QString row :
         {"F12 F1|12.70|X Axis|F7 Zero Point 0", "F1|6.35|X Axis|F7 Zero Point 0",
          "F12 F9 F1 F12 F12 F1|6.35|X Axis|F7 Zero Point 0",
          "F12 F9 F1 F12 F1 X-01.0000|-50.80|X Axis|F7 Zero Abs",
          "F12 F1 F1|-12.70|X Axis|F7 Zero Point 0", "#3 F7|-25.40|X Axis  P3|F7 Zero Point 3",
          "F12 F1 X+00.5000|38.10|X Axis  P3|F7 Zero Abs", "F12 #0 F7|25.40|X Axis|F7 Zero Point 0",
          "#12 F7 #2.5 F7|25.40|X Axis|F7 Zero Point 0", "#3\x1b F7|25.40|X Axis|F7 Zero Point 0",
          "#1+2 L7|38.10|X Axis  P3|F7 Zero Point 3", "K7,5,12,0|12.70|X Axis  P5|F7 Zero Point 5",
          "# F7 F1|6.35|X Axis  P5|F7 Zero Point 5",
          "F12 F1 F8 F1 F12|12.70|X Axis  P5|F7 Zero Abs",
          "F12 F1 F12 F8 F1 F12|6.35|X Axis  P5|F7 Zero Abs"}) {
        play(*w, row.section('|', 0, 0));
        EXPECT_EQ(seen(), row.section('|', 1));
    }
    w->trigger("demoRemove0");
    w->trigger("demoAdd0");
    play(*w, "X+00.5000");
    EXPECT_EQ(seen(), "6.35|X Axis  P5|F7 Zero Abs");
    play(*w, "F12 #4 F7 #3 F7");  // point 3 waits for half a second to pass...
    EXPECT_NE(Settings().value("ZeroPoints", "active"), "3");
    w->close();  // ...or for the window to close
    w = std::make_unique<RiggedWindow>("", "", "/dev/null", "", true);
    w->trigger("demoAdd0");
    play(*w, "X+00.5000 F12");
    EXPECT_EQ(seen(), "38.10|X Axis  P3|F7 Zero Point 3");
    // A store that cannot be written: only the first failure is reported, and a scale that
    // comes back still gets its points.
    ASSERT_TRUE(QFile::remove(settingsFile()) && QDir().mkpath(settingsFile()));
    ScopedPrompt errors;
    play(*w, "F1 F12 F1");
    w->trigger("demoRemove0");
    w->trigger("demoAdd0");
    play(*w, "X+00.5000");
    EXPECT_EQ(seen() + QString::number(errors.reports().size()), "0.00|X Axis  P3|F7 Zero Abs1");
    QDir(settingsFile()).removeRecursively();
    QSettings(Settings::executableName(), Settings::executableName()).clear();  // and its cache
}

// Rows: X's relative reading (inches) | the faults reported. A relative reading too far for the
// dial to scroll to (a settings file could hold any origin) comes with 102 readings, and with
// more while the prompt is up (its own event loop runs on): the dial reports it once.
TEST(MainWindow, ADialFaultOnEveryReadingIsReportedOnce) {
    for (const QString row : {"1e30|1", "4e12|1", "inf|1", "nan|1", "800|0"}) {
        RiggedWindow w;
        w.trigger("demoAdd0");
        ScopedPrompt errors;
        errors.meanwhile = [&] {
            for (int i = 0; i < 3; ++i) w.feed("X+01.0000:X+01.0005:");
        };
        w.controller().setRelativeInch("X", row.section('|', 0, 0).toFloat());
        for (int i = 0; i < 17; ++i, QCoreApplication::processEvents()) errors.meanwhile();
        EXPECT_EQ(QString::number(errors.reports().size()), row.section('|', 1)) << qPrintable(row);
    }
}

// Adj rows: the buttons held | pixels moved down | 2 in X2 mode | X's relative reading after
// the drag from 0.1". 10 px are 150 twips: 0.0015" with the left button, 0.015" with the right.
TEST(MainWindow, PanelsWorkTheirAdjAndCopyComeBackAsLeftAndGrowTheWindow) {
    RiggedWindow w;
    w.trigger("demoAdd0");
    w.show();
    AxisPanel* x = &w.panel("X");
    EXPECT_EQ(x->inchReadout().reading() + x->mmReadout().reading(), "0.0000\"0.00mm");
    QPushButton* adj = named<QPushButton>(*x, "Adj");
    for (const QString row : {"L -10 1 0.1015", "R -10 1 0.115", "L 10 1 0.0985", "LR -10 1 0.1",
                              "- -10 1 0.1", "L -10 2 0.1015"}) {
        QStringList c = row.split(' ');
        x->setTimesTwo(c[2] == "2");
        w.controller().setRelativeInch("X", 0.1f);
        w.controller().update("X");
        for (QChar b : c[0].remove('-')) QTest::mousePress(adj, Qt::MouseButton(b == 'L' ? 1 : 2));
        QTest::mouseMove(adj, adj->rect().center() + QPoint(0, c[1].toInt()));
        for (QChar b : c[0]) QTest::mouseRelease(adj, Qt::MouseButton(b == 'L' ? 1 : 2));
        EXPECT_NEAR(w.controller().relativeInch("X"), c[3].toFloat(), 1e-6) << qPrintable(row);
        EXPECT_NEAR(x->inchReadout().value(), c[2].toFloat() * c[3].toFloat(), 1e-6);
    }
    struct : Clipboard {
        QStringList log;
        void clear() override { log << "(cleared)"; }
        void setText(const QString& text) override { log << text; }
    } clipboard;
    w.setClipboard(clipboard);
    x->findChild<QMenu*>("mmMenu")->actions().first()->trigger();
    EXPECT_EQ(clipboard.log, (QStringList{"(cleared)", x->mmReadout().reading()}));

    w.trigger("demoAdd1");
    EXPECT_TRUE(w.port->steps.empty() && w.controller().scales().find("Y")->isReversed());
    play(w, "F8 F1 F10 F1");  // ABS and Rev; X2 is still on from Adj's last row
    w.feed("DX:IX,0:");
    EXPECT_TRUE(x->isVisible() && x->isAbsolute() && x->isTimesTwo() && x->isReversed());
    EXPECT_TRUE(w.controller().scales().find("X")->isReversed());  // the new record knows
    w.feed("IZ,0:");
    EXPECT_EQ(w.panels().keys(), (QStringList{"X", "Y", "Z"}));
    w.panels().hide("Y");  // as by a double click; its scale stays
    for (int i = 0; i < 9; ++i) w.feed("Y+00.7500:");
    EXPECT_FLOAT_EQ(w.panel("Y").inchReadout().value(), -0.75f);

    w.controller().removeAll();
    const int normal = w.height();
    // Never past the screen: 23 panels make the layout smaller instead.
    const QRect screen = w.screen()->availableGeometry();
    for (int n : {4, 5, 6, 23}) {
        for (char k : std::string("UVWXYZABEFGHJKLMNOPQST0").substr(0, n)) w.feed({'I', k, ':'});
        EXPECT_TRUE(QTest::qWaitFor([&] { return (w.height() > normal) == (n > 4); })) << n;
        EXPECT_TRUE(screen.contains(w.frameGeometry())) << n;
        EXPECT_TRUE(n == 23 || w.clientArea().size() == w.clientArea().designSize(1)) << n;
        EXPECT_TRUE(w.rect().contains(w.panels().mapTo(&w, QPoint(0, w.panels().height() - 1))));
        w.controller().removeAll();
        EXPECT_TRUE(QTest::qWaitFor([&] { return w.height() == normal; })) << n;
    }
}

// Rows: the time on the window's clock in ms | what comes before the timer's next tick: "X"
// a reading of X, "!X" a showing of X with no reading (a key press), "X2" X's info with mode 2,
// "-X" X's disconnection | the marked panels at once | and after the tick. X streams, W streams
// slowly, Z is polled until told to stream, Y is the demo's. A live panel looks as it did before.
TEST(MainWindow, PanelsOfSilentStreamingScalesAreMarkedUntilTheirNextReading) {
    RiggedWindow w;
    std::chrono::milliseconds now{0};
    w.setClock([&] { return StaleWatch::Clock::time_point(now); });
    w.feed("IX,2:IW,1:IZ,0:");
    w.trigger("demoAdd1");
    w.show();
    const QImage x = w.panel("X").grab().toImage(), wLook = w.panel("W").grab().toImage();
    const auto stale = [&] {
        QString keys;
        for (const QString& k : w.panels().keys()) keys += w.panel(k).isStale() ? k : "";
        return keys;
    };
    for (const QString row :
         {"0|X W||", "900|W||", "1000|W||X", "1050|!X W|X|X", "1100|X||", "2100|W Z2||X",
          "3100|W|X|XZ", "3200|-X W|Z|Z", "3300|X2 W|Z|Z", "4300|W|Z|XZ", "9000||XZ|WXZ"}) {
        const QStringList c = row.split('|');
        now = std::chrono::milliseconds(c[0].toInt());
        for (const QString& a : c[1].split(' ', Qt::SkipEmptyParts)) {
            const std::string key = a.mid(a[0] == '!' || a[0] == '-', 1).toStdString();
            if (a[0] == '!') w.controller().update(key);
            if (a[0] == '-') w.feed("D" + key + ":");
            if (a[0] != '!' && a[0] != '-')
                w.feed(a.size() > 1 ? "I" + key + ",2:" : key + "+00.0000:");
        }
        EXPECT_EQ(stale(), c[2]) << qPrintable(row);
        play(w, "K0");
        EXPECT_EQ(stale(), c[3]) << qPrintable(row);
        for (const auto& [key, look] : {std::pair{"X", x}, {"W", wLook}})
            EXPECT_EQ(w.panel(key).grab().toImage() == look, !c[3].contains(key))
                << qPrintable(row);
    }
}

// ---- The window's size and view ----

// What the operator sees of the client area: the labels, and each shown panel's letter,
// readouts and buttons, in the client's coordinates.
std::vector<std::pair<QWidget*, QRect>> parts(MainWindow& w) {
    std::vector<std::pair<QWidget*, QRect>> found;
    QWidget& client = w.clientArea();
    for (QWidget* part : client.findChildren<QWidget*>()) {
        const bool leaf = qobject_cast<QLabel*>(part) || qobject_cast<QPushButton*>(part) ||
                          qobject_cast<DigitalDial*>(part) || qobject_cast<AnalogueDial*>(part);
        if (leaf && part->isVisibleTo(&client))
            found.emplace_back(part, QRect(part->mapTo(&client, QPoint()), part->size()));
    }
    return found;
}

// The rows where a readout grabbed from the screen has ink, and whether the ink keeps off its
// left edge (a number cut off there would be a wrong number).
std::pair<int, bool> ink(const QWidget& readout) {
    const QImage image = const_cast<QWidget&>(readout).grab().toImage();
    int top = image.height(), bottom = -1;
    bool clear = true;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                clear = clear && x > 0;
            }
    return {bottom - top + 1, clear};
}

bool inPanel(const QWidget* part) {
    for (; part; part = part->parentWidget())
        if (qobject_cast<const AxisPanel*>(part)) return true;
    return false;
}

void resizeClient(MainWindow& w, QSize size) {
    w.resize(size.width(), size.height() + w.menuBar()->height());
    QApplication::processEvents();
    ASSERT_EQ(w.clientArea().size(), size);
}

// Sizes of the client area: the layout's, 1.5 and 2 times, wide, tall, the smallest; at each,
// every view of the readouts. Nothing overlaps or leaves the window; each part is its design
// place zoomed (within a pixel's rounding), measured from the panel or label column it stands
// in, the panels' parts by the panels' own zoom, larger where they took spare width; the layout
// fills the width or the height and the spare room is shared evenly; the "to go" mark is lettered
// as large as the buttons beside it; a reading of -20,802.60 mm (about the farthest a box reports,
// in X2) shows whole in every readout. At the layout's size the panels and columns stand where
// their twips put them.
TEST(ClientArea, ScalesTheWholeDesignUniformlyToAnySize) {
    RiggedWindow w;
    w.feed("IZ,0:IX,0:IY,0:");  // the panels stand in key order
    w.show();
    for (const char* key : {"X", "Y", "Z"}) w.panel(key).showPosition(-819, -819);  // -20802.60 mm
    w.panel("Y").setTarget(0.0f);  // marked "to go"
    const auto* toGo = w.panel("Y").findChild<QLabel*>("toGo");
    const auto* reset = named<QPushButton>(w.panel("Y"), "Reset Rel");
    const QSize design = w.clientArea().designSize(1);
    for (const char* view : {"100", "010", "001", "110", "101", "011", "111"}) {
        w.panels().setReadoutsShown(view[0] == '1', view[1] == '1', view[2] == '1');
        resizeClient(w, design);
        std::map<QWidget*, QRect> atDesign;
        for (const auto& [part, r] : parts(w)) atDesign[part] = part->geometry();
        for (QSize size : {design, design * 1.5, design * 2, QSize(1400, 440), QSize(634, 1000),
                           w.clientArea().minimumSize()}) {
            resizeClient(w, size);
            const double zoom = w.clientArea().zoom();
            const double panelZoom = w.clientArea().panelZoom();
            const auto seen = parts(w);
            // A window much wider than the layout gives its spare width to the panels.
            if (size.width() * design.height() > 2 * size.height() * design.width()) {
                EXPECT_GT(panelZoom, zoom * 1.1) << size;
            }
            for (auto a = seen.begin(); a != seen.end(); ++a) {
                EXPECT_TRUE(QRect(QPoint(), size).contains(a->second)) << view << a->second;
                for (auto b = a + 1; b != seen.end(); ++b)
                    EXPECT_FALSE(a->second.intersects(b->second)) << view << a->second << b->second;
                const QRect was = atDesign.at(a->first), is = a->first->geometry();
                for (auto [now, then] : {std::pair{is.left(), was.left()},
                                         {is.top(), was.top()},
                                         {is.right() + 1, was.right() + 1},
                                         {is.bottom() + 1, was.bottom() + 1}})
                    EXPECT_NEAR(now, then * (inPanel(a->first) ? panelZoom : zoom), 1.0)
                        << view << size << zoom;
            }
            const QRect left = w.functionLabels().label(0)->parentWidget()->geometry();
            const QRect right = w.functionLabels().label(6)->parentWidget()->geometry();
            const int spareX = size.width() - (right.right() - left.left() + 1);
            const int spareY = size.height() - w.clientArea().designSize(zoom).height();
            EXPECT_TRUE(spareX <= 1 || spareY <= 1) << size;
            EXPECT_EQ(toGo->font().pointSizeF(), reset->font().pointSizeF()) << size;
            EXPECT_NEAR(left.left(), spareX / 2.0, 1) << size;
            EXPECT_NEAR(left.top(), spareY / 2.0, 1) << size;
            for (const char* key : {"X", "Z"})
                for (const DigitalDial* r :
                     {&w.panel(key).mmReadout(), &w.panel(key).inchReadout()})
                    EXPECT_TRUE(!r->isVisible() || ink(*r).second)
                        << view << size << qPrintable(r->text());
        }
    }
    resizeClient(w, design);
    EXPECT_EQ(w.panels().pos(), QPoint(Twips::toPx(ClientArea::kPanelColumnLeft), 0));
    EXPECT_EQ(w.panel("Y").geometry(),
              Twips::toPx(0, AxisPanel::kHeight, AxisPanel::kWidth, AxisPanel::kHeight));
    EXPECT_EQ(w.functionLabels().label(6)->parentWidget()->x(),
              Twips::toPx(FunctionLabels::kRightColumn));
}

// Rows: the View entry chosen (m, I, A) | the ticks after it | how many times the layout's
// the millimetre digits are, at least. The last ticked entry stays. Every panel, also one made
// later, shows just the ticked readouts, and those take all the room the three had. The ticks
// come back at the next start; the port's entry in the settings stays as it was.
TEST(ViewMenu, TicksChooseTheReadoutsOfEveryPanelWhichTakeTheFreedRoom) {
    auto w = std::make_unique<RiggedWindow>("Comm 2");
    w->feed("IX,0:IY,0:");
    w->show();
    const auto area = [](const QWidget& r) { return r.isVisible() ? r.width() * r.height() : 0; };
    const AxisPanel& x = w->panel("X");
    const int designArea = area(x.mmReadout()) + area(x.inchReadout()) + area(x.dial());
    const int designDigits = ink(x.mmReadout()).first;
    for (const QString row : {"I|101|1", "A|100|2", "m|100|2", "I|110|1.1", "m|010|1", "A|011|1",
                              "I|001|1", "A|001|1", "m|101|1", "I|111|1"}) {
        w->viewMenu().entry(int(QString("mIA").indexOf(row[0])))->trigger();
        w->feed("IW,0:");
        for (const char* key : {"W", "X", "Y"}) {
            const AxisPanel& p = w->panel(key);
            const QString shown = QString("%1%2%3")
                                      .arg(p.mmReadout().isVisible())
                                      .arg(p.inchReadout().isVisible())
                                      .arg(p.dial().isVisible());
            EXPECT_EQ(shown, row.section('|', 1, 1)) << key << qPrintable(row);
            EXPECT_GE(area(p.mmReadout()) + area(p.inchReadout()) + area(p.dial()), designArea);
        }
        const int digits = row[2] == '1' ? ink(x.mmReadout()).first : designDigits;
        EXPECT_GE(digits, row.section('|', 2).toDouble() * designDigits) << qPrintable(row);
        w->controller().dataInput("DW:");
    }
    w->viewMenu().entry(1)->trigger();
    w.reset();
    RiggedWindow again("", "", "/dev/null", "", true);
    again.feed("IX,0:");
    EXPECT_FALSE(again.panel("X").inchReadout().isVisibleTo(&again.panel("X")));
    EXPECT_FALSE(again.viewMenu().isShown(1));
    EXPECT_EQ(Settings().value("Comms", "port"), "Comm 2");
}

// Rows: what is done: hK a double click on K's frame, "all" View -> Show All Panels, -K K's
// scale goes, +K it comes | the listed panels | Show All Panels can be
// chosen. A panel comes back in its own place with its buttons as they were and its axis key;
// one whose scale went stays away until the scale comes again.
TEST(ViewMenu, ShowAllPanelsBringsBackTheHiddenPanelsOfScalesThatAreThere) {
    RiggedWindow w;
    w.feed("IZ,0:IX,0:IY,0:");  // the panels stand in key order
    w.show();
    AxisPanel& y = w.panel("Y");
    y.setAbsolute(true);
    y.setTimesTwo(true);
    for (const QString row :
         {"hY|X Z|1", "hX|Z|1", "all|X Y Z|0", "hZ|X Y|1", "-Z|X Y|0", "hY all|X Y|0",
          "+Z hY|X Z|1", "-Y +Y|X Y Z|0", "hX hY hZ||1", "all|X Y Z|0"}) {
        for (const QString& a : row.section('|', 0, 0).split(' ')) {
            if (a[0] == 'h')
                QTest::mouseDClick(&w.panel(a.right(1)), Qt::LeftButton, {}, QPoint(2, 40));
            if (a == "all") w.trigger("showAllPanels");
            if (a[0] == '-' || a[0] == '+')
                w.feed((a[0] == '-' ? "D" : "I") + a.toStdString().substr(1) + ":");
        }
        const QStringList keys = w.panels().keys();
        EXPECT_EQ(keys.join(' '), row.section('|', 1, 1));
        EXPECT_EQ(w.viewMenu().showAllPanelsEntry()->isEnabled(), row.endsWith('1'))
            << qPrintable(row);
        for (const AxisPanel* p : w.panels().findChildren<AxisPanel*>())
            EXPECT_EQ(p->isVisible() ? p->y() : -y.height(), keys.indexOf(p->key()) * y.height())
                << qPrintable(row);
        EXPECT_EQ(w.panels().height(), keys.size() * y.height()) << qPrintable(row);
    }
    w.controller().setRelativeInch("Y", 0.3f);
    play(w, "F2");
    EXPECT_TRUE(y.isAbsolute() && y.isTimesTwo() && w.controller().relativeInch("Y") == 0);
}

// keptOn rows: the window's frame on an 800 x 600 screen | where it goes. Then a window closed at
// a size and place, and closed in full screen, comes back so; Ctrl+Shift+F fills the screen
// and toggles back.
TEST(WindowPlacement, RemembersTheWindowKeepsItOnTheScreenAndTogglesFullScreen) {
    const QRect area(0, 0, 800, 600);
    for (auto [frame, kept] : {std::pair{QRect(10, 10, 100, 100), QRect(10, 10, 100, 100)},
                               {QRect(700, 550, 200, 100), QRect(600, 500, 200, 100)},
                               {QRect(-50, -20, 100, 100), QRect(0, 0, 100, 100)},
                               {QRect(0, 0, 1000, 700), area}})
        EXPECT_EQ(WindowPlacement::keptOn(frame, area), kept) << frame;
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect placed(30, 40, 700, 500);
    {
        RiggedWindow w;
        w.show();
        w.setGeometry(placed);
        w.close();
    }
    for (int round = 0; round < 2; ++round) {
        RiggedWindow w("", "", "/dev/null", "", true);
        w.show();
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        EXPECT_EQ(w.isFullScreen(), round == 1);
        EXPECT_EQ(w.geometry(), round == 1 ? screen : placed);
        if (round == 1) {
            QTest::keyClick(&w, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
            EXPECT_EQ(w.geometry(), placed);
        }
        QTest::keyClick(&w, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_TRUE(w.isFullScreen());
        EXPECT_EQ(w.geometry(), screen);
        EXPECT_GT(w.clientArea().zoom(), 1);
        w.close();
    }
    // A place beyond the screen (a larger screen's) comes back on it.
    Settings().setValue("Window", "geometry", "3000,2000,900,700");
    Settings().setValue("Window", "state", "normal");
    RiggedWindow w("", "", "/dev/null", "", true);
    w.show();
    EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(w.geometry()));
}

// Rows for the clear-to-send line, read at the window's timer: the line (? unknown) | the
// scales left | what is sent. Unknown never acts. Then the hidden Speed and Type entries, with
// the port open and after it failed.
TEST(MainWindow, TheBoxGetsItsCommandsAndItsTextAndLinesReachTheScales) {
    RiggedWindow w("Comm 3");
    w.port->takeWritten();
    w.port->onWrite = [&](auto text) {  // fast mode only once the scale's panel is there
        EXPECT_TRUE(text != "S2" || w.panels().keys().size() == w.controller().scales().count());
    };
    w.trigger("demoAdd0");
    w.settle();
    EXPECT_EQ(w.port->takeWritten(), "I0S2I0");
    // The box's connect message has the window identify it; an info message that comes during
    // the pause is acted on then (its scale asks for fast mode between the two I0).
    QTimer::singleShot(1, [&] { w.port->feed("IY,0:"); });
    w.port->feed("CY:");
    w.settle();
    EXPECT_EQ(w.port->takeWritten(), "I0S2I0");
    w.port->feed(QByteArray("\r\nX\0+01\n", 8));
    EXPECT_EQ(w.controller().pendingInput(), std::string("\r\nX\0+01\n", 8));
    for (const QString row : {"1 2 ", "? 2 ", "0 0 ", "1 0 I0I0"}) {
        w.port->cts = row[0] == '?' ? std::nullopt : std::optional(row[0] == '1');
        play(w, "K0");  // one tick of the window's timer
        w.settle();
        EXPECT_EQ(w.controller().scales().count(), row[2].digitValue()) << qPrintable(row);
        EXPECT_EQ(w.port->takeWritten(), row.mid(4).toStdString()) << qPrintable(row);
    }
    w.trigger("demoAdd0");
    w.port->takeWritten();
    for (const std::string& sent : {std::string("S\1S\2V\0V\1V\2", 10), std::string()}) {
        for (const char* entry : {"&Slow", "&Fast", "&Hex ", "&Decimal", "&Auto"}) w.trigger(entry);
        EXPECT_EQ(w.port->takeWritten(), sent);
        w.port->pull("Input/output error");
    }
    EXPECT_EQ(w.ticked() + QString::number(w.controller().scales().count()), "0");
    auto* notice = named<QMessageBox>(w, "portNotice");
    EXPECT_TRUE(notice->isVisible() && !notice->isModal() && notice->text().contains("/dev/full"));
    w.choose(2);
    EXPECT_EQ(w.ticked(), w.link().isOpen() ? "Comm 3" : "(closed)");
    w.port->takeWritten();
    w.trigger("exit");
    EXPECT_EQ(w.port->log(), Steps{"close"});
}

// Rows: holes, diameter, start angle, centre on X and Y as shown (mm), where X and Y stand (mm),
// 2 for X2 mode on X. F12 F8 asks for the circle, typed with Tab between the fields and Enter
// (the example's by the function keys alone); F7 goes round it and on to hole 1 again, then
// F8 back to the last hole. At each, both panels are marked "to go" and show where the axis
// stands less the hole, found by turning hole 1 about the centre, doubled in X2 mode (where the
// centre typed is doubled too); the X2 row clicks the labels L12 L8 and L7 instead. F12 brings
// the readings back. The first row is the operator's example: hole 1 reads X -25.40 mm,
// Y 0.00 mm, hole 2 X 0.00 mm, Y -25.40 mm; a scale that connects meanwhile leaves the circle up.
TEST(MainWindow, HoleCircleLeadsRoundTheHolesWithTheDistanceToGo) {
    RiggedWindow w;
    w.trigger("demoAdd0");
    w.trigger("demoAdd1");
    auto* dialog = w.findChild<HoleCircleDialog*>();
    const auto panels = [&] {  // the readouts and the marks
        QString out;
        for (const char* key : {"X", "Y"})
            out += w.panel(key).mmReadout().reading() +
                   (w.panel(key).findChild<QLabel*>("toGo")->isHidden() ? " " : " to go ");
        return out;
    };
    const QStringList exampleReads = {"-25.40mm to go 0.00mm to go ",
                                      "0.00mm to go -25.40mm to go "};
    const double pi = std::numbers::pi;
    for (const QString row : {"4 50.8 0 0 0 0 0 1", "6 40 30 10 -5 3 4 1", "5 20 -90 0 0 -7 0 1",
                              "3 12.7 45 -20 7.5 -20 7.5 1", "8 100 22.5 10 5 1 2 2"}) {
        std::vector<double> n;
        for (const QString& number : row.split(' ')) n.push_back(number.toDouble());
        const int holes = int(n[0]);
        const bool example = row == "4 50.8 0 0 0 0 0 1";
        w.panel("X").setTimesTwo(n[7] == 2);
        w.controller().setRelativeInch("X", float(n[5] / 25.4));
        w.controller().setRelativeInch("Y", float(n[6] / 25.4));
        for (const char* key : {"X", "Y"}) w.controller().update(key);
        const QString standing = panels();
        const QString fields = row.section(' ', 0, 4).replace(' ', '\t') + "\t\t\r";
        answer(dialog, example ? strokes("F4 F12 F5 F10 F11 F8 F12 F12 F12 F12 F12 F12")
                               : typed(qPrintable(fields)));
        play(w, n[7] == 2 ? "L12 L8" : "F12 F8");
        w.feed(example ? "IZ,0:" : "");
        const std::complex<double> centre(n[3] / n[7], n[4]);
        const auto first = std::polar(n[1] / 2, n[2] * pi / 180);
        for (int v = 0; v <= holes + 1; ++v) {
            if (v > 0) play(w, v <= holes ? (n[7] == 2 ? "L7" : "F7") : "F8");
            const int k = v <= holes ? v % holes : holes - 1;
            const auto hole = centre + first * std::polar(1.0, 2 * pi * k / holes);
            EXPECT_NEAR(w.panel("X").mmReadout().value(), n[7] * (n[5] - hole.real()), 2e-3) << v;
            EXPECT_NEAR(w.panel("Y").mmReadout().value(), n[6] - hole.imag(), 2e-3) << v;
            EXPECT_EQ(w.functionLabels().caption(10) + QString::number(panels().count("to go")),
                      QString("Hole %1/%2").arg(k + 1).arg(holes) + "2");
            EXPECT_TRUE(!example || v > 1 || panels() == exampleReads[v]);
        }
        play(w, "F12");
        EXPECT_EQ(w.label() + panels(), "X = Zero Relative" + standing) << qPrintable(row);
    }
    // A circle with no holes is refused in the dialog, which is cancelled: "Menu (2)" is up.
    QString refused;
    answer(dialog, strokes("F12 F12 F12 F12 F12 F12 F12 \x1b"),
           [&] { refused = dialog->message(); });
    play(w, "F12 F8");
    EXPECT_TRUE(refused.startsWith("Holes") && w.functionLabels().caption(11) == "F12 Menu (2)");
    // With one scale there is no circle to ask for: F8 opens nothing, so an operator with only
    // the keypad (no Escape) is never caught in a dialog that refuses every answer.
    w.trigger("demoRemove1");
    w.feed("DZ:");
    bool opened = false;
    QTimer::singleShot(0, dialog, [&] {
        opened = dialog->isVisible();
        dialog->reject();
    });
    play(w, "F12 F8");
    QCoreApplication::processEvents();
    EXPECT_EQ(w.functionLabels().caption(11) + (opened ? " and a dialog" : ""), "F12 Menu (2)");
}

// ---- The serial link and its Comport menu ----

// Rows: the devices of ports 1, 2, … | the menu's entries with their tips (a device's by-id
// link first). Listing opens nothing.
TEST(ComportMenu, ListsThePortsThatExistAndChoosingAnEntryOpensSwitchesOrClosesItsPort) {
    for (const QString row : {"/x/1 /x/2 /x/3 /dev/full|Comm 4 /dev/full",
                              "/x/1|No serial port found No serial port found",
                              "/dev/null /x/2 /dev/zero /x/4 /dev/full|Comm 1 BY/usb-A (/dev/null) "
                              "Comm 3 BY/usb-B (/dev/zero) Comm 5 /dev/full"}) {
        RiggedWindow w("", "", row.section('|', 0, 0));
        QStringList entries;
        for (QAction* a : named<QAction>(*w.menuBar(), "&Comport")->menu()->actions())
            entries << a->text() << a->toolTip();
        EXPECT_EQ(entries.join(' ').replace(byId(), "BY"), row.section('|', 1));
        EXPECT_TRUE(w.port->steps.empty());
    }
    // A store that cannot be written takes nothing from the choice: the port opens (identified
    // with the box's own pause, measured once) and the fault is reported once.
    RiggedWindow w("", "", "/dev/null /x/2 /dev/zero /dev/full");
    ScopedPrompt prompt;
    ASSERT_TRUE(QDir().mkpath(settingsFile()));
    w.link().setIdentifyPause(1000ms);
    w.choose(0);
    w.settle();
    QDir(settingsFile()).removeRecursively();
    const std::vector<qint64> at = w.port->times("write I0");
    EXPECT_TRUE(at.size() == 2 && at[1] - at[0] >= 1000 && at[1] - at[0] < 1500);
    ASSERT_EQ(prompt.reports().size(), 1u);
    const ErrorReport& report = prompt.reports()[0];
    EXPECT_EQ(report.module + "." + report.procedure + std::to_string(faultNumber(report.fault)),
              "frmGradel.mnuComPort_Click75");
    w.link().setIdentifyPause(5ms);
    w.port->pendingOutput = 2;
    w.choose(1);  // another: poll mode, drain, close, open
    w.settle();
    EXPECT_EQ(Settings().value("Comms", "port") + w.ticked(), "Comm 3Comm 3");
    w.choose(1);  // the ticked one: closed, nothing sent
    EXPECT_EQ(w.port->log(), (Steps{"open /dev/null", "dtr 0", "rts 1", "discard", "write I0",
                                    "write I0", "write S0", "drained", "close", "open /dev/zero",
                                    "dtr 0", "rts 1", "discard", "write I0", "write I0", "close"}));
    EXPECT_EQ(w.ticked(), "");
    // Rows: what comes while a switch to Comm 3 waits for a stuck Comm 1 to drain: the window
    // closes (c), Comm 3 is chosen again (1), Comm 4 is chosen (2) | the steps | the tick. Comm 3
    // again calls the switch off; Comm 4 takes it over, and the drain leaves Comm 4 open.
    w.port->jam();
    w.link().setDrainLimit(100ms);
    for (const QString row : {"c|write S0,close|", "1|write S0,close|",
                              "2|write S0,write S0,close,open /dev/full,dtr 0,"
                              "rts 1,discard,write I0,write I0|Comm 4"}) {
        w.choose(0);
        w.port->steps.clear();
        QTimer::singleShot(
            30, &w, [&] { row[0] == 'c' ? void(w.close()) : w.choose(row[0].digitValue()); });
        w.choose(1);
        w.settle();
        EXPECT_EQ(QString::fromStdString(w.port->joined()), row.section('|', 1, 1));
        EXPECT_EQ(w.ticked(), row.section('|', 2)) << qPrintable(row);
    }
    // Rows: why a port would not open (- no such device, p no permission, u in use, with the
    // holder's process and program) | what the notice says | it gives the dialout hint (the
    // device is root's). Qt's reason (it looks at the lock first) would mislead either way.
    for (const QString row :
         {"-|Comm 3 (/dev/zero) could not be opened: No such file or directory.|0",
          "p|Comm 3 (/dev/zero) could not be opened: Permission denied. You are not allowed|1",
          "u 1234 Gradel|Comm 3 (/dev/zero) is in use by another program (Gradel, process 1234)|0",
          "u 1234|Comm 3 (/dev/zero) is in use by another program (unnamed, process 1234)|0",
          "u|Comm 3 (/dev/zero) is in use by another program. Close it there|0",
          "p 77 cu|log in again. It is also in use by another program (cu, process 77).|1"}) {
        const QStringList why = row.section('|', 0, 0).split(' ');
        w.port->refused.insert("/dev/zero");
        w.port->refusedAs = PortRefusal(PortRefusal::Cause(QString("-pu").indexOf(why[0])),
                                        why.value(1).toLongLong(), why.value(2));
        w.choose(1);
        const QString text = named<QMessageBox>(w, "portNotice")->text();
        EXPECT_TRUE(w.ticked().isEmpty() && !w.link().isOpen());
        EXPECT_TRUE(text.contains(row.section('|', 1, 1))) << qPrintable(text);
        EXPECT_EQ(text.contains("dialout"), row.endsWith('1')) << qPrintable(text);
    }
    // The drain ends at its limit when the port is stuck; the window may go during either wait.
    w.choose(0);
    w.link().setDrainLimit(300ms);
    w.link().closeAfterPoll();
    const qint64 waited = w.port->times("close").back() - w.port->times("write S0").back();
    EXPECT_TRUE(waited >= 300 && waited < 1000) << waited;
    for (bool drain : {false, true}) {
        auto* doomed = new RiggedWindow("Comm 1");
        doomed->link().setIdentifyPause(5000ms);
        doomed->port->jam();
        const QPointer<RiggedWindow> gone(doomed);
        QTimer::singleShot(20, [doomed] { delete doomed; });
        const QDeadlineTimer deadline(1000);
        drain ? doomed->link().closeAfterPoll() : doomed->link().identifyBox();
        EXPECT_FALSE(deadline.hasExpired()) << drain;
        EXPECT_TRUE(QTest::qWaitFor([&] { return gone.isNull(); })) << drain;
    }
}

// Only character devices, and only up to port 16 (the simulated box aside), are ports.
TEST(PortTable, NaturalOrderThePinnedListPortOneAndWhichPortsExist) {
    QStringList devices =
        QString("/dev/ttyS10 /dev/ttyUSB0 /dev/ttyS2 /dev/ttyACM0 /dev/ttyS").split(' ');
    std::sort(devices.begin(), devices.end(), &PortTable::naturalLess);
    EXPECT_EQ(devices.join(' '), "/dev/ttyACM0 /dev/ttyS /dev/ttyS2 /dev/ttyS10 /dev/ttyUSB0");
    qputenv("GRADEL_PORTS", "/dev/serial/by-id/box::/dev/pts/7:");
    PortTable pinned = PortTable::fromSystem();
    qunsetenv("GRADEL_PORTS");
    EXPECT_EQ(pinned.addSimulated("/dev/pts/9"), 3);
    EXPECT_EQ(pinned.devices().join(' '), "/dev/serial/by-id/box /dev/pts/7 /dev/pts/9");
    devices = QString("/dev/null /nonexistent /etc/passwd /tmp").split(' ');
    while (devices.size() < 17) devices << "/dev/null";
    PortTable table(devices);
    table.addSimulated("/dev/null");  // the simulated box may be beyond 16
    for (int n : {-1, 0, 1, 2, 3, 4, 16, 17, 18})
        EXPECT_EQ(table.portExists(n), n == 1 || n == 16 || n == 18) << n;
}

// ---- The platform ----

#ifndef Q_OS_WIN
// The line as the box expects it, read back from the other side of a real pseudo-terminal
// (on Linux the master side reports the settings of the terminal the program opened), for the
// program's own port and for Qt's.
template <class Port>
void opensTheBoxLine() {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_TRUE(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
    const QString device = QString::fromLocal8Bit(::ptsname(master));
    Port port;
    ASSERT_TRUE(port.open(device));
    termios t{};
    ASSERT_EQ(::tcgetattr(master, &t), 0);
    // clang-format off
    const std::pair<const char*, bool> checks[] = {
        {"115200 baud", cfgetospeed(&t) == B115200 && cfgetispeed(&t) == B115200},
        {"8N1", (t.c_cflag & (CSIZE | PARENB | CSTOPB)) == CS8}, {"receiving", (t.c_cflag & CREAD) != 0},
        {"no RTS/CTS", !(t.c_cflag & CRTSCTS)}, {"no XON/XOFF", !(t.c_iflag & (IXON | IXOFF))},
        {"raw: no echo, lines or signals", !(t.c_lflag & (ECHO | ECHONL | ICANON | ISIG | IEXTEN))},
        {"no CR/LF translation", !(t.c_iflag & (ICRNL | INLCR | IGNCR)) && !(t.c_oflag & OPOST)},
    };
    // clang-format on
    for (const auto& [what, right] : checks) EXPECT_TRUE(right) << what;
    // A second open, as by a second copy of the program, is refused as in use: by this
    // process, once it is not told to leave itself out.
    Port second;
    EXPECT_FALSE(second.open(device));
    PortRefusal::System system = PortRefusal::System::live();
    system.self = 0;
    const PortRefusal held = PortRefusal::examine(device, system);
    EXPECT_EQ(second.refusal().cause(), PortRefusal::Cause::InUse);
    EXPECT_TRUE(held.pid() == QCoreApplication::applicationPid() && !held.program().isEmpty());
    // Programs that look for a lock file before they open a port find one while it is held.
    const QString folder = system.lockFolders.value(0);
    const QString lockFile = folder + u'/' + PortRefusal::lockName(device);
    const bool lockable = QFileInfo(folder).isWritable();
    EXPECT_TRUE(!lockable || QFile::exists(lockFile));
    // The refused copy left the holder's exclusive mode alone; let go, the line is anybody's
    // again (a pseudo-terminal would otherwise stay exclusive while its other end is open).
    const auto exclusive = [&] {
        const int fd = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
        int on = -1;
        if (fd >= 0) ::ioctl(fd, TIOCGEXCL, &on);
        ::close(fd);
        return on;
    };
    EXPECT_EQ(exclusive(), 1);
    port.close();
    EXPECT_FALSE(QFile::exists(lockFile));
    EXPECT_EQ(exclusive(), 0);
    EXPECT_TRUE(second.open(device));
    ::close(master);
}

TEST(SerialPorts, OpenTheLineAt115200Baud8N1RawWithoutFlowControlAndOnlyOnce) {
    opensTheBoxLine<TerminalPort>();
    opensTheBoxLine<QtSerialPort>();
}

// A handler that waits (a prompt) while the box goes on sending: the port keeps taking the text
// in, far more than the device holds, and hands all of it on, in order, with no announcement
// while the handler waits.
TEST(TerminalPort, KeepsReadingWhileAHandlerWaits) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_TRUE(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
    TerminalPort port;
    ASSERT_TRUE(port.open(QString::fromLocal8Bit(::ptsname(master))));
    QByteArray sent, received;
    int announcements = 0, whileWaiting = 0;
    bool waiting = false;
    QObject::connect(&port, &SerialPort::dataArrived, [&] {
        whileWaiting += waiting;
        received += port.readAll();
        if (++announcements > 1) return;
        waiting = true;
        QElapsedTimer clock;
        clock.start();
        while (sent.size() < 512 * 1024 && clock.elapsed() < 3000) {
            const QByteArray chunk(4096, static_cast<char>('a' + (sent.size() / 4096) % 26));
            if (::write(master, chunk.constData(), chunk.size()) == chunk.size()) sent += chunk;
            QCoreApplication::processEvents();
        }
        received += port.readAll();
        waiting = false;
    });
    ASSERT_EQ(::write(master, "go", 2), 2);
    sent.prepend("go");
    EXPECT_TRUE(QTest::qWaitFor([&] { return received.size() >= sent.size(); }, 5000));
    EXPECT_EQ(sent.size(), 2 + 512 * 1024);
    EXPECT_TRUE(received == sent) << received.size() << " of " << sent.size();
    EXPECT_EQ(whileWaiting, 0);
    ::close(master);
}

// Held, the program's port leaves arriving text in the device: no announcement, yet a read
// takes it. Let go, it announces what waits. A link that holds and is never told to take the
// text gets it all the same, from its guard. The other end closing fails the port once.
TEST(TerminalPort, HeldTextWaitsInTheDeviceAndTheLinkNeverLosesIt) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_TRUE(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
    const QString device = QString::fromLocal8Bit(::ptsname(master));
    auto owned = std::make_unique<TerminalPort>();
    TerminalPort& port = *owned;
    SerialLink link(std::move(owned), PortTable({device}));
    QByteArray received;
    QObject::connect(&link, &SerialLink::textReceived,
                     [&](const std::string& text) { received += QByteArray::fromStdString(text); });
    QSignalSpy failures(&port, &SerialPort::failed);
    ASSERT_TRUE(link.openPort(1));
    const auto boxSends = [&](const char* text) {
        ASSERT_EQ(::write(master, text, std::strlen(text)), static_cast<ssize_t>(std::strlen(text)));
    };
    QTest::qWait(50);
    received.clear();
    // clang-format off
    const struct { const char* step; const char* sent; int waitMs; const char* received; } steps[] = {
        {"watched", "CX\r", 30, "CX\r"},
        {"held", "PX1\r", 30, ""},
        {"taken", "", 0, "PX1\r"},  // the frame's start: read while still held, then let go
        {"watched", "PX2\r", 30, "PX2\r"},
        {"held", "PX3\r", 150, "PX3\r"},  // nobody takes it: the guard does
        {"watched", "PX4\r", 30, "PX4\r"},
    };
    // clang-format on
    for (const auto& s : steps) {
        if (std::strcmp(s.step, "held") == 0) link.holdInput();
        if (std::strcmp(s.step, "taken") == 0) link.takeWaiting();
        if (*s.sent) boxSends(s.sent);
        QTest::qWait(s.waitMs);
        EXPECT_EQ(received, s.received) << s.step << " " << s.sent;
        received.clear();
    }
    ::close(master);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !link.isOpen(); }, 1000));
    QTest::qWait(30);
    EXPECT_EQ(failures.count(), 1);
}
#endif

// Rows: the user may open the device | the files: name=content ("," a new line), name->link
// target | the device | why it was refused: p no permission, u in use, with the holder's pid and
// program when seen. L is the lock folder, P /proc; this process is 500.
TEST(PortRefusal, TellsNoPermissionFromAPortHeldAndNamesTheHolder) {
    for (const QString row :
         {"0||/dev/ttyS0|p", "0|L/LCK..ttyS0=1234 P/1234/comm=Gradel|/dev/ttyS0|p 1234 Gradel",
          "1||/dev/ttyS0|u",
          "1|L/LCK..ttyS0=1234,Gradel,vm P/1234/comm=Gradel|/dev/ttyS0|u 1234 Gradel",
          "1|L/LCK..pts_3=1234 P/1234/comm=cu|/dev/pts/3|u 1234 cu",
          "1|L/LCK..ttyS0=999 P/1234/comm=minicom P/1234/fd/3->/dev/ttyS0|/dev/ttyS0|u 1234 "
          "minicom",
          "1|L/LCK..ttyS1=8 P/8/fd/3->/dev/ttyS1 P/77/comm=screen "
          "P/77/fd/9->/dev/ttyS0|/dev/ttyS0|u 77 screen",
          "1|L/LCK..ttyS0=500 P/500/comm=Gradel P/500/fd/3->/dev/ttyS0|/dev/ttyS0|u",
          "1|L/LCK.._tmp_box=77 P/77/comm=boxsim|/tmp/box|u 77 boxsim",
          "1|ttyUSB0= usb-box->ttyUSB0 P/77/comm=Gradel P/77/fd/3->ttyUSB0|usb-box|u 77 Gradel"}) {
        QTemporaryDir root;
        const QStringList c = QString(row).replace("L/", "lock/").replace("P/", "proc/").split('|');
        for (const QString& file : c[1].split(' ', Qt::SkipEmptyParts)) {
            const QString name = root.filePath(file.section(QRegularExpression("=|->"), 0, 0));
            QDir().mkpath(QFileInfo(name).path());
            QFile f(name);
            if (file.contains("->"))
                QFile::link(QDir(root.path()).absoluteFilePath(file.section("->", 1)), name);
            else if (f.open(QIODevice::WriteOnly))
                f.write(file.section('=', 1).replace(',', '\n').toLatin1() + '\n');
        }
        PortRefusal::System system{
            root.filePath("proc"), {root.filePath("lock")}, 500, [&](const QString&) {
                return c[0] == "1";
            }};
        const PortRefusal why =
            PortRefusal::examine(QDir(root.path()).absoluteFilePath(c[2]), system);
        QString seen = QString("?pu")[int(why.cause())];
        if (why.pid()) seen += QString(" %1 %2").arg(why.pid()).arg(why.program());
        EXPECT_EQ(seen, c[3]) << qPrintable(row);
    }
}

// Value rows: section/key/the text read, "-" being the fallback; an empty text is a value.
// Then moveTo rows: a position text (* one with a field too long) | the answers to its fault:
// Abort, Retry, Ignore | the reports | where the window goes from 100,100 px.
TEST(Settings, TextsPositionsAndFaults) {
    Settings store("Gradel", nullptr);
    store.setValue("Comms", "port", "Comm 3");
    store.setValue("Files", "empty", "");
    QFile file(settingsFile("Gradel"));
    ASSERT_TRUE(file.open(QFile::ReadWrite) && file.readAll().contains("[Comms]\nport=Comm 3\n"));
    file.write("[Forms]\nwindow=1,2,3,4\n");  // written by hand, without quotes
    file.close();
    for (const QString row : {"Comms/port/Comm 3", "Comms/none/-", "Other/port/-", "Files/empty/",
                              "/port/-", "Comms//-", "Forms/window/1,2,3,4"})
        EXPECT_EQ(store.value(row.section('/', 0, 0), row.section('/', 1, 1), "-"),
                  row.section('/', 2));
    EXPECT_THROW(store.setValue("", "key", "text"), Failure);
    EXPECT_THROW(store.setValue("section", "", "text"), Failure);
    ASSERT_TRUE(QDir().mkpath(settingsFile("Unwritable")));
    EXPECT_THROW(Settings("Unwritable", nullptr).setValue("section", "key", "text"), Failure);

    QWidget window;
    window.setObjectName("saved");
    window.setGeometry(40, 30, 60, 47);
    store.savePosition(window);
    EXPECT_EQ(store.value("Forms", "saved"), "600,450,900,705");
    window.setGeometry(0, 0, 300, 200);
    store.restorePosition(window);
    EXPECT_EQ(window.geometry(), QRect(40, 30, 60, 47));
    window.setObjectName("never saved");
    window.resize(300, 200);
    store.restorePosition(window);  // centred
    const QPoint centre = QGuiApplication::primaryScreen()->geometry().center();
    EXPECT_LE((window.geometry().center() - centre).manhattanLength(), 2);
    const QString overlong = "150,300," + QString(40000, ' ') + ",600";
    for (const QString row : {"600,450,900,705||0|40,30", "1,2,3,||0|100,100", "*|A|1|100,100",
                              "*|I|1|10,20", "*|RI|2|10,20", "*|RA|2|100,100"}) {
        const QStringList c = row.split('|');
        std::deque<ErrorAnswer> answers;
        for (QChar a : c[1]) answers.push_back(ErrorAnswer(QString("ARI").indexOf(a)));
        ScriptedPrompt prompt(answers);
        window.move(100, 100);
        Settings("Gradel", &prompt).moveTo(c[0] == "*" ? overlong : c[0], window);
        EXPECT_EQ(QString("%1,%2").arg(window.x()).arg(window.y()), c[3]) << qPrintable(row);
        EXPECT_EQ(prompt.reports().size(), c[2].toUInt());
        for (const ErrorReport& report : prompt.reports())
            EXPECT_EQ(report.text(),
                      "The following error occurred in\r\nmodule clsIniFile, "
                      "procedure MoveTo\r\n\r\nError Number 6\r\n(Overflow.)");
    }
}

// Rows: the keypad's codes at successive polls | the presses. Only the low four bits count.
// The port's byte is read from a file standing in for the I/O ports.
TEST(KeypadPoll, OnePressForEachNewCodeAndNoneWhileAKeyIsHeld) {
    ScriptedKeypad keypad;
    QStringList presses;
    KeypadPoll poll(&keypad, [&](int n) { presses << QString::number(n); });
    for (const QString row : {"0 7 7 7 0 7|7 7", "7 8|7 8", "15 15 15|15", "16 3 243|3"}) {
        keypad.codes = (row.section('|', 0, 0) + " 0").split(' ');
        while (!keypad.codes.isEmpty()) poll.poll();
        EXPECT_EQ(std::exchange(presses, {}).join(' '), row.section('|', 1));
    }
    // A modal dialog (the number entry) takes the keypad's keys from the moment it shows, before
    // the window system has made it the active window.
    QWidget owner;
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&owner));
    QDialog dialog(&owner);
    KeySpy spy;
    spy.note = [] { return "F5"; };
    dialog.installEventFilter(&spy);
    dialog.open();
    KeypadPoll::postFunctionKey(5);
    QApplication::processEvents();
    EXPECT_EQ(spy.seen.join(""), "F5^");
    QTemporaryFile file;
    ASSERT_TRUE(file.open() && file.write(QByteArray(544, 0) + '\x37') == 545 && file.flush());
    PortKeypadSource port(QFile::encodeName(file.fileName()).constData());
    if (!port.isOpen()) GTEST_SKIP() << "no I/O ports here";
    EXPECT_EQ(port.read(), 0x37);
    EXPECT_EQ(PortKeypadSource("/nonexistent/port").read(), 0);
}

TEST(ReadoutPacer, StreamedChangesWaitForTheFrameAndOthersAreShownAtOnce) {
    std::string shown;
    ReadoutPacer pacer([&](const std::string& key) { shown += key; });
    pacer.setFrameMs(200);
    const auto arrival = [&](const std::string& keys) {  // how many are shown at once
        ReadoutPacer::StreamScope stream(pacer);
        return std::count_if(keys.begin(), keys.end(), [&](char k) { return pacer.changed({k}); });
    };
    EXPECT_TRUE(arrival("XYXY") == 0 && shown.empty());  // nothing while the text is being read
    QApplication::processEvents();
    EXPECT_EQ(shown, "XY");  // then each held scale once
    // A key press is shown at once, and X's held change goes.
    EXPECT_TRUE(arrival("YXY") == 0 && pacer.changed("X"));
    QTest::qWait(20);
    EXPECT_EQ(shown, "XY");  // within the frame
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown.size() > 2; }) && shown == "XYY") << shown;
    // Text taken in as the frame begins is shown with it.
    shown.clear();
    pacer.setCollect([&] { arrival("Z"); });
    EXPECT_EQ(arrival("X"), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !shown.empty(); }) && shown == "XZ") << shown;
    pacer.setCollect({});
    pacer.setFrameMs(0);
    EXPECT_EQ(arrival("XXY"), 3);
    for (auto [hz, ms] : {std::pair{60.0, 17}, {200.0, 8}, {10.0, 40}, {0.0, 17}})
        EXPECT_EQ(ReadoutPacer::frameMsFor(hz), ms) << hz;
}

TEST(ErrorMessageBox, ShowsTheReportAsPlainTextAndClosingItIsAbort) {
    const ErrorReport report{"clsIniFile", "Move <b>To</b>", Fault::Overflow};
    const auto box = ErrorMessageBox::makeBox(report, nullptr);
    EXPECT_EQ(box->windowTitle() + box->text(), "Error" + QString::fromStdString(report.text()));
    EXPECT_TRUE(box->icon() == QMessageBox::Information && box->textFormat() == Qt::PlainText &&
                box->standardButtons() ==
                    (QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore));
    EXPECT_EQ(ErrorMessageBox::answerFor(QMessageBox::Retry), ErrorAnswer::Retry);
    QTimer::singleShot(50, qApp, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_EQ(ErrorMessageBox().ask(report), ErrorAnswer::Abort);
}

}  // namespace
}  // namespace gradel::testing
