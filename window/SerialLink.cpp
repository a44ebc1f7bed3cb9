#include "window/SerialLink.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include "base/LatencyProbe.h"

#ifndef Q_OS_WIN
#include <grp.h>
#include <sys/stat.h>
#endif

namespace gradel {

namespace {

constexpr std::chrono::milliseconds kWaitTick{10};
// How long text may wait in the port when whoever held it does not take it: a safety net, never
// the way a hold is meant to end.
constexpr std::chrono::milliseconds kHoldGuard{100};

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

SerialLink::SerialLink(std::unique_ptr<SerialPort> port, PortTable table, QObject* parent)
    : QObject(parent), port_(std::move(port)), table_(std::move(table)) {
    connect(port_.get(), &SerialPort::dataArrived, this, &SerialLink::deliverInput);
    connect(port_.get(), &SerialPort::failed, this, &SerialLink::onFailed);
    holdGuard_ = new QTimer(this);
    holdGuard_->setSingleShot(true);
    holdGuard_->setInterval(kHoldGuard);
    connect(holdGuard_, &QTimer::timeout, this, &SerialLink::takeWaiting);
}

SerialLink::~SerialLink() {
    // Closing sends nothing.
    disconnect(port_.get(), nullptr, this, nullptr);
    port_->close();
}

bool SerialLink::isOpen() const {
    return port_->isOpen();
}

void SerialLink::togglePort(int16_t n) {
    if (n < 1) return;
    if (!isOpen())
        openPort(n);
    else
        closeAfterPoll();
}

bool SerialLink::openPort(int n) {
    if (isOpen()) close();
    const QString device = table_.device(n);
    if (device.isEmpty() || !port_->open(device)) {
        emit notice(openFailureText(n, device));
        return false;
    }
    openPort_ = n;
    ++opened_;
    port_->setDataTerminalReady(false);
    port_->setRequestToSend(true);
    port_->discardInput();
    lastCts_ = port_->clearToSend();
    identify();
    return true;
}

QString SerialLink::openFailureText(int n, const QString& device) const {
    if (device.isEmpty())
        return tr("%1 could not be opened: there is no such port.").arg(caption(n));
    const PortRefusal refusal = port_->refusal();
    if (refusal.cause() == PortRefusal::Cause::InUse) return inUseText(n, device, refusal);
    const bool denied = refusal.cause() == PortRefusal::Cause::NoPermission;
    QString text =
        tr("%1 (%2) could not be opened: %3.")
            .arg(caption(n), device, denied ? tr("Permission denied") : port_->errorString());
    if (denied) {
        QString group = OwnerGroup(device);
        if (group.isEmpty() || group == QLatin1String("root")) group = QStringLiteral("dialout");
        text += tr(" You are not allowed to use this device: join the group that owns it "
                   "(%1), for instance with \"sudo usermod -aG %1 $USER\", then log in again.")
                    .arg(group);
        if (refusal.pid() != 0) text += tr(" It is also ") + heldBy(refusal) + u'.';
    }
    return text;
}

// Qt's own reason ("Permission error while locking the device") would send the user after the
// group: the port is there and theirs, another program has it.
QString SerialLink::inUseText(int n, const QString& device, const PortRefusal& refusal) {
    return tr("%1 (%2) is ").arg(caption(n), device) + heldBy(refusal) +
           tr(". Close it there (or choose another port), then choose %1 again.").arg(caption(n));
}

QString SerialLink::heldBy(const PortRefusal& refusal) {
    QString text = tr("in use by another program");
    if (refusal.pid() == 0) return text;
    const QString program = refusal.program().isEmpty() ? tr("unnamed") : refusal.program();
    return text + tr(" (%1, process %2)").arg(program).arg(refusal.pid());
}

void SerialLink::closeAfterPoll() {
    if (!isOpen()) return;
    // A box being let go is not asked again: its answer would bring its scales back.
    ++identifyRound_;
    send("S0");
    const int draining = opened_;
    const bool alive = wait(drainLimit_, [this, draining] {
        return opened_ != draining || !port_->isOpen() || port_->bytesToWrite() == 0;
    });
    // A port opened during the wait (another choice in the menu) is not the one to close.
    if (alive && opened_ == draining) close();
}

void SerialLink::close() {
    ++identifyRound_;
    held_ = false;
    holdGuard_->stop();
    port_->close();
    openPort_ = 0;
    lastCts_.reset();
}

void SerialLink::identifyBox() {
    identify();
}

// The second "I0" goes by a timer rather than a wait, so nothing stops while the box is asked:
// at start-up the window is already up and the readings of a box that answers the first "I0"
// are shown at once. It goes only while the port the first went to is still open and not being
// let go: a port opened again or switched meanwhile is asked by its own pair.
void SerialLink::identify() {
    if (!isOpen()) return;
    send("I0");
    const int round = identifyRound_;
    ++identifying_;
    QTimer::singleShot(identifyPause_, this, [this, round] {
        --identifying_;
        if (round == identifyRound_ && isOpen()) send("I0");
    });
}

void SerialLink::send(const std::string& text) {
    if (!isOpen()) return;
    port_->write(QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

void SerialLink::pollLines() {
    if (!isOpen()) return;
    const std::optional<bool> cts = port_->clearToSend();
    if (!cts.has_value()) return;  // unknown: neither on nor off
    const std::optional<bool> before = lastCts_;
    lastCts_ = cts;
    if (!before.has_value() || *before == *cts) return;
    if (*cts)
        identify();
    else
        emit linesLost();
}

void SerialLink::deliverInput() {
    // Text that arrives while a handler further down is still busy with earlier text is picked
    // up by the waits' polling or by the next pass of this loop.
    QPointer<SerialLink> self(this);
    for (;;) {
        if (!self || !port_->isOpen()) return;
        const QByteArray data = port_->readAll();
        if (data.isEmpty()) return;
        if (LatencyProbe* probe = LatencyProbe::active()) {
            lastRead_ = LatencyProbe::Clock::now();
            probe->markRead(held_ ? heldSince_ : lastRead_);
        }
        emit textReceived(std::string(data.constData(), static_cast<std::size_t>(data.size())));
    }
}

void SerialLink::holdInput() {
    if (held_ || !isOpen()) return;
    held_ = true;
    heldSince_ = lastRead_;
    port_->setHeld(true);
    holdGuard_->start();
}

// The port watches again before the text is handed on, since a handler may wait (a prompt)
// and the device must not fill up meanwhile; the text taken here still counts from the hold.
void SerialLink::takeWaiting() {
    if (!held_) return;
    holdGuard_->stop();
    port_->setHeld(false);
    QPointer<SerialLink> self(this);
    deliverInput();
    if (!self) return;
    held_ = false;
}

void SerialLink::onFailed(const QString& reason) {
    if (!isOpen()) return;
    const int n = openPort_;
    const QString device = port_->device();
    QPointer<SerialLink> self(this);
    close();
    emit linesLost();
    if (!self) return;
    emit portFailed(n);
    if (!self) return;
    emit notice(tr("%1 (%2) stopped working and has been closed: %3. Its axes were removed. "
                   "Choose %1 in the Comport menu again when the device is back.")
                    .arg(caption(n), device, reason));
}

bool SerialLink::wait(std::chrono::milliseconds limit, const std::function<bool()>& done) {
    QPointer<SerialLink> self(this);
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer tick;
    tick.setInterval(kWaitTick);
    connect(&tick, &QTimer::timeout, &loop, [&] {
        if (!self) return loop.quit();
        deliverInput();
        if (!self) return loop.quit();
        if ((done && done()) || clock.elapsed() >= limit.count()) loop.quit();
    });
    if (!(done && done())) {
        tick.start();
        loop.exec();
    }
    return !self.isNull();
}

}  // namespace gradel
