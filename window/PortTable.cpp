#include "window/PortTable.h"

#include <QSerialPortInfo>
#include <algorithm>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace gradel {

namespace {

QStringList systemDevices() {
    QStringList devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        devices << info.systemLocation();
    std::sort(devices.begin(), devices.end(), &PortTable::naturalLess);
    devices.removeDuplicates();
    return devices;
}

#ifndef Q_OS_WIN
bool deviceAccessible(const QString& path) {
    const QByteArray native = path.toLocal8Bit();
    struct stat st {};
    if (::stat(native.constData(), &st) != 0 || !S_ISCHR(st.st_mode)) return false;
    return ::access(native.constData(), R_OK | W_OK) == 0;
}
#endif

}  // namespace

PortTable PortTable::fromSystem() {
#ifdef Q_OS_WIN
    QStringList devices;
    for (int n = 1; n <= kMaxPort; ++n) devices << QStringLiteral("COM%1").arg(n);
    return PortTable(devices);
#else
    const QString pinned = qEnvironmentVariable("GRADEL_PORTS");
    if (!pinned.isEmpty()) return PortTable(pinned.split(u':', Qt::SkipEmptyParts));
    return PortTable(systemDevices());
#endif
}

QString PortTable::device(int n) const {
    if (n < 1 || n > devices_.size()) return {};
    return devices_.at(n - 1);
}

bool PortTable::portExists(int n) const {
    if (n < 1 || n > kMaxPort) return false;
    const QString device = this->device(n);
    if (device.isEmpty()) return false;
#ifdef Q_OS_WIN
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        if (info.portName().compare(device, Qt::CaseInsensitive) == 0) return true;
    return false;
#else
    return deviceAccessible(device);
#endif
}

void PortTable::putFirst(const QString& device) {
    devices_.removeAll(device);
    devices_.prepend(device);
}

bool PortTable::naturalLess(const QString& a, const QString& b) {
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            qsizetype ei = i, ej = j;
            while (ei < a.size() && a[ei].isDigit()) ++ei;
            while (ej < b.size() && b[ej].isDigit()) ++ej;
            // Compare the runs as numbers: drop leading zeros, then longer is larger.
            QStringView ra = QStringView(a).mid(i, ei - i), rb = QStringView(b).mid(j, ej - j);
            while (ra.size() > 1 && ra.front() == u'0') ra = ra.mid(1);
            while (rb.size() > 1 && rb.front() == u'0') rb = rb.mid(1);
            if (ra.size() != rb.size()) return ra.size() < rb.size();
            if (const int c = ra.compare(rb); c != 0) return c < 0;
            i = ei;
            j = ej;
        } else {
            if (a[i] != b[j]) return a[i] < b[j];
            ++i;
            ++j;
        }
    }
    return (a.size() - i) < (b.size() - j);
}

}  // namespace gradel
