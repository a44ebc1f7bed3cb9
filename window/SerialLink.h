#pragma once
// The window's link to the interface box: opens and closes the one serial port, identifies the
// box, hands every arrival of text on, and watches the clear-to-send line and the device.
//
// Waits (the identify pause, the drain before closing) run a nested event loop, so any other
// handler can run inside them, this object's destruction included; every wait checks that the
// link still exists before it goes on.
#include <QObject>
#include <QPointer>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "window/ISerialPort.h"
#include "window/PortTable.h"

class SerialLink : public QObject {
    Q_OBJECT

  public:
    // The link owns `port`.
    SerialLink(std::unique_ptr<ISerialPort> port, PortTable table, QObject* parent = nullptr);
    ~SerialLink() override;

    // Caption of port n in the Comport menu.
    static QString Caption(int n) { return QStringLiteral("Comm %1").arg(n); }

    PortTable& Table() { return table_; }
    const PortTable& Table() const { return table_; }
    ISerialPort& Port() { return *port_; }

    bool PortOpen() const;
    // Number of the open port; 0 when closed.
    int OpenPortNumber() const { return PortOpen() ? openPort_ : 0; }

    // n < 1: nothing. Port closed: open port n and identify. Port open (whatever its number):
    // send "S0", let it drain, close.
    void TogglePort(int16_t n);
    // Opens port n at the box's settings (DTR off, RTS on, waiting input dropped) and identifies
    // the box. A port that cannot be opened is reported through Notice and stays closed.
    bool OpenPort(int n);
    // Sends "S0", waits (bounded) for it to go out, closes.
    void CloseAfterPoll();
    // Closes at once, sending nothing.
    void Close();

    // Sends "I0", processes events for the identify pause, sends "I0" again.
    void IdentifyBox();
    // Writes the text as it stands if the port is open; nothing otherwise.
    void Send(const std::string& text);

    // Reads the clear-to-send line and acts on a change (on: identify; off: LinesLost). A line
    // the device cannot report is unknown and never counts as off.
    void PollLines();

    void SetIdentifyPause(std::chrono::milliseconds pause) { identifyPause_ = pause; }
    void SetDrainLimit(std::chrono::milliseconds limit) { drainLimit_ = limit; }

  signals:
    // Text from the box, exactly as it arrived.
    void TextReceived(const std::string& text);
    // The box's scales are gone (clear-to-send dropped, or the device failed).
    void LinesLost();
    // Port n failed while open and has been closed.
    void PortFailed(int n);
    // Something the user should read; never blocks.
    void Notice(const QString& text);

  private:
    void DeliverInput();
    void OnFailed(const QString& reason);
    // Processes events until `done` says so or `limit` has passed. False if this link was
    // destroyed meanwhile (the caller must then return without touching it).
    bool Wait(std::chrono::milliseconds limit, const std::function<bool()>& done);
    bool Identify();  // false if destroyed meanwhile
    QString OpenFailureText(int n, const QString& device) const;

    std::unique_ptr<ISerialPort> port_;
    PortTable table_;
    int openPort_ = 0;
    std::optional<bool> lastCts_;  // last known state of the clear-to-send line
    std::chrono::milliseconds identifyPause_{1000};
    std::chrono::milliseconds drainLimit_{2000};
};
