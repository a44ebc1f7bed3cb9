#pragma once
// Serial port numbers as the Comport menu knows them ("Comm n") and the devices behind them.
//
// On Windows port n is COMn. Elsewhere port n is entry n (counted from 1) of a table: the
// devices named in GRADEL_PORTS (paths separated by ":") when that is set, else the serial
// devices the system lists, in natural order of their paths. A device can be put in front of
// the table (the simulated box).
#include <QString>
#include <QStringList>

namespace gradel {

class PortTable {
  public:
    static constexpr int kMaxPort = 16;

    // The table of this system (environment and device list).
    static PortTable fromSystem();
    // A table of the given devices, in this order.
    explicit PortTable(QStringList devices) : devices_(std::move(devices)) {}

    // Device of port n, or an empty text when n has none.
    QString device(int n) const;
    // Whether port n names a device that is there and that this user may open. The device is
    // not opened: opening a serial port raises DTR, which resets many boxes.
    bool portExists(int n) const;
    // Puts a device in front, as port 1; the others move up by one.
    void putFirst(const QString& device);

    const QStringList& devices() const { return devices_; }

    // Natural order of device paths: digit runs compare by value (ttyS2 before ttyS10).
    static bool naturalLess(const QString& a, const QString& b);

  private:
    QStringList devices_;
};

}  // namespace gradel
