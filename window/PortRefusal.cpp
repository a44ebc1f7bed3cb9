#include "window/PortRefusal.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace gradel {

namespace {

// The first line of a small file, trimmed; "" when it cannot be read.
QString firstLine(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromLocal8Bit(file.readLine(256)).trimmed();
}

}  // namespace

PortRefusal::PortRefusal(Cause cause, qint64 pid, QString program)
    : cause_(cause), pid_(pid), program_(std::move(program)) {}

PortRefusal::System PortRefusal::System::live() {
    System system;
    system.self = QCoreApplication::applicationPid();
    system.mayOpen = [](const QString& device) {
#ifdef Q_OS_WIN
        Q_UNUSED(device);
        return true;
#else
        return ::access(QFile::encodeName(device).constData(), R_OK | W_OK) == 0;
#endif
    };
    return system;
}

// Not in the group comes first: the user could not use the port even once the holder lets go.
// A device the user may open that still refused is held by someone, seen or not. The holder is
// looked for either way: Qt looks at the lock before the rights, and its words for a locked
// device are no reason to give someone who may not open it at all.
PortRefusal PortRefusal::examine(const QString& device, const System& system) {
    PortRefusal found = fromLockFile(device, system);
    if (found.pid_ == 0) found = fromOpenFiles(device, system);
    const bool allowed = !system.mayOpen || system.mayOpen(device);
    found.cause_ = allowed ? Cause::InUse : Cause::NoPermission;
    return found;
}

// "/dev/ttyUSB0" is LCK..ttyUSB0, "/dev/pts/3" LCK..pts_3, "/tmp/box" LCK.._tmp_box.
QString PortRefusal::lockName(const QString& device) {
    QString name = device.startsWith(QLatin1String("/dev/")) ? device.mid(5) : device;
    return QStringLiteral("LCK..") + name.replace(u'/', u'_');
}

// A lock file starts with its owner's process number (Qt's on a line of its own, others padded
// with blanks). One left behind by a process that has ended names nobody. The device may have
// been opened under another name (a by-id link) than the one given here.
PortRefusal PortRefusal::fromLockFile(const QString& device, const System& system) {
    QStringList names{lockName(device)};
    const QString real = QFileInfo(device).canonicalFilePath();
    if (!real.isEmpty() && real != device) names << lockName(real);
    for (const QString& folder : system.lockFolders) {
        for (const QString& name : names) {
            const PortRefusal found = holder(firstLine(folder + u'/' + name).toLongLong(), system);
            if (found.pid_ != 0) return found;
        }
    }
    return {};
}

// Every process whose open files we may read, for one that leads to the device.
PortRefusal PortRefusal::fromOpenFiles(const QString& device, const System& system) {
    const QString real = QFileInfo(device).canonicalFilePath();
    const QString target = real.isEmpty() ? device : real;
    const QStringList pids = QDir(system.proc).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& pid : pids) {
        bool number = false;
        const qint64 n = pid.toLongLong(&number);
        if (!number || n == system.self) continue;
        const QDir fds(system.proc + u'/' + pid + QStringLiteral("/fd"));
        for (const QString& fd :
             fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
            if (QFile::symLinkTarget(fds.filePath(fd)) == target) return holder(n, system);
        }
    }
    return {};
}

// The process, if it is there and is not this one.
PortRefusal PortRefusal::holder(qint64 pid, const System& system) {
    const QString folder = system.proc + u'/' + QString::number(pid);
    if (pid <= 0 || pid == system.self || !QFileInfo(folder).isDir()) return {};
    return PortRefusal(Cause::InUse, pid, firstLine(folder + QStringLiteral("/comm")));
}

}  // namespace gradel
