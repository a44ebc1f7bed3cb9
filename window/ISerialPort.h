#pragma once
// The serial port as the window sees it: open a device at the box's line settings, write
// commands, take whatever text has arrived, and watch the lines. The real port is QtSerialPort;
// tests drive a fake.
#include <QByteArray>
#include <QObject>
#include <QString>
#include <optional>

class ISerialPort : public QObject {
    Q_OBJECT

  public:
    using QObject::QObject;
    ~ISerialPort() override = default;

    // Opens `device` at "115200,n,8,1". On failure the port stays closed and ErrorString()
    // says why.
    virtual bool Open(const QString& device) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    virtual QString Device() const = 0;
    virtual QString ErrorString() const = 0;
    // True when the failure of the last Open was a refusal by the system (no permission).
    virtual bool PermissionDenied() const = 0;

    virtual void Write(const QByteArray& data) = 0;
    virtual QByteArray ReadAll() = 0;
    // Bytes written but not yet handed to the device.
    virtual qint64 BytesToWrite() const = 0;
    // Drops whatever input is waiting.
    virtual void DiscardInput() = 0;

    // Line control. Devices that cannot switch their lines (pseudo-terminals, some adapters)
    // answer false; that is not a fault of the port.
    virtual bool SetDataTerminalReady(bool on) = 0;
    virtual bool SetRequestToSend(bool on) = 0;
    // The clear-to-send line: nullopt when the device cannot report it.
    virtual std::optional<bool> ClearToSend() = 0;

  signals:
    // New text can be read.
    void DataArrived();
    // The device failed while open (pulled out, gone away); the port needs closing.
    void Failed(const QString& reason);
};
