#include "window/BoxSimulator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace gradel {

namespace {
constexpr int kStartMs = 5000;
}

BoxSimulator::BoxSimulator(QObject* parent) : QObject(parent) {
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

BoxSimulator::~BoxSimulator() {
    stop();
}

QString BoxSimulator::locate() {
    const QString fromEnv = qEnvironmentVariable("GRADEL_BOXSIM");
    if (!fromEnv.isEmpty()) return QFileInfo(fromEnv).isExecutable() ? fromEnv : QString();
    const QDir here(QCoreApplication::applicationDirPath());
    for (const QString& relative :
         {QStringLiteral("gradel-boxsim"), QStringLiteral("../tools/boxsim/gradel-boxsim"),
          QStringLiteral("../../tools/boxsim/gradel-boxsim")}) {
        const QFileInfo candidate(here.filePath(relative));
        if (candidate.isFile() && candidate.isExecutable()) return candidate.canonicalFilePath();
    }
    return {};
}

bool BoxSimulator::start(const QStringList& options, QString* error) {
    stop();
    const QString program = locate();
    auto fail = [&](const QString& why) {
        if (error) *error = why;
        stop();
        return false;
    };
    if (program.isEmpty()) return fail(tr("the simulated box (gradel-boxsim) was not found"));
    process_.start(program, QStringList(options) << QStringLiteral("--exit-on-stdin-eof"));
    if (!process_.waitForStarted(kStartMs))
        return fail(tr("gradel-boxsim did not start: %1").arg(process_.errorString()));
    while (!process_.canReadLine()) {
        if (process_.state() != QProcess::Running || !process_.waitForReadyRead(kStartMs))
            return fail(tr("gradel-boxsim gave no terminal"));
    }
    path_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
    if (path_.isEmpty()) return fail(tr("gradel-boxsim gave no terminal"));
    return true;
}

void BoxSimulator::stop() {
    path_.clear();
    if (process_.state() == QProcess::NotRunning) return;
    process_.closeWriteChannel();  // it stops when its input closes
    if (!process_.waitForFinished(2000)) {
        process_.kill();
        process_.waitForFinished(2000);
    }
}

}  // namespace gradel
