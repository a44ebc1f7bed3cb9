#pragma once
// Keeps the zero points in the settings, section [ZeroPoints]: under each scale's key its ten
// origins in inches as the box counts them (so they mean the same whichever way its panel
// counts), and under "active" the active point. They are written whenever they change and read
// back when a scale comes (back): calipers and many boxes keep their absolute count across a
// dropped port and a restart, so the points still mark the same places on the machine.
//
// A change is written at once, and then at most once per hold (half a second): an Adj drag
// changes a point at every mouse move, and each write rewrites the whole file (about a
// millisecond here; far more, and wear, on a small board's flash card). What the hold keeps
// back is written when it runs out, and at once by flush (the window closing, the port
// dropping), so the last value is never lost.
//
// What was written is also kept here, so a scale that drops and comes back gets its points even
// when the settings cannot be written; the first fault of a run of failing writes is reported.
#include <QHash>
#include <QString>
#include <QTimer>
#include <chrono>

#include "base/ErrorTrap.h"

namespace gradel {

class Scale;

class ZeroPointStore {
  public:
    // `prompt` answers the faults of writing (null: the default prompt).
    explicit ZeroPointStore(ErrorPrompt* prompt = nullptr);
    ~ZeroPointStore();  // writes what is held back, reporting nothing

    int activePoint() const;
    void saveActivePoint(int point);
    // The scale's points as last saved; a scale never saved keeps the ones it has.
    void restore(Scale& scale) const;
    void save(const Scale& scale);
    // Writes what the hold keeps back now.
    void flush();

    void setHold(std::chrono::milliseconds hold) { hold_.setInterval(hold); }
    bool isHolding() const { return hold_.isActive(); }

  private:
    QString stored(const QString& name) const;
    void write(const QString& name, const QString& text);
    void writeNow(const QString& name, const QString& text);
    void holdRanOut();

    ErrorPrompt* prompt_;
    QHash<QString, QString> written_;  // what the settings hold, or will once flushed
    QHash<QString, QString> unsaved_;  // kept back by the hold
    QTimer hold_;
    bool failing_ = false;
};

}  // namespace gradel
