#pragma once
// Free text attached to any control, as the panels use it to carry their scale's key.
#include <QObject>
#include <QString>
#include <QVariant>

namespace gradel {

inline void SetTag(QObject* o, const QString& tag) { o->setProperty("Tag", tag); }
inline QString Tag(const QObject* o) { return o->property("Tag").toString(); }

}  // namespace gradel
