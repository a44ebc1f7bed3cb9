#pragma once
// ISerialPort over Qt's QSerialPort: asynchronous, reports each arrival of text.
#include <QSerialPort>

#include "window/ISerialPort.h"

class QtSerialPort : public ISerialPort {
    Q_OBJECT

  public:
    explicit QtSerialPort(QObject* parent = nullptr);

    bool Open(const QString& device) override;
    void Close() override;
    bool IsOpen() const override;
    QString Device() const override;
    QString ErrorString() const override;
    bool PermissionDenied() const override;

    void Write(const QByteArray& data) override;
    QByteArray ReadAll() override;
    qint64 BytesToWrite() const override;
    void DiscardInput() override;

    bool SetDataTerminalReady(bool on) override;
    bool SetRequestToSend(bool on) override;
    std::optional<bool> ClearToSend() override;

  private:
    void OnError(QSerialPort::SerialPortError error);

    QSerialPort port_;
    QString device_;
    QString openError_;
    bool permissionDenied_ = false;
    bool failed_ = false;  // a fatal error was reported since the last Open
};
