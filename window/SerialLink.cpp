#include "window/SerialLink.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#ifndef Q_OS_WIN
#include <grp.h>
#include <sys/stat.h>
#endif

namespace {

constexpr std::chrono::milliseconds kWaitTick{10};

// Name of the group that owns a device node, or an empty text.
QString OwnerGroup(const QString& device) {
#ifdef Q_OS_WIN
    Q_UNUSED(device);
    return {};
#else
    struct stat st {};
    if (::stat(device.toLocal8Bit().constData(), &st) != 0) return {};
    const group* g = ::getgrgid(st.st_gid);
    return g ? QString::fromLocal8Bit(g->gr_name) : QString();
#endif
}

}  // namespace

SerialLink::SerialLink(std::unique_ptr<ISerialPort> port, PortTable table, QObject* parent)
    : QObject(parent), port_(std::move(port)), table_(std::move(table)) {
    connect(port_.get(), &ISerialPort::DataArrived, this, &SerialLink::DeliverInput);
    connect(port_.get(), &ISerialPort::Failed, this, &SerialLink::OnFailed);
}

SerialLink::~SerialLink() {
    // Closing sends nothing.
    disconnect(port_.get(), nullptr, this, nullptr);
    port_->Close();
}

bool SerialLink::PortOpen() const {
    return port_->IsOpen();
}

void SerialLink::TogglePort(int16_t n) {
    if (n < 1) return;
    if (!PortOpen())
        OpenPort(n);
    else
        CloseAfterPoll();
}

bool SerialLink::OpenPort(int n) {
    if (PortOpen()) Close();
    const QString device = table_.Device(n);
    if (device.isEmpty() || !port_->Open(device)) {
        emit Notice(OpenFailureText(n, device));
        return false;
    }
    openPort_ = n;
    port_->SetDataTerminalReady(false);
    port_->SetRequestToSend(true);
    port_->DiscardInput();
    lastCts_ = port_->ClearToSend();
    Identify();
    return true;
}

QString SerialLink::OpenFailureText(int n, const QString& device) const {
    if (device.isEmpty())
        return tr("%1 could not be opened: there is no such port.").arg(Caption(n));
    QString text =
        tr("%1 (%2) could not be opened: %3.").arg(Caption(n), device, port_->ErrorString());
    if (port_->PermissionDenied()) {
        QString group = OwnerGroup(device);
        if (group.isEmpty() || group == QLatin1String("root")) group = QStringLiteral("dialout");
        text += tr(" You are not allowed to use this device: join the group that owns it "
                   "(%1), for instance with \"sudo usermod -aG %1 $USER\", then log in again.")
                    .arg(group);
    }
    return text;
}

void SerialLink::CloseAfterPoll() {
    if (!PortOpen()) return;
    Send("S0");
    const bool alive =
        Wait(drainLimit_, [this] { return !port_->IsOpen() || port_->BytesToWrite() == 0; });
    if (!alive) return;
    Close();
}

void SerialLink::Close() {
    port_->Close();
    openPort_ = 0;
    lastCts_.reset();
}

void SerialLink::IdentifyBox() {
    Identify();
}

bool SerialLink::Identify() {
    if (!PortOpen()) return true;
    Send("I0");
    if (!Wait(identifyPause_, {})) return false;
    Send("I0");
    return true;
}

void SerialLink::Send(const std::string& text) {
    if (!PortOpen()) return;
    port_->Write(QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

void SerialLink::PollLines() {
    if (!PortOpen()) return;
    const std::optional<bool> cts = port_->ClearToSend();
    if (!cts.has_value()) return;  // unknown: neither on nor off
    const std::optional<bool> before = lastCts_;
    lastCts_ = cts;
    if (!before.has_value() || *before == *cts) return;
    if (*cts)
        Identify();
    else
        emit LinesLost();
}

void SerialLink::DeliverInput() {
    // Text that arrives while a handler further down is still busy with earlier text is picked
    // up by the waits' polling or by the next pass of this loop.
    QPointer<SerialLink> self(this);
    for (;;) {
        if (!self || !port_->IsOpen()) return;
        const QByteArray data = port_->ReadAll();
        if (data.isEmpty()) return;
        emit TextReceived(std::string(data.constData(), static_cast<std::size_t>(data.size())));
    }
}

void SerialLink::OnFailed(const QString& reason) {
    if (!PortOpen()) return;
    const int n = openPort_;
    const QString device = port_->Device();
    QPointer<SerialLink> self(this);
    Close();
    emit LinesLost();
    if (!self) return;
    emit PortFailed(n);
    if (!self) return;
    emit Notice(tr("%1 (%2) stopped working and has been closed: %3. Its axes were removed. "
                   "Choose %1 in the Comport menu again when the device is back.")
                    .arg(Caption(n), device, reason));
}

bool SerialLink::Wait(std::chrono::milliseconds limit, const std::function<bool()>& done) {
    QPointer<SerialLink> self(this);
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer tick;
    tick.setInterval(kWaitTick);
    connect(&tick, &QTimer::timeout, &loop, [&] {
        if (!self) return loop.quit();
        DeliverInput();
        if (!self) return loop.quit();
        if ((done && done()) || clock.elapsed() >= limit.count()) loop.quit();
    });
    if (!(done && done())) {
        tick.start();
        loop.exec();
    }
    return !self.isNull();
}
