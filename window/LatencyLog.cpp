#include "window/LatencyLog.h"

#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>
#include <csignal>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace gradel {

namespace {

int termPipe[2] = {-1, -1};  // the signal handler's write end, the notifier's read end

}  // namespace

std::unique_ptr<LatencyLog> LatencyLog::fromEnvironment() {
    const QString path = qEnvironmentVariable("GRADEL_LATENCY_LOG");
    if (path.isEmpty()) return nullptr;
    return std::make_unique<LatencyLog>(path);
}

LatencyLog::LatencyLog(QString path) : path_(std::move(path)) {
    LatencyProbe::setActive(&probe_);
#ifndef Q_OS_WIN
    // Only a write is safe inside a signal handler; the quit happens in the event loop.
    if (termPipe[0] < 0 && ::pipe(termPipe) == 0) {
        termNotifier_ = new QSocketNotifier(termPipe[0], QSocketNotifier::Read, this);
        connect(termNotifier_, &QSocketNotifier::activated, this, [] { QCoreApplication::quit(); });
        std::signal(SIGTERM, &LatencyLog::onTerm);
    }
#endif
}

void LatencyLog::onTerm(int) {
#ifndef Q_OS_WIN
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(termPipe[1], &byte, 1);
#endif
}

LatencyLog::~LatencyLog() {
    LatencyProbe::setActive(nullptr);
    QFile file(path_);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(QByteArray::fromStdString(probe_.summary()));
}

}  // namespace gradel
