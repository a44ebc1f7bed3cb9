#pragma once
// The serial port as the window sees it: open a device at the box's line settings, write
// commands, take whatever text has arrived, and watch the lines. The real port is TerminalPort
// (QtSerialPort on Windows); tests drive a fake.
#include <QByteArray>
#include <QObject>
#include <QString>
#include <optional>

#include "window/PortRefusal.h"

namespace gradel {

class SerialPort : public QObject {
    Q_OBJECT

  public:
    using QObject::QObject;

    // Opens `device` at "115200,n,8,1". On failure the port stays closed and errorString()
    // says why.
    virtual bool open(const QString& device) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual QString device() const = 0;
    virtual QString errorString() const = 0;
    // Why the system refused the last open(): no permission, or the device in use (Unknown for
    // any other failure, a missing device for instance).
    virtual PortRefusal refusal() const = 0;

    virtual void write(const QByteArray& data) = 0;
    virtual QByteArray readAll() = 0;
    // Bytes written but not yet handed to the device.
    virtual qint64 bytesToWrite() const = 0;
    // Drops whatever input is waiting.
    virtual void discardInput() = 0;

    // Line control. Devices that cannot switch their lines (pseudo-terminals, some adapters)
    // answer false; that is not a fault of the port.
    virtual bool setDataTerminalReady(bool on) = 0;
    virtual bool setRequestToSend(bool on) = 0;
    // The clear-to-send line: nullopt when the device cannot report it.
    virtual std::optional<bool> clearToSend() = 0;

    // Held, the port does not watch for arriving text: it waits in the device until readAll()
    // takes it, and once the hold ends any text waiting is announced. A port that cannot stop
    // watching goes on announcing.
    virtual void setHeld(bool held) { Q_UNUSED(held); }

  signals:
    // New text can be read.
    void dataArrived();
    // The device failed while open (pulled out, gone away); the port needs closing.
    void failed(const QString& reason);
};

}  // namespace gradel
