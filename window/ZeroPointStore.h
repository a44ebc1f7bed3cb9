#pragma once
// Keeps the zero points in the settings, section [ZeroPoints]: under each scale's key its ten
// origins in inches as the box counts them (so they mean the same whichever way its panel
// counts), and under "active" the active point. They are written whenever they change and read
// back when a scale comes (back): calipers and many boxes keep their absolute count across a
// dropped port and a restart, so the points still mark the same places on the machine.
//
// What was written is also kept here, so a scale that drops and comes back gets its points even
// when the settings cannot be written; the first fault of a run of failing writes is reported.
#include <QHash>
#include <QString>

#include "base/ErrorTrap.h"

namespace gradel {

class Scale;

class ZeroPointStore {
  public:
    // `prompt` answers the faults of writing (null: the default prompt).
    explicit ZeroPointStore(ErrorPrompt* prompt = nullptr) : prompt_(prompt) {}

    int activePoint() const;
    void saveActivePoint(int point);
    // The scale's points as last saved; a scale never saved keeps the ones it has.
    void restore(Scale& scale) const;
    void save(const Scale& scale);

  private:
    QString stored(const QString& name) const;
    void write(const QString& name, const QString& text);

    ErrorPrompt* prompt_;
    QHash<QString, QString> written_;
    bool failing_ = false;
};

}  // namespace gradel
