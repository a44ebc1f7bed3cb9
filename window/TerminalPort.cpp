#include "window/TerminalPort.h"

#include <QFile>
#include <QPointer>
#include <QSocketNotifier>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace gradel {

TerminalPort::TerminalPort(QObject* parent) : SerialPort(parent) {}

TerminalPort::~TerminalPort() {
    close();
}

// Raw at 115200 baud, 8N1, no flow control of either kind. VMIN 1 makes a read of an empty
// device say "try again" rather than "end of file", so an end of file means the device is gone.
bool TerminalPort::open(const QString& device) {
    close();
    device_ = device;
    openError_.clear();
    refusal_ = {};
    failed_ = false;
    const QByteArray path = QFile::encodeName(device);
    fd_ = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) return refuse(errno);
    // The line is this program's alone: a second copy is refused (the lock on the device), and
    // so is any other program that is not the superuser's (exclusive mode); programs that look
    // for a lock file first find ours.
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0 || !takeLockFile()) return refuse(EBUSY);
    if (::ioctl(fd_, TIOCEXCL) != 0) return refuse(errno);  // not a terminal
    exclusive_ = true;
    termios t{};
    if (::tcgetattr(fd_, &t) != 0) return refuse(errno);
    ::cfmakeraw(&t);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    t.c_cflag |= CS8 | CLOCAL | CREAD;
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    ::cfsetispeed(&t, B115200);
    ::cfsetospeed(&t, B115200);
    if (::tcsetattr(fd_, TCSANOW, &t) != 0) return refuse(errno);
    ++opens_;
    held_ = false;
    reader_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    connect(reader_, &QSocketNotifier::activated, this, &TerminalPort::announce);
    writer_ = new QSocketNotifier(fd_, QSocketNotifier::Write, this);
    writer_->setEnabled(false);
    connect(writer_, &QSocketNotifier::activated, this, &TerminalPort::sendWaiting);
    return true;
}

// In the first lock folder this user may write to. None writable is no reason to refuse the
// port: the device's own lock still keeps it to this program.
bool TerminalPort::takeLockFile() {
    for (const QString& folder : PortRefusal::System::live().lockFolders) {
        auto lock = std::make_unique<QLockFile>(folder + u'/' + PortRefusal::lockName(device_));
        lock->setStaleLockTime(0);  // a lock is stale only when its process is gone
        if (lock->tryLock(0)) {
            lockFile_ = std::move(lock);
            return true;
        }
        if (lock->error() == QLockFile::LockFailedError) return false;
    }
    return true;
}

bool TerminalPort::refuse(int error) {
    close();  // whatever the open had taken is let go again
    openError_ = QString::fromLocal8Bit(std::strerror(error));
    if (error == EACCES || error == EPERM || error == EBUSY)
        refusal_ = PortRefusal::examine(device_);
    return false;
}

void TerminalPort::close() {
    if (fd_ < 0) return;
    delete reader_;
    delete writer_;
    reader_ = writer_ = nullptr;
    // A pseudo-terminal keeps its exclusive mode after the last close while its other end is
    // open, and would refuse the next open by anybody but the superuser. Only this open's own
    // mode is let go: a refused open leaves the holder's alone.
    if (exclusive_) ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);  // lets go of the device's lock too
    fd_ = -1;
    exclusive_ = false;
    lockFile_.reset();
    output_.clear();
    input_.clear();
    held_ = false;
    announcing_ = false;
}

// Each arrival is read at once into the port's own buffer, so the device's never overflows
// however long a handler takes (one showing a prompt, say). It is announced unless the last
// announcement is still being handled; that handler's next readAll() takes it.
void TerminalPort::announce() {
    input_ += takeFromDevice();
    if (announcing_ || input_.isEmpty()) return;
    QPointer<TerminalPort> self(this);
    const int open = opens_;
    announcing_ = true;
    emit dataArrived();
    if (!self || open != opens_) return;
    announcing_ = false;
}

void TerminalPort::watch() {
    if (reader_) reader_->setEnabled(!held_ && !failed_);
}

void TerminalPort::setHeld(bool held) {
    held_ = held;
    watch();
}

// Text an arrival has just read is handed on as it is: the device was emptied by that read, and
// asking it again at once would only be told there is nothing. What came since is announced.
QByteArray TerminalPort::readAll() {
    if (input_.isEmpty()) return takeFromDevice();
    QByteArray text;
    text.swap(input_);
    return text;
}

// An end of file, or any failure but "nothing there", means the device has gone (the other end
// of a pseudo-terminal closed, an adapter pulled out). What was read before is handed on; the
// failure is reported after it, once, from the event loop.
QByteArray TerminalPort::takeFromDevice() {
    QByteArray text;
    if (fd_ < 0 || failed_) return text;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n > 0) {
            text.append(buffer, n);
            // A read that did not fill the buffer took all the terminal held just then; asking
            // again would almost always be told there is nothing (a system call a frame at the
            // box's line rate). Whatever comes after is announced again, or read by the next take.
            if (n < static_cast<ssize_t>(sizeof buffer)) break;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
        failed_ = true;
        watch();
        const int open = opens_;
        QMetaObject::invokeMethod(
            this,
            [this, open] {
                if (open == opens_ && isOpen()) emit failed(tr("the device can no longer be read"));
            },
            Qt::QueuedConnection);
        break;
    }
    return text;
}

void TerminalPort::write(const QByteArray& data) {
    if (fd_ < 0) return;
    output_ += data;
    sendWaiting();
}

// As much as the device takes now; the rest when it can take more. A device that refuses
// writes for good shows as failing on the reading side, so its output is dropped here.
void TerminalPort::sendWaiting() {
    while (fd_ >= 0 && !output_.isEmpty()) {
        const ssize_t n = ::write(fd_, output_.constData(), static_cast<size_t>(output_.size()));
        if (n > 0) {
            output_.remove(0, n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (!(n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))) output_.clear();
        break;
    }
    if (writer_) writer_->setEnabled(!output_.isEmpty());
}

// What waits in the device and what was already read from it.
void TerminalPort::discardInput() {
    input_.clear();
    if (fd_ >= 0) ::tcflush(fd_, TCIFLUSH);
}

bool TerminalPort::setLine(int line, bool on) {
    return fd_ >= 0 && ::ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &line) == 0;
}

bool TerminalPort::setDataTerminalReady(bool on) {
    return setLine(TIOCM_DTR, on);
}

bool TerminalPort::setRequestToSend(bool on) {
    return setLine(TIOCM_RTS, on);
}

std::optional<bool> TerminalPort::clearToSend() {
    int lines = 0;
    if (fd_ < 0 || ::ioctl(fd_, TIOCMGET, &lines) != 0) return std::nullopt;
    return (lines & TIOCM_CTS) != 0;
}

}  // namespace gradel
