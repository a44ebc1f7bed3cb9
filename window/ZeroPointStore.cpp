#include "window/ZeroPointStore.h"

#include <QStringList>
#include <cmath>
#include <utility>

#include "scale/Scale.h"
#include "window/Settings.h"

namespace gradel {

namespace {

const QString kSection = QStringLiteral("ZeroPoints");
const QString kActive = QStringLiteral("active");

// A scale's entry name: its key, or its character code where the key is no letter or digit
// (the settings file gives "/" and "\" meanings of their own).
QString entryName(const std::string& key) {
    const QString text = QString::fromStdString(key);
    if (!text.isEmpty() && text.at(0).isLetterOrNumber()) return text;
    return QStringLiteral("char%1").arg(text.isEmpty() ? 0 : text.at(0).unicode());
}

// Nine significant digits give every float back exactly.
QString originsText(const Scale::Origins& origins) {
    QStringList numbers;
    for (float origin : origins) numbers << QString::number(static_cast<double>(origin), 'g', 9);
    return numbers.join(u',');
}

}  // namespace

ZeroPointStore::ZeroPointStore(ErrorPrompt* prompt) : prompt_(prompt) {
    hold_.setSingleShot(true);
    hold_.setInterval(std::chrono::milliseconds(500));
    QObject::connect(&hold_, &QTimer::timeout, [this] { holdRanOut(); });
}

// Too late to ask anyone about a fault: the error prompt may be gone already.
ZeroPointStore::~ZeroPointStore() {
    failing_ = true;
    flush();
}

int ZeroPointStore::activePoint() const {
    bool ok = false;
    const int point = stored(kActive).toInt(&ok);
    return ok && point >= 0 && point < Scale::kZeroPoints ? point : 0;
}

void ZeroPointStore::saveActivePoint(int point) {
    write(kActive, QString::number(point));
}

// A damaged entry gives what it can: a number that does not read is a point at the zero.
void ZeroPointStore::restore(Scale& scale) const {
    const QStringList numbers = stored(entryName(scale.key())).split(u',', Qt::SkipEmptyParts);
    if (numbers.isEmpty()) return;
    Scale::Origins origins{};
    for (int i = 0; i < Scale::kZeroPoints && i < numbers.size(); ++i) {
        const float origin = numbers[i].trimmed().toFloat();
        origins[static_cast<std::size_t>(i)] = std::isfinite(origin) ? origin : 0;
    }
    scale.setOrigins(origins);
}

void ZeroPointStore::save(const Scale& scale) {
    write(entryName(scale.key()), originsText(scale.origins()));
}

QString ZeroPointStore::stored(const QString& name) const {
    const auto it = written_.constFind(name);
    return it != written_.cend() ? *it : Settings(prompt_).value(kSection, name);
}

void ZeroPointStore::write(const QString& name, const QString& text) {
    if (stored(name) == text) return;
    written_.insert(name, text);
    unsaved_.insert(name, text);
    if (hold_.isActive()) return;
    flush();
    hold_.start();
}

void ZeroPointStore::holdRanOut() {
    if (unsaved_.isEmpty()) return;
    flush();
    hold_.start();
}

void ZeroPointStore::flush() {
    const QHash<QString, QString> unsaved = std::exchange(unsaved_, {});
    for (auto it = unsaved.cbegin(); it != unsaved.cend(); ++it) writeNow(it.key(), it.value());
}

// While writes keep failing, only the first failure is reported.
void ZeroPointStore::writeNow(const QString& name, const QString& text) {
    bool wrote = false;
    auto step = [&] {
        Settings(prompt_).setValue(kSection, name, text);
        wrote = true;
    };
    if (failing_) {
        try {
            step();
        } catch (const Failure&) {
        }
    } else {
        ErrorTrap trap(prompt_ ? *prompt_ : defaultErrorPrompt(), "ZeroPointStore", "Save");
        trap.run(step);
    }
    failing_ = !wrote;
}

}  // namespace gradel
