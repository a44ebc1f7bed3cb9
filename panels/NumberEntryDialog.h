#pragma once
// The number entry dialog: the operator types one non-negative decimal number with the twelve
// function keys (so the keypad alone can do it) or with the keyboard. F1..F9 and F10 are the
// digits 1..9 and 0, F11 the point, F12 ends; on the keyboard the digits and "." are typed and
// any other character ends. Every way of ending keeps the number typed so far.
//
// One dialog serves every entry: hidden, never destroyed, between entries. Each entry starts
// empty, while a repaint or the window system showing it again during an entry keeps the digits.
#include <QDialog>
#include <QString>

namespace gradel {

class DigitalDial;

class NumberEntryDialog : public QDialog {
    Q_OBJECT
  public:
    explicit NumberEntryDialog(QWidget* owner = nullptr);

    // Shows the dialog modally with the number readout in `unit` and `format`, and gives the
    // number typed (0 if none) once the entry has ended.
    float enterNumber(const QString& unit, const QString& format);

    // The characters accepted so far (digits and "."), and the readout showing them.
    QString typed() const { return typed_; }
    const DigitalDial& readout() const { return *readout_; }

  protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void handleKey(QKeyEvent* event);
    void functionKey(int code);
    void character(QChar c);
    void append(QChar c);
    void clear();

    DigitalDial* readout_;
    QString typed_;
};

}  // namespace gradel
