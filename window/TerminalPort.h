#pragma once
// The serial port on a POSIX system, straight on the terminal device: opened raw at the box's
// line settings (115200 baud, 8N1, no flow control) and kept for this program alone.
//
// Unlike a general-purpose port it can stop watching the device for a while. At the box's full
// line rate a new reading arrives every millisecond, and each one woke the program up, a
// thousand times a second, although the display shows at most one frame in sixteen
// milliseconds; while held, arriving text waits in the device and costs nothing until it is
// read.
#include <QByteArray>
#include <QLockFile>
#include <QString>
#include <memory>

#include "window/SerialPort.h"

class QSocketNotifier;

namespace gradel {

class TerminalPort : public SerialPort {
    Q_OBJECT

  public:
    explicit TerminalPort(QObject* parent = nullptr);
    ~TerminalPort() override;

    bool open(const QString& device) override;
    void close() override;
    bool isOpen() const override { return fd_ >= 0; }
    QString device() const override { return device_; }
    QString errorString() const override { return openError_; }
    PortRefusal refusal() const override { return refusal_; }

    void write(const QByteArray& data) override;
    // The text read at the last arrival, or else whatever waits in the device, held or not.
    QByteArray readAll() override;
    qint64 bytesToWrite() const override { return output_.size(); }
    void discardInput() override;

    bool setDataTerminalReady(bool on) override;
    bool setRequestToSend(bool on) override;
    std::optional<bool> clearToSend() override;

    void setHeld(bool held) override;

  private:
    bool refuse(int error);
    QByteArray takeFromDevice();
    // The lock file other serial programs look for; false when another program has it.
    bool takeLockFile();
    void announce();
    void sendWaiting();
    void watch();
    bool setLine(int line, bool on);

    int fd_ = -1;
    int opens_ = 0;  // a failure found on one open is not reported on a later one
    QString device_;
    QString openError_;
    PortRefusal refusal_;
    std::unique_ptr<QLockFile> lockFile_;
    QSocketNotifier* reader_ = nullptr;
    QSocketNotifier* writer_ = nullptr;
    QByteArray output_;  // written, not yet taken by the device
    QByteArray input_;   // read from the device, not yet handed on
    bool exclusive_ = false;  // this open set the terminal's exclusive mode
    bool held_ = false;
    bool announcing_ = false;
    bool failed_ = false;
};

}  // namespace gradel
