#include "window/QtSerialPort.h"

namespace gradel {

QtSerialPort::QtSerialPort(QObject* parent) : SerialPort(parent) {
    connect(&port_, &QSerialPort::readyRead, this, &SerialPort::dataArrived);
    connect(&port_, &QSerialPort::errorOccurred, this, &QtSerialPort::onError);
}

bool QtSerialPort::open(const QString& device) {
    close();
    device_ = device;
    openError_.clear();
    refusal_ = {};
    failed_ = false;
    port_.setPortName(device);
    port_.setBaudRate(QSerialPort::Baud115200);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!port_.open(QIODevice::ReadWrite)) {
        // Qt calls a device held by another program a permission error too.
        if (port_.error() == QSerialPort::PermissionError) refusal_ = PortRefusal::examine(device);
        openError_ = port_.errorString();
        port_.clearError();
        return false;
    }
    return true;
}

void QtSerialPort::close() {
    if (port_.isOpen()) port_.close();
    port_.clearError();
}

bool QtSerialPort::isOpen() const {
    return port_.isOpen();
}

QString QtSerialPort::device() const {
    return device_;
}

QString QtSerialPort::errorString() const {
    return openError_;
}

PortRefusal QtSerialPort::refusal() const {
    return refusal_;
}

void QtSerialPort::write(const QByteArray& data) {
    if (port_.isOpen()) port_.write(data);
}

QByteArray QtSerialPort::readAll() {
    return port_.isOpen() ? port_.readAll() : QByteArray();
}

qint64 QtSerialPort::bytesToWrite() const {
    return port_.isOpen() ? port_.bytesToWrite() : 0;
}

void QtSerialPort::discardInput() {
    if (!port_.isOpen()) return;
    port_.clear(QSerialPort::Input);
    port_.readAll();  // and whatever Qt had buffered already
}

bool QtSerialPort::setDataTerminalReady(bool on) {
    if (!port_.isOpen()) return false;
    const bool ok = port_.setDataTerminalReady(on);
    if (!ok) port_.clearError();  // pseudo-terminals cannot: not a fault of the port
    return ok;
}

bool QtSerialPort::setRequestToSend(bool on) {
    if (!port_.isOpen()) return false;
    const bool ok = port_.setRequestToSend(on);
    if (!ok) port_.clearError();
    return ok;
}

std::optional<bool> QtSerialPort::clearToSend() {
    if (!port_.isOpen()) return std::nullopt;
    port_.clearError();
    const QSerialPort::PinoutSignals pins = port_.pinoutSignals();
    if (port_.error() != QSerialPort::NoError) {
        port_.clearError();
        return std::nullopt;  // the device cannot tell
    }
    return pins.testFlag(QSerialPort::ClearToSendSignal);
}

void QtSerialPort::onError(QSerialPort::SerialPortError error) {
    // A device that went away shows as a resource error (USB adapter pulled out) or as reads
    // that end (the other end of a pseudo-terminal closed); either way the port is dead.
    const bool fatal = error == QSerialPort::ResourceError || error == QSerialPort::ReadError;
    if (!fatal || !port_.isOpen() || failed_) return;
    failed_ = true;
    emit failed(error == QSerialPort::ReadError ? tr("the device can no longer be read")
                                                : port_.errorString());
}

}  // namespace gradel
