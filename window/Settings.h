#pragma once
// The per-user settings store: texts addressed by section and key under the application's
// name. It is the platform's own store (a file $XDG_CONFIG_HOME/<app>/<app>.conf on Linux,
// the registry on Windows); the application's name is the executable's file name without its
// extension. Besides plain texts it keeps a remembered database file name and the positions of
// windows ("left,top,width,height" in twips, by the window's object name).
#include <QString>
#include <QVariant>

#include "base/ErrorTrap.h"

class QWidget;

namespace gradel {

class Settings {
  public:
    // `prompt` answers the faults of the guarded operations (null: the default prompt).
    explicit Settings(ErrorPrompt* prompt = nullptr);
    Settings(QString applicationName, ErrorPrompt* prompt);

    // The running executable's file name without its extension ("Gradel").
    static QString executableName();
    const QString& applicationName() const { return app_; }

    // The stored text, or `fallback` when there is none or it cannot be read. Never fails.
    QString value(const QString& section, const QString& key,
                  const QString& fallback = QString()) const;
    // Stores a text (created or overwritten). Throws Failure: InvalidArgument for an empty
    // section or key, SettingsNotWritable when the store cannot be written.
    void setValue(const QString& section, const QString& key, const QString& text);

    // Section "Files", key "DataBaseFile"; store faults reach the caller.
    QString dataBaseFile() const;
    void setDataBaseFile(const QString& file);

    // Section "Forms", key = the window's object name: its position text.
    void savePosition(const QWidget& window);
    // Restores the stored position, or centres the window on the screen keeping its size.
    void restorePosition(QWidget& window);
    // Moves and sizes a window from a position text; texts shorter than 7 characters do nothing.
    void moveTo(const QString& position, QWidget& window);
    // "left,top,width,height" in twips, each number in the general text form; "" when aborted.
    QString positionText(const QWidget& window);

    // A number as the general text form writes it: at most seven significant digits.
    static QString generalText(double value);

  private:
    ErrorPrompt& prompt() const { return prompt_ ? *prompt_ : defaultErrorPrompt(); }

    ErrorPrompt* prompt_;
    QString app_;
};

}  // namespace gradel
