#pragma once
// The number entry dialog: the operator types one decimal number with the twelve function keys
// (so the keypad alone can do it) or with the keyboard. F1..F9 and F10 are the digits 1..9 and
// 0, F11 the point, F12 ends; on the keyboard the digits, "." and the operators "+", "-", "*"
// and "/" are typed, and any other character ends. The dialog shows what was typed ("12.7/2")
// above the readout's value of it, and at the end works the sum out (left to right, "*" and "/"
// before "+" and "-"); a sum that gives no finite number is refused with a short message and
// the entry stays open to be mended.
//
// One dialog serves every entry: hidden, never destroyed, between entries. Each entry starts
// empty, while a repaint or the window system showing it again during an entry keeps the text.
#include <QDialog>
#include <QString>

class QLabel;

namespace gradel {

class DigitalDial;

class NumberEntryDialog : public QDialog {
    Q_OBJECT
  public:
    explicit NumberEntryDialog(QWidget* owner = nullptr);

    // Shows the dialog modally with the number readout in `unit` and `format`, and gives the
    // value of what was typed (0 if nothing) once the entry has ended.
    float enterNumber(const QString& unit, const QString& format);

    // The characters accepted so far, the readout showing their value, and the message of a
    // refused end ("" while there is none).
    QString typed() const { return typed_; }
    const DigitalDial& readout() const { return *readout_; }
    QString message() const;

  protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    // The one place keys become typing: every key goes through handleKey to functionKey or
    // character, which append or finish.
    void handleKey(QKeyEvent* event);
    void functionKey(int code);
    void character(QChar c);
    void append(QChar c);
    void finish();
    void clear();

    QLabel* sum_;
    DigitalDial* readout_;
    QLabel* message_;
    QString typed_;
};

}  // namespace gradel
