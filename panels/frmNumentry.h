#pragma once
// The number entry dialog: the operator types one non-negative decimal number with the twelve
// function keys (so the hardware keypad can do it) or with the keyboard. F1..F9 and F10 are
// the digits 1..9 and 0, F11 the point, F12 closes; on the keyboard the digits and "." are
// typed and any other character closes. Every way of closing keeps the number typed so far.
//
// The caller sets ddEntry's unit and pattern, shows the dialog modally and reads
// ddEntry()->Value() once it has hidden itself. The dialog is hidden, never destroyed, between
// entries; each new showing starts empty, while a repaint during an entry keeps the digits.
#include <QDialog>
#include <QString>

class DigitalDial;
class QEvent;
class QKeyEvent;
class QShowEvent;

class frmNumentry : public QDialog {
    Q_OBJECT
  public:
    explicit frmNumentry(QWidget* owner = nullptr);

    DigitalDial* ddEntry() const { return ddEntry_; }
    // The characters accepted so far (digits and ".").
    QString NumberText() const { return NumberText_; }

    // Key handlers as the window system calls them. Form_KeyDown takes the virtual-key code
    // (F1 = 112 ... F12 = 123) and sets it to 0 when it consumes the key; Form_KeyPress takes
    // the character code of a key that produces one.
    void Form_KeyDown(int& KeyCode, int Shift);
    void Form_KeyPress(int& KeyAscii);

  protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;

  private:
    void AppendChar(QChar c);
    void ClearEntry();
    void HandleKeyEvent(QKeyEvent* e);

    DigitalDial* ddEntry_ = nullptr;
    QString NumberText_;
};
