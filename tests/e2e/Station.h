#pragma once
// The rig of the end-to-end tests and the line-rate harness: gradel-boxsim run as a separate
// process (the box), a second reader of what it sends (the tap), and the real main window,
// shown, on a real serial port whose only device is the box's symlink (the station). What the
// checks read is what the user sees: the panels' order on the screen and their readouts.
#include <signal.h>

#include <QtTest>
#include <QtWidgets>
#include <numeric>

#include "controls/AnalogueDial.h"
#include "controls/DigitalDial.h"
#include "panels/AxisPanel.h"
#include "panels/FunctionLabels.h"
#include "window/BoxSimulator.h"
#include "window/ComportMenu.h"
#include "window/MainWindow.h"
#include "window/TerminalPort.h"
#include "window/SerialLink.h"
#include "window/Settings.h"

namespace gradel::testing {

// The box appears at a fixed symlink, so the program's port table stays the same while the box
// is unplugged and plugged in again. It can hang (stopped wherever its output stands) and come
// back, and says at its end what it put on the line.
class BoxProcess {
  public:
    BoxProcess() : link_(dir_.filePath(QStringLiteral("box"))) {}
    ~BoxProcess() { unplug(); }

    const QString& link() const { return link_; }

    // Starts the simulator with `options`; false if it gave no terminal.
    bool plug(const QStringList& options) {
        unplug();
        process_.start(BoxSimulator::locate(),
                       options + QStringList{"--link", link_, "--report", "--exit-on-stdin-eof"});
        return process_.waitForStarted(5000) && process_.waitForReadyRead(5000) &&
               !process_.readLine().trimmed().isEmpty();
    }
    // The simulator closes its terminal and stops, and reports "sent B bytes R readings N noise".
    QString unplug() {
        if (!process_.isOpen()) return {};
        signal(SIGCONT);
        process_.closeWriteChannel();
        process_.waitForFinished(5000);
        return QString::fromLatin1(process_.readAllStandardOutput()).trimmed();
    }
    // SIGSTOP: the box hangs; SIGCONT: it goes on.
    void signal(int sig) {
        if (process_.state() == QProcess::Running)
            ::kill(static_cast<pid_t>(process_.processId()), sig);
    }

    // What a box started with --verbose has logged so far.
    const QString& log() { return log_ += QString::fromLatin1(process_.readAllStandardError()); }

  private:
    QTemporaryDir dir_;
    QString link_;
    QProcess process_;
    QString log_;
};

// Reads the box's text on its own: splits it at the colons and keeps, per key, the last nine
// readings of the exact shapes a box sends ("+012.70" mm, "+01.2500" inch, "H000100" count).
class ReadingTap {
  public:
    void feed(std::string_view text) {
        QStringList messages = (pending_ + QString::fromLatin1(text)).split(u':');
        pending_ = messages.takeLast();
        for (const QString& m : messages) message(m);
    }
    // The average of the last nine readings of a key (zeros where fewer came), in inches,
    // before reversal and times two: what its readouts show once the stream has stopped.
    double average(char key) { return std::reduce(last_[key].begin(), last_[key].end()) / 9; }
    long long readings(char key) { return count_[key]; }
    // Whether the box sent this message (one that is not a reading; the first thousand are kept).
    bool said(const QString& message) const { return said_.contains(message); }

  private:
    void message(const QString& m) {
        // A key that starts none of the box's own messages, then the value.
        static const QRegularExpression reading(QRegularExpression::anchoredPattern(
            QStringLiteral(R"([^CDIR]([+-]\d{3}\.\d\d|[+-]\d\d\.\d{4}|H[\dA-Fa-f]{6}))")));
        const QString v = reading.match(m).captured(1);
        if (v.isEmpty() && said_.size() < 1000) said_ << m;
        if (v.isEmpty()) return;
        // A count is 24-bit two's complement, 20480 to the inch, and counts the other way.
        const int count = v.mid(1).toInt(nullptr, 16);
        QList<double>& last = last_[m[0].toLatin1()];
        last.push_back(v[0] == u'H' ? -(count >= 0x800000 ? count - 0x1000000 : count) / 20480.0
                                    : v.toDouble() / (v.size() == 7 ? 25.4 : 1));
        if (last.size() > 9) last.removeFirst();
        ++count_[m[0].toLatin1()];
    }

    QString pending_;
    std::map<char, QList<double>> last_;
    std::map<char, long long> count_;
    QStringList said_;
};

class Station {
  public:
    // Port 1 is the box's link. Every connect costs an identify pause, here shortened.
    explicit Station(const BoxProcess& box) {
        window_.setSerialPort(std::make_unique<TerminalPort>(), PortTable({box.link()}));
        window_.link().setIdentifyPause(std::chrono::milliseconds(50));
        QObject::connect(&window_.link(), &SerialLink::textReceived, &window_,
                         [this](const std::string& text) { tap_.feed(text); });
    }

    // Forgets everything stored, through the store itself: it keeps what it read in memory.
    static void clearSettings() {
        const QString app = Settings::executableName();
        QSettings(QSettings::NativeFormat, QSettings::UserScope, app, app).clear();
    }

    // Start-up as main does it, then the window on the screen.
    void start() {
        window_.load();
        window_.show();
    }
    // "Comm 1" in the Comport menu, as the user chooses it.
    void choosePort() { window_.comportMenu()->entries().at(0)->trigger(); }
    bool portTicked() const { return window_.comportMenu()->entries().at(0)->isChecked(); }
    // Function keys and label clicks in order: "F7 L1" is F7, then a click on F1's label.
    Station& press(const QString& keys) {
        for (const QString& k : keys.split(u' ')) {
            const int i = k.mid(1).toInt() - 1;
            k[0] == u'L' ? QTest::mouseClick(window_.functionLabels().label(i), Qt::LeftButton)
                         : QTest::keyClick(&window_, Qt::Key(Qt::Key_F1 + i));
        }
        return *this;
    }

    MainWindow& window() { return window_; }
    ReadingTap& tap() { return tap_; }

    // A panel's millimetre and inch readouts and its dial: "25.40 1.0000 1"; "" while hidden.
    QString readouts(const QString& key) const {
        for (const AxisPanel* p : window_.findChildren<AxisPanel*>())
            if (p->key() == key && p->isVisible())
                return QStringLiteral("%1 %2 %3")
                    .arg(p->mmReadout().text(), p->inchReadout().text(),
                         QString::number(p->dial().value()));
        return {};
    }
    // Waits until the readouts of the keys show `want`; what they show then (or at the limit).
    std::map<QString, QString> waitFor(const std::map<QString, QString>& want, int ms = 5000) {
        std::map<QString, QString> now;
        for (QDeadlineTimer limit(ms); now != want && !limit.hasExpired(); QTest::qWait(5))
            for (const auto& [key, text] : want) now[key] = readouts(key);
        return now;
    }
    // What the readouts showed, looked at on every pass of the event loop, while the port is
    // open.
    std::map<QString, QStringList> watch(const QStringList& keys, int ms) {
        std::map<QString, QStringList> seen;
        for (QDeadlineTimer limit(ms); !limit.hasExpired();) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            if (!window_.link().isOpen()) break;
            for (const QString& key : keys)
                if (!seen[key].endsWith(readouts(key))) seen[key] << readouts(key);
        }
        return seen;
    }

  private:
    ReadingTap tap_;  // outlives the window, which feeds it
    MainWindow window_;
};

}  // namespace gradel::testing
