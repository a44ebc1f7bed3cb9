#pragma once
// The window's link to the interface box: opens and closes the one serial port, identifies the
// box, hands every arrival of text on, and watches the clear-to-send line and the device.
//
// Identifying the box never waits: the second "I0" follows the first by a timer. The one wait,
// the drain before closing, runs a nested event loop, so any other handler can run inside it,
// this object's destruction included; it checks that the link still exists before it goes on.
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "window/PortTable.h"
#include "window/SerialPort.h"

namespace gradel {

class SerialLink : public QObject {
    Q_OBJECT

  public:
    // The link owns `port`.
    SerialLink(std::unique_ptr<SerialPort> port, PortTable table, QObject* parent = nullptr);
    ~SerialLink() override;

    // Caption of port n in the Comport menu.
    static QString caption(int n) { return QStringLiteral("Comm %1").arg(n); }

    PortTable& table() { return table_; }
    const PortTable& table() const { return table_; }
    SerialPort& port() { return *port_; }

    bool isOpen() const;
    // Number of the open port; 0 when closed.
    int openPortNumber() const { return isOpen() ? openPort_ : 0; }

    // n < 1: nothing. Port closed: open port n and identify. Port open (whatever its number):
    // send "S0", let it drain, close.
    void togglePort(int16_t n);
    // Opens port n at the box's settings (DTR off, RTS on, waiting input dropped) and identifies
    // the box. A port that cannot be opened is reported through notice and stays closed.
    bool openPort(int n);
    // Sends "S0", waits (bounded) for it to go out, closes (unless another port has been opened
    // meanwhile).
    void closeAfterPoll();
    // Closes at once, sending nothing.
    void close();

    // Sends "I0" now and again after the identify pause (to the same port, if still open);
    // returns at once.
    void identifyBox();
    // A second "I0" is still to come.
    bool isIdentifying() const { return identifying_ > 0; }
    // Writes the text as it stands if the port is open; nothing otherwise.
    void send(const std::string& text);

    // Reads the clear-to-send line and acts on a change (on: identify; off: linesLost). A line
    // the device cannot report is unknown and never counts as off.
    void pollLines();

    // Leaves arriving text in the port until takeWaiting() (or, should that not come, until a
    // short guard runs out): for a display that shows what came only at its next frame anyway,
    // and so need not be woken by every reading before it.
    void holdInput();
    // Hands on whatever text waits, then watches the port again.
    void takeWaiting();

    void setIdentifyPause(std::chrono::milliseconds pause) { identifyPause_ = pause; }
    void setDrainLimit(std::chrono::milliseconds limit) { drainLimit_ = limit; }

  signals:
    // Text from the box, exactly as it arrived.
    void textReceived(const std::string& text);
    // The box's scales are gone (clear-to-send dropped, or the device failed).
    void linesLost();
    // Port n failed while open and has been closed.
    void portFailed(int n);
    // Something the user should read; never blocks.
    void notice(const QString& text);

  private:
    void deliverInput();
    void onFailed(const QString& reason);
    // Processes events until `done` says so or `limit` has passed. False if this link was
    // destroyed meanwhile (the caller must then return without touching it).
    bool wait(std::chrono::milliseconds limit, const std::function<bool()>& done);
    void identify();
    QString openFailureText(int n, const QString& device) const;
    static QString inUseText(int n, const QString& device, const PortRefusal& refusal);
    static QString heldBy(const PortRefusal& refusal);

    std::unique_ptr<SerialPort> port_;
    PortTable table_;
    int openPort_ = 0;
    int opened_ = 0;         // counts opens, so that a wait can tell its port from a later one
    int identifying_ = 0;    // second "I0"s still to come
    int identifyRound_ = 0;  // a close, or letting the box go, calls pending second "I0"s off
    std::optional<bool> lastCts_;  // last known state of the clear-to-send line
    std::chrono::milliseconds identifyPause_{1000};
    std::chrono::milliseconds drainLimit_{2000};
    bool held_ = false;
    QTimer* holdGuard_;
    // While a latency probe is active: when text was last read, and the read before a hold
    // began (text taken when the hold ends came after it, and counts from it).
    std::chrono::steady_clock::time_point lastRead_{}, heldSince_{};
};

}  // namespace gradel
