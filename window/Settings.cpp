#include "window/Settings.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QStringList>
#include <QWidget>
#include <string>

#include "base/Twips.h"
#include "scale/TextFields.h"

namespace gradel {

namespace {

constexpr const char* kModule = "clsIniFile";

QString path(const QString& section, const QString& key) {
    return section + u'/' + key;
}

}  // namespace

Settings::Settings(ErrorPrompt* prompt) : Settings(executableName(), prompt) {}

Settings::Settings(QString applicationName, ErrorPrompt* prompt)
    : prompt_(prompt), app_(std::move(applicationName)) {}

QString Settings::executableName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

QString Settings::value(const QString& section, const QString& key, const QString& fallback) const {
    if (section.isEmpty() || key.isEmpty()) return fallback;
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, app_, app_);
    store.setFallbacksEnabled(false);
    if (store.status() != QSettings::NoError || !store.contains(path(section, key)))
        return fallback;
    const QVariant value = store.value(path(section, key));
    // A value written by hand with commas and no quotes reads back as a list.
    if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(u',');
    return value.canConvert<QString>() ? value.toString() : fallback;
}

void Settings::setValue(const QString& section, const QString& key, const QString& text) {
    if (section.isEmpty() || key.isEmpty()) throw Failure(Fault::InvalidArgument);
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, app_, app_);
    store.setValue(path(section, key), text);
    store.sync();
    if (store.status() != QSettings::NoError) throw Failure(Fault::SettingsNotWritable);
}

QString Settings::dataBaseFile() const {
    return value(QStringLiteral("Files"), QStringLiteral("DataBaseFile"), QString());
}

void Settings::setDataBaseFile(const QString& file) {
    setValue(QStringLiteral("Files"), QStringLiteral("DataBaseFile"), file);
}

void Settings::savePosition(const QWidget& window) {
    ErrorTrap trap(prompt(), kModule, "SavePosition");
    trap.run([&] { setValue(QStringLiteral("Forms"), window.objectName(), positionText(window)); });
}

void Settings::restorePosition(QWidget& window) {
    ErrorTrap trap(prompt(), kModule, "Reposition");
    const QString position = value(QStringLiteral("Forms"), window.objectName());
    trap.run([&] {
        if (!position.isEmpty()) return moveTo(position, window);
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QSize area = screen ? screen->geometry().size() : QSize(0, 0);
        window.move(Twips::toPx(Twips::fromPx(area.width() - window.width()) / 2),
                    Twips::toPx(Twips::fromPx(area.height() - window.height()) / 2));
    });
}

void Settings::moveTo(const QString& position, QWidget& window) {
    ErrorTrap trap(prompt(), kModule, "MoveTo");
    if (position.size() < 7) return;
    std::string rest = position.toStdString();
    double numbers[4] = {};
    for (int i = 0; i < 3; ++i) {
        std::string field;
        if (!trap.run([&] { field = TextFields::nextField(rest, ","); })) return;
        numbers[i] = TextFields::leadingNumber(field);
    }
    numbers[3] = TextFields::leadingNumber(rest);
    window.move(Twips::toPx(numbers[0]), Twips::toPx(numbers[1]));
    window.resize(Twips::toPx(numbers[2]), Twips::toPx(numbers[3]));
}

QString Settings::positionText(const QWidget& window) {
    return generalText(Twips::fromPx(window.x())) + u',' + generalText(Twips::fromPx(window.y())) +
           u',' + generalText(Twips::fromPx(window.width())) + u',' +
           generalText(Twips::fromPx(window.height()));
}

QString Settings::generalText(double value) {
    const auto single = static_cast<float>(value);
    if (single == 0.0f) return QStringLiteral("0");
    return QString::number(static_cast<double>(single), 'g', 7).toUpper();
}

}  // namespace gradel
