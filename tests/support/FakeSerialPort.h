#pragma once
// A serial port for tests: logs what the link does with it (opens, writes, closes, line
// settings) with the time of each step, and lets a test feed input, set the clear-to-send line,
// hold output back, refuse to open, or fail while open.
#include <QElapsedTimer>
#include <QSet>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "window/SerialPort.h"

namespace gradel::testing {

class FakeSerialPort : public SerialPort {
  public:
    FakeSerialPort() { clock_.start(); }

    // What the test sets.
    QSet<QString> refused;     // devices whose open fails
    PortRefusal refusedAs;     // why a refused device was refused
    std::optional<bool> cts;   // nullopt: the device cannot tell
    qint64 pendingOutput = 0;  // bytes that stay in the output buffer until drained
    bool drains = true;        // the output drains at the second look
    std::function<void(const std::string&)> onWrite;  // sees each write as it is made

    // Like a real port, it does not announce new text while the last announcement is handled.
    void feed(const QByteArray& text) {
        input_ += text;
        if (announcing_) return;
        announcing_ = true;
        emit dataArrived();
        announcing_ = false;
    }
    void pull(const QString& reason) { emit failed(reason); }
    void jam() {  // output that never drains
        pendingOutput = 1;
        drains = false;
    }

    // What the test reads: "open DEVICE", "refused DEVICE", "write TEXT", "close", "dtr 0",
    // "rts 1", "discard", "drained", each with its time in ms.
    std::vector<std::pair<std::string, qint64>> steps;
    std::vector<std::string> log(const std::string& prefix = "") const {
        std::vector<std::string> out;
        for (const auto& [what, ms] : steps)
            if (what.rfind(prefix, 0) == 0) out.push_back(what.substr(prefix.size()));
        return out;
    }
    std::string joined(const std::string& prefix = "", const std::string& between = ",") const {
        std::string all;
        for (const std::string& step : log(prefix)) all += (all.empty() ? "" : between) + step;
        return all;
    }
    std::string takeWritten() {  // the writes since the last look, as one text
        const std::string all = joined("write ", "");
        steps.clear();
        return all;
    }
    std::vector<qint64> times(const std::string& what) const {
        std::vector<qint64> out;
        for (const auto& [step, ms] : steps)
            if (step == what) out.push_back(ms);
        return out;
    }

    bool open(const QString& device) override {
        if (open_) return false;
        device_ = device;
        if (refused.contains(device)) {
            // What Qt says when it finds the lock file, whatever the user's rights.
            error_ = refusedAs.cause() == PortRefusal::Cause::Unknown
                         ? "No such file or directory"
                         : "Permission error while locking the device";
            note("refused " + device.toStdString());
            return false;
        }
        open_ = true;
        note("open " + device.toStdString());
        return true;
    }
    void close() override {
        if (open_) note("close");
        open_ = false;
    }
    bool isOpen() const override { return open_; }
    QString device() const override { return device_; }
    QString errorString() const override { return error_; }
    PortRefusal refusal() const override { return refusedAs; }
    void write(const QByteArray& data) override {
        note("write " + data.toStdString());
        if (onWrite) onWrite(data.toStdString());
    }
    QByteArray readAll() override { return std::exchange(input_, {}); }
    qint64 bytesToWrite() const override {
        auto* self = const_cast<FakeSerialPort*>(this);
        if (drains && ++self->looks_ >= 2 && pendingOutput > 0) {
            self->pendingOutput = 0;
            self->note("drained");
        }
        return pendingOutput;
    }
    void discardInput() override {
        input_.clear();
        note("discard");
    }
    bool setDataTerminalReady(bool on) override { return note(on ? "dtr 1" : "dtr 0"); }
    bool setRequestToSend(bool on) override { return note(on ? "rts 1" : "rts 0"); }
    std::optional<bool> clearToSend() override { return cts; }

  private:
    bool note(std::string what) {
        steps.emplace_back(std::move(what), clock_.elapsed());
        return false;  // lines cannot be switched, as on a pseudo-terminal
    }

    QElapsedTimer clock_;
    bool open_ = false;
    bool announcing_ = false;
    int looks_ = 0;
    QString device_;
    QString error_;
    QByteArray input_;
};

}  // namespace gradel::testing
