#pragma once
// SerialPort over Qt's QSerialPort: asynchronous, reports each arrival of text.
#include <QSerialPort>

#include "window/SerialPort.h"

namespace gradel {

class QtSerialPort : public SerialPort {
    Q_OBJECT

  public:
    explicit QtSerialPort(QObject* parent = nullptr);

    bool open(const QString& device) override;
    void close() override;
    bool isOpen() const override;
    QString device() const override;
    QString errorString() const override;
    PortRefusal refusal() const override;

    void write(const QByteArray& data) override;
    QByteArray readAll() override;
    qint64 bytesToWrite() const override;
    void discardInput() override;

    bool setDataTerminalReady(bool on) override;
    bool setRequestToSend(bool on) override;
    std::optional<bool> clearToSend() override;

  private:
    void onError(QSerialPort::SerialPortError error);

    QSerialPort port_;
    QString device_;
    QString openError_;
    PortRefusal refusal_;
    bool failed_ = false;  // a fatal error was reported since the last open
};

}  // namespace gradel
