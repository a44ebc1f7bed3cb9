#pragma once
// gradel-boxsim run as a separate process for the end-to-end tests and the line-rate harness:
// the box appears at a fixed symlink (so the program's port table never changes while the box
// is unplugged and plugged in again), can be frozen and thawed like a box that hangs, and
// tells at its end how many bytes it put on the line.
#include <signal.h>

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>

#include "window/BoxSimulator.h"

namespace e2e {

class BoxProcess {
  public:
    BoxProcess() : link_(dir_.filePath(QStringLiteral("box"))) {
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    }
    ~BoxProcess() { Unplug(); }
    BoxProcess(const BoxProcess&) = delete;
    BoxProcess& operator=(const BoxProcess&) = delete;

    // The device path the program is given: a symlink to whichever terminal the box has now.
    const QString& Link() const { return link_; }

    // Plugs the box in: starts the simulator with `options`; false if it gave no terminal.
    bool Plug(const QStringList& options) {
        Unplug();
        const QString program = BoxSimulator::Locate();
        if (program.isEmpty()) return false;
        process_.start(program, QStringList(options) << QStringLiteral("--link") << link_
                                                     << QStringLiteral("--report")
                                                     << QStringLiteral("--exit-on-stdin-eof"));
        if (!process_.waitForStarted(5000)) return false;
        while (!process_.canReadLine()) {
            if (process_.state() != QProcess::Running || !process_.waitForReadyRead(5000))
                return false;
        }
        terminal_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
        sent_.reset();
        report_.clear();
        return !terminal_.isEmpty();
    }

    // Unplugs it: the simulator closes its terminal and stops. Afterwards SentBytes() holds
    // what it put on the line.
    void Unplug() {
        if (process_.state() == QProcess::NotRunning) return;
        Resume();
        process_.closeWriteChannel();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(2000);
        }
        ReadReport();
    }

    // Waits for a box started with --duration or --unplug-after to end by itself.
    bool WaitForEnd(int ms) {
        if (process_.state() != QProcess::NotRunning && !process_.waitForFinished(ms)) return false;
        ReadReport();
        return true;
    }

    // The box hangs (mid-message, wherever its output happened to be) and comes back.
    void Freeze() { Signal(SIGSTOP); }
    void Resume() { Signal(SIGCONT); }

    bool Running() const { return process_.state() != QProcess::NotRunning; }
    // Bytes the box wrote to its terminal, known once it has stopped.
    std::optional<long long> SentBytes() const { return sent_; }
    // Its whole report: "sent B bytes R readings N noise".
    const QString& Report() const { return report_; }

  private:
    void Signal(int sig) {
        if (process_.state() == QProcess::Running)
            ::kill(static_cast<pid_t>(process_.processId()), sig);
    }
    void ReadReport() {
        const QByteArray out = process_.readAllStandardOutput();
        for (const QByteArray& line : out.split('\n')) {
            if (!line.startsWith("sent ")) continue;
            report_ = QString::fromLatin1(line);
            bool ok = false;
            const long long n = line.mid(5).split(' ').value(0).toLongLong(&ok);
            if (ok) sent_ = n;
        }
    }

    QTemporaryDir dir_;
    QString link_;
    QString terminal_;
    QProcess process_;
    std::optional<long long> sent_;
    QString report_;
};

}  // namespace e2e
