#pragma once
// Why the system would not open a serial device that Qt reports as a permission error. Qt files
// three causes under that one error: the user may not open the device (not in its group), another
// program holds Qt's lock file for it, or another program has it open for itself alone
// (TIOCEXCL, "Device or resource busy"). The first needs the user in the device's group; the
// other two need the other program to let go, and joining a group would not help.
//
// Looked at only after an open has failed, so a working port costs nothing: the user's rights to
// the device, then the lock file's process, then every process's open files (/proc/PID/fd). The
// holder is named where the system lets us see it (a process of another user may stay unnamed).
#include <QString>
#include <QStringList>
#include <functional>

namespace gradel {

class PortRefusal {
  public:
    enum class Cause { Unknown, NoPermission, InUse };

    // What is looked at; tests point it at folders of their own.
    struct System {
        QString proc = QStringLiteral("/proc");
        QStringList lockFolders = {QStringLiteral("/var/lock"), QStringLiteral("/run/lock")};
        qint64 self = 0;                              // this process: never the holder
        std::function<bool(const QString&)> mayOpen;  // read and write rights to a device
        static System live();
    };

    PortRefusal() = default;
    PortRefusal(Cause cause, qint64 pid = 0, QString program = QString());

    // Why `device` was refused, the system having called it a permission error.
    static PortRefusal examine(const QString& device, const System& system = System::live());
    Cause cause() const { return cause_; }
    // The holding process and its program's name (0 and "" when the system does not tell); a
    // device the user may not open can be held by another program too.
    qint64 pid() const { return pid_; }
    QString program() const { return program_; }

    // The lock file's name that Qt and other serial programs use for `device`.
    static QString lockName(const QString& device);

  private:
    static PortRefusal fromLockFile(const QString& device, const System& system);
    static PortRefusal fromOpenFiles(const QString& device, const System& system);
    static PortRefusal holder(qint64 pid, const System& system);

    Cause cause_ = Cause::Unknown;
    qint64 pid_ = 0;
    QString program_;
};

}  // namespace gradel
