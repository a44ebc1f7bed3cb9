#pragma once
// The per-user settings store: texts addressed by application name, section and key.
//
// On top of plain get and set it offers a default for missing values, a remembered database
// file name, and saving and restoring a window's position. The store is the platform's native
// one (a configuration file $XDG_CONFIG_HOME/<app>/<app>.conf on Linux, the registry on
// Windows); the application name is the executable's file name without its extension.
#include <QString>
#include <QVariant>
#include <optional>

#include "scale/ErrorDialog.h"

class QWidget;

namespace gradel {

// What SavePosition and Reposition need of a window. Numbers are in twips.
class IPlacedWindow {
  public:
    virtual ~IPlacedWindow() = default;
    virtual QString Name() const = 0;
    virtual double Left() const = 0;
    virtual double Top() const = 0;
    virtual double Width() const = 0;
    virtual double Height() const = 0;
    // Moves the window; a size given is applied too (a width alone changes only the width).
    virtual void Move(double left, double top, std::optional<double> width = std::nullopt,
                      std::optional<double> height = std::nullopt) = 0;
};

// A QWidget seen as an IPlacedWindow: its object name, its position and its size in twips.
class WidgetPlacement : public IPlacedWindow {
  public:
    explicit WidgetPlacement(QWidget* widget) : widget_(widget) {}
    QString Name() const override;
    double Left() const override;
    double Top() const override;
    double Width() const override;
    double Height() const override;
    void Move(double left, double top, std::optional<double> width,
              std::optional<double> height) override;

  private:
    QWidget* widget_;
};

class clsIniFile {
  public:
    // `dialog` reports the faults of the trapped procedures.
    explicit clsIniFile(IErrorDialog& dialog = CurrentErrorDialog());
    clsIniFile(QString applicationName, IErrorDialog& dialog);

    // The running executable's file name without its extension ("Gradel").
    static QString ExecutableName();
    const QString& ApplicationName() const { return app_; }

    // The stored text, or sDefault when there is none or it cannot be read. Never fails.
    QString GetIni(const QString& sSection, const QString& sKey,
                   const QString& sDefault = QString()) const;
    // Stores sValue (created or overwritten). An empty section or key throws
    // RunTimeError::InvalidCall(); a store that cannot be written throws error 75.
    void SaveIni(const QString& sSection, const QString& sKey, const QString& sValue);

    // Section "Files", key "DataBaseFile". Reading keeps the value read; assigning stores the
    // value's text form. Faults of the store reach the caller.
    QVariant DataBaseFile();
    void SetDataBaseFile(const QVariant& vData);

    // Section "Forms", key = the window's name: its position text "left,top,width,height".
    void SavePosition(const IPlacedWindow& Obj);
    // Restores the stored position, or centres the window on the screen keeping its size.
    void Reposition(IPlacedWindow& Obj);

    // Moves and sizes Obj from a position text; texts shorter than 7 characters do nothing.
    void MoveTo(const QString& position, IPlacedWindow& Obj);
    // The position text of Obj, each number in its general text form; "" when aborted.
    QString strPosition(const IPlacedWindow& Obj);

    // A number as the general text form writes it: at most seven significant digits.
    static QString GeneralText(double value);

  private:
    IErrorDialog& dialog_;
    QString app_;
    QVariant dataBaseFile_;
};

}  // namespace gradel
