#pragma once
// Serial port numbers as the Comport menu knows them ("Comm n") and the devices behind them.
//
// On Windows port n is COMn. Elsewhere port n is entry n (counted from 1) of a table: the
// devices named in GRADEL_PORTS (paths separated by ":") when that is set, else the serial
// devices the system lists, in natural order of their paths (ttyACM0, ttyS0, ttyS2, ttyS10,
// ttyUSB0). A number therefore moves when an adapter is plugged in; what stays is a device's
// identity: its link in /dev/serial/by-id when it has one (that names the adapter, maker and
// serial number), else its path. The simulated box comes after the real ports, so that it
// never takes one of their numbers.
#include <QString>
#include <QStringList>

namespace gradel {

class PortTable {
  public:
    static constexpr int kMaxPort = 16;

    // The table of this system (environment and device list); identities from `byIdFolder`.
    static PortTable fromSystem(const QString& byIdFolder = QStringLiteral("/dev/serial/by-id"));
    // A table of the given devices, in this order, with identities from the links in
    // `byIdFolder` ("" or a missing folder: each device is its own identity).
    explicit PortTable(QStringList devices, const QString& byIdFolder = QString());

    // Device of port n, or an empty text when n has none.
    QString device(int n) const;
    // The stable name of port n's device: the by-id link that leads to it, else its path.
    QString identity(int n) const;
    // The port whose device has this identity or path; 0 when there is none.
    int portOf(const QString& identity) const;
    // Whether port n names a serial device that is there (one this user may not open yet is
    // there too: opening it says why it failed). The device is
    // not opened: opening a serial port raises DTR, which resets many boxes.
    bool portExists(int n) const;
    // The simulated box's terminal as the port after the real ones; its number.
    int addSimulated(const QString& device);
    bool isSimulated(int n) const { return n >= 1 && n == simulated_; }

    const QStringList& devices() const { return devices_; }

    // Natural order of device paths: digit runs compare by value (ttyS2 before ttyS10).
    static bool naturalLess(const QString& a, const QString& b);

  private:
    QStringList devices_;
    QStringList identities_;  // one for each device
    int simulated_ = 0;
};

}  // namespace gradel
