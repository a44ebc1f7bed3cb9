#pragma once
// Points the per-user settings store at a fresh temporary folder for the whole test program,
// so tests never read or write the real one. The store fixes its folder when it is first used,
// so the folder is set during static initialisation, before main.
#include <QByteArray>
#include <QDir>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>

namespace gradel::testing {

class SettingsSandbox {
  public:
    SettingsSandbox() { qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_.path())); }
    QString Path() const { return dir_.path(); }
    // The store's file for an application name.
    QString File(const QString& app) const { return dir_.path() + '/' + app + '/' + app + ".conf"; }
    // Forgets everything stored for an application name.
    static void Clear(const QString& app) {
        QSettings s(QSettings::NativeFormat, QSettings::UserScope, app, app);
        s.clear();
        s.sync();
    }

  private:
    QTemporaryDir dir_;
};

inline SettingsSandbox g_settingsSandbox;

}  // namespace gradel::testing
