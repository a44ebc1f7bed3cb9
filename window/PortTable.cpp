#include "window/PortTable.h"

#include <QDir>
#include <QFileInfo>
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
// A device the user may not open yet is still listed: choosing it then says "Permission
// denied" with the advice to join the device's group, where leaving it out would only say
// that there is no port at all.
bool deviceExists(const QString& path) {
    struct stat st {};
    return ::stat(path.toLocal8Bit().constData(), &st) == 0 && S_ISCHR(st.st_mode);
}
#endif

// The by-id link that resolves to `device`, else the device's own path. Several links can lead
// to one device; the first in name order is taken, so the choice does not vary between starts.
QString identityOf(const QString& device, const QFileInfoList& links) {
    const QString target = QFileInfo(device).canonicalFilePath();
    if (target.isEmpty()) return device;
    for (const QFileInfo& link : links)
        if (link.canonicalFilePath() == target) return link.absoluteFilePath();
    return device;
}

}  // namespace

PortTable::PortTable(QStringList devices, const QString& byIdFolder)
    : devices_(std::move(devices)) {
    QFileInfoList links;
    if (!byIdFolder.isEmpty())
        links = QDir(byIdFolder).entryInfoList(QDir::Files | QDir::System, QDir::Name);
    for (const QString& device : devices_) identities_ << identityOf(device, links);
}

PortTable PortTable::fromSystem(const QString& byIdFolder) {
#ifdef Q_OS_WIN
    Q_UNUSED(byIdFolder);
    QStringList devices;
    for (int n = 1; n <= kMaxPort; ++n) devices << QStringLiteral("COM%1").arg(n);
    return PortTable(devices);
#else
    const QString pinned = qEnvironmentVariable("GRADEL_PORTS");
    if (!pinned.isEmpty()) return PortTable(pinned.split(u':', Qt::SkipEmptyParts), byIdFolder);
    return PortTable(systemDevices(), byIdFolder);
#endif
}

QString PortTable::device(int n) const {
    if (n < 1 || n > devices_.size()) return {};
    return devices_.at(n - 1);
}

bool PortTable::portExists(int n) const {
    if (n < 1 || (n > kMaxPort && !isSimulated(n))) return false;
    const QString device = this->device(n);
    if (device.isEmpty()) return false;
#ifdef Q_OS_WIN
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        if (info.portName().compare(device, Qt::CaseInsensitive) == 0) return true;
    return false;
#else
    return deviceExists(device);
#endif
}

QString PortTable::identity(int n) const {
    if (n < 1 || n > identities_.size()) return {};
    return identities_.at(n - 1);
}

int PortTable::portOf(const QString& identity) const {
    if (identity.isEmpty()) return 0;
    for (qsizetype i = 0; i < devices_.size(); ++i)
        if (identities_.at(i) == identity || devices_.at(i) == identity)
            return static_cast<int>(i + 1);
    return 0;
}

int PortTable::addSimulated(const QString& device) {
    devices_ << device;
    identities_ << device;
    simulated_ = static_cast<int>(devices_.size());
    return simulated_;
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
