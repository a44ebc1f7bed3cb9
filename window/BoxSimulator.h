#pragma once
// Starts gradel-boxsim, the simulated interface box, and learns the path of its terminal. The
// simulator stops when this object goes (and by itself if the program dies: it watches its
// standard input).
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace gradel {

class BoxSimulator : public QObject {
    Q_OBJECT

  public:
    explicit BoxSimulator(QObject* parent = nullptr);
    ~BoxSimulator() override;

    // Where the simulator is: $GRADEL_BOXSIM, else beside the program, else in the build
    // tree's tools/boxsim folder seen from the program's or a test's folder. Empty if nowhere.
    static QString locate();

    // Starts it with extra options; false (and `error` filled) if it did not give its path.
    bool start(const QStringList& options, QString* error = nullptr);
    void stop();
    QString path() const { return path_; }

  private:
    QProcess process_;
    QString path_;
};

}  // namespace gradel
