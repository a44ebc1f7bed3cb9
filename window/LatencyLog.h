#pragma once
// The program's latency log, for measuring it: with GRADEL_LATENCY_LOG=path in the environment
// a LatencyProbe is made active for the run and its figures are written to `path` when the
// program ends; without it nothing is made and nothing is measured.
//
// A harness ends the program with SIGTERM, which would otherwise kill it before the figures are
// written, so while the log is on that signal quits the event loop instead.
#include <QObject>
#include <QString>
#include <memory>

#include "base/LatencyProbe.h"

class QSocketNotifier;

namespace gradel {

class LatencyLog : public QObject {
    Q_OBJECT

  public:
    // Null unless GRADEL_LATENCY_LOG names a file.
    static std::unique_ptr<LatencyLog> fromEnvironment();

    explicit LatencyLog(QString path);
    ~LatencyLog() override;  // writes the figures

  private:
    static void onTerm(int);

    QString path_;
    LatencyProbe probe_;
    QSocketNotifier* termNotifier_ = nullptr;
};

}  // namespace gradel
