#include "window/clsIniFile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QStringList>
#include <QWidget>
#include <string>

#include "scale/Sfmt.h"
#include "window/winsys/Twips.h"

namespace gradel {

namespace {

constexpr const char* kModule = "clsIniFile";

QString Path(const QString& section, const QString& key) {
    return section + '/' + key;
}

// The screen's size in twips (0 x 0 when there is no screen).
std::pair<double, double> ScreenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return {0.0, 0.0};
    return {Twips::FromPx(screen->geometry().width()), Twips::FromPx(screen->geometry().height())};
}

}  // namespace

// ---- WidgetPlacement ----

QString WidgetPlacement::Name() const {
    return widget_->objectName();
}
double WidgetPlacement::Left() const {
    return Twips::FromPx(widget_->x());
}
double WidgetPlacement::Top() const {
    return Twips::FromPx(widget_->y());
}
double WidgetPlacement::Width() const {
    return Twips::FromPx(widget_->width());
}
double WidgetPlacement::Height() const {
    return Twips::FromPx(widget_->height());
}

void WidgetPlacement::Move(double left, double top, std::optional<double> width,
                           std::optional<double> height) {
    widget_->move(Twips::ToPx(left), Twips::ToPx(top));
    if (width || height) {
        widget_->resize(width ? Twips::ToPx(*width) : widget_->width(),
                        height ? Twips::ToPx(*height) : widget_->height());
    }
}

// ---- clsIniFile ----

clsIniFile::clsIniFile(IErrorDialog& dialog) : clsIniFile(ExecutableName(), dialog) {}

clsIniFile::clsIniFile(QString applicationName, IErrorDialog& dialog)
    : dialog_(dialog), app_(std::move(applicationName)) {}

QString clsIniFile::ExecutableName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

QString clsIniFile::GetIni(const QString& sSection, const QString& sKey,
                           const QString& sDefault) const {
    if (sSection.isEmpty() || sKey.isEmpty()) return sDefault;
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, app_, app_);
    settings.setFallbacksEnabled(false);
    if (settings.status() != QSettings::NoError) return sDefault;
    const QString path = Path(sSection, sKey);
    if (!settings.contains(path)) return sDefault;
    const QVariant value = settings.value(path);
    // A value written by hand with commas and no quotes reads back as a list.
    if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(',');
    if (!value.canConvert<QString>()) return sDefault;
    return value.toString();
}

void clsIniFile::SaveIni(const QString& sSection, const QString& sKey, const QString& sValue) {
    if (sSection.isEmpty() || sKey.isEmpty()) throw RunTimeError::InvalidCall();
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, app_, app_);
    settings.setValue(Path(sSection, sKey), sValue);
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        throw RunTimeError(75, "Path/File access error");
    }
}

QVariant clsIniFile::DataBaseFile() {
    dataBaseFile_ = GetIni("Files", "DataBaseFile", "");
    return dataBaseFile_;
}

void clsIniFile::SetDataBaseFile(const QVariant& vData) {
    dataBaseFile_ = vData;
    SaveIni("Files", "DataBaseFile", vData.toString());
}

void clsIniFile::SavePosition(const IPlacedWindow& Obj) {
    ErrorTrap trap(dialog_, kModule, "SavePosition");
    trap.Run([&] { SaveIni("Forms", Obj.Name(), strPosition(Obj)); });
}

void clsIniFile::Reposition(IPlacedWindow& Obj) {
    ErrorTrap trap(dialog_, kModule, "Reposition");
    QString s;
    if (!trap.Run([&] { s = GetIni("Forms", Obj.Name(), ""); })) return;
    trap.Run([&] {
        if (!s.isEmpty()) {
            MoveTo(s, Obj);
        } else {
            const auto [screenWidth, screenHeight] = ScreenSize();
            Obj.Move((screenWidth - Obj.Width()) / 2, (screenHeight - Obj.Height()) / 2);
        }
    });
}

void clsIniFile::MoveTo(const QString& position, IPlacedWindow& Obj) {
    ErrorTrap trap(dialog_, kModule, "MoveTo");
    if (position.size() < 7) return;
    std::string rest = position.toStdString();
    std::string fields[3];
    for (auto& field : fields) {
        if (!trap.Run([&] { field = Sfmt::NextField(rest, ","); })) return;
    }
    trap.Run([&] {
        Obj.Move(Sfmt::LeadingNumber(fields[0]), Sfmt::LeadingNumber(fields[1]),
                 Sfmt::LeadingNumber(fields[2]), Sfmt::LeadingNumber(rest));
    });
}

QString clsIniFile::strPosition(const IPlacedWindow& Obj) {
    ErrorTrap trap(dialog_, kModule, "strPosition");
    QString s;
    trap.Run([&] {
        s = GeneralText(Obj.Left()) + ',' + GeneralText(Obj.Top()) + ',' +
            GeneralText(Obj.Width()) + ',' + GeneralText(Obj.Height());
    });
    return s;
}

QString clsIniFile::GeneralText(double value) {
    const auto single = static_cast<float>(value);
    if (single == 0.0f) return QStringLiteral("0");
    return QString::number(static_cast<double>(single), 'g', 7).toUpper();
}

}  // namespace gradel
