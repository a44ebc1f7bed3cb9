#pragma once
// The "Hole Circle" dialog: the operator describes a bolt-hole circle in seven fields, Holes,
// Diameter, Start angle, the centre on the first and on the second axis, and the two axes.
// Like the number entry it is filled from the function keys alone (F1..F9 and F10 are the
// digits 1..9 and 0, F11 the point, F12 the next field and, on the last one, accept) or from
// the keyboard (digits, ".", "-", Backspace; Tab and Enter go to the next field, Enter on the
// last accepts, Escape cancels). In an axis field a digit n picks the n-th listed axis (as the
// axis key Fn would) and a letter the axis of that key. The first character typed into a field
// replaces what it held.
//
// Holes and Diameter start empty; the start angle and the centre start at 0 and the axes at the
// first two listed. A value that cannot be used is refused with a message in the dialog, which
// stays open on the field at fault.
#include <QDialog>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

#include "scale/HoleCircle.h"

class QLabel;

namespace gradel {

// What the dialog hands back: the circle in millimetres, its centre given as the two axes'
// relative readings show it, and the keys of the two axes.
struct HoleCircleRequest {
    HoleCircle circle;
    QString firstAxis;
    QString secondAxis;
};

class HoleCircleDialog : public QDialog {
    Q_OBJECT
  public:
    // Limits of what a machine's scales can reach: larger numbers are typing mistakes.
    static constexpr int kMaxHoles = 360;
    static constexpr double kMaxMm = 10000;
    static constexpr double kMaxDegrees = 360;

    explicit HoleCircleDialog(QWidget* owner = nullptr);

    // Shows the dialog modally, with `axes` (the listed keys) to choose from: the circle once
    // accepted, nothing when cancelled.
    std::optional<HoleCircleRequest> ask(const QStringList& axes);

    // Why the last attempt to accept was refused; empty if none was.
    QString message() const;

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    enum Field {
        Holes,
        Diameter,
        Start,
        CentreFirst,
        CentreSecond,
        FirstAxis,
        SecondAxis,
        kFields
    };

    void handleKey(QKeyEvent* event);
    void functionKey(int code);
    void type(QChar c);
    void typeAxis(QChar c);
    void backspace();
    void next();
    void moveTo(int field);
    void tryAccept();
    std::optional<HoleCircleRequest> read();
    std::optional<double> number(Field field, double fallback, double low, double high);
    void refuse(Field field, const QString& why);
    void nameCentreFields();

    std::array<QLabel*, kFields> captions_{};
    std::array<QLabel*, kFields> fields_{};
    QLabel* message_;
    QStringList axes_;
    int current_ = 0;
    bool fresh_ = true;  // the next character typed replaces the field's text
    std::optional<HoleCircleRequest> result_;
};

}  // namespace gradel
