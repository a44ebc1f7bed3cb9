#pragma once
// A serial port for tests: records what the link does with it (opens, writes, closes, line
// settings) with the time of each step, and lets a test feed input, set the clear-to-send line,
// hold output back, refuse to open, or fail while open.
#include <QElapsedTimer>
#include <QSet>
#include <QString>
#include <string>
#include <vector>

#include "window/ISerialPort.h"

namespace gradel::testing {

struct PortStep {
    std::string what;  // "open DEVICE", "write TEXT", "close", "dtr 0", "rts 1", "discard"
    qint64 ms;         // time since the fake was made
};

class FakeSerialPort : public ISerialPort {
  public:
    FakeSerialPort() { clock_.start(); }

    // --- what the test controls
    QSet<QString> refused;  // devices whose Open fails
    bool refuseWithPermission = false;
    std::optional<bool> cts;   // nullopt: the device cannot tell
    qint64 pendingOutput = 0;  // bytes that stay "in the output buffer"
    bool drainOnPoll = true;   // pendingOutput empties ("drained") at the second query

    void Feed(const QByteArray& text) {
        input_ += text;
        emit DataArrived();
    }
    void Pull(const QString& reason) { emit Failed(reason); }

    // --- what the test reads
    std::vector<PortStep> steps;
    std::vector<std::string> Steps() const {
        std::vector<std::string> out;
        for (const PortStep& s : steps) out.push_back(s.what);
        return out;
    }
    std::vector<std::string> Writes() const {
        std::vector<std::string> out;
        for (const PortStep& s : steps)
            if (s.what.rfind("write ", 0) == 0) out.push_back(s.what.substr(6));
        return out;
    }
    std::vector<qint64> WriteTimes(const std::string& text) const {
        std::vector<qint64> out;
        for (const PortStep& s : steps)
            if (s.what == "write " + text) out.push_back(s.ms);
        return out;
    }
    int bytesToWriteQueries = 0;

    // --- ISerialPort
    bool Open(const QString& device) override {
        if (open_) return false;
        device_ = device;
        if (refused.contains(device)) {
            error_ = refuseWithPermission ? QStringLiteral("Permission denied")
                                          : QStringLiteral("No such file or directory");
            Log("refused " + device.toStdString());
            return false;
        }
        open_ = true;
        Log("open " + device.toStdString());
        return true;
    }
    void Close() override {
        if (!open_) return;
        open_ = false;
        Log("close");
    }
    bool IsOpen() const override { return open_; }
    QString Device() const override { return device_; }
    QString ErrorString() const override { return error_; }
    bool PermissionDenied() const override { return refuseWithPermission; }
    void Write(const QByteArray& data) override { Log("write " + data.toStdString()); }
    QByteArray ReadAll() override {
        QByteArray out;
        out.swap(input_);
        return out;
    }
    qint64 BytesToWrite() const override {
        auto* self = const_cast<FakeSerialPort*>(this);
        ++self->bytesToWriteQueries;
        if (drainOnPoll && bytesToWriteQueries >= 2 && pendingOutput > 0) {
            self->pendingOutput = 0;
            self->Log("drained");
        }
        return pendingOutput;
    }
    void DiscardInput() override {
        input_.clear();
        Log("discard");
    }
    bool SetDataTerminalReady(bool on) override {
        Log(on ? "dtr 1" : "dtr 0");
        return false;
    }
    bool SetRequestToSend(bool on) override {
        Log(on ? "rts 1" : "rts 0");
        return false;
    }
    std::optional<bool> ClearToSend() override { return cts; }

  private:
    void Log(std::string what) { steps.push_back({std::move(what), clock_.elapsed()}); }

    QElapsedTimer clock_;
    bool open_ = false;
    QString device_;
    QString error_;
    QByteArray input_;
};

}  // namespace gradel::testing
