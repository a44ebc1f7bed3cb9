#pragma once
// The number entry dialog: the operator types one decimal number with the twelve function keys
// (so the keypad alone can do it) or with the keyboard. F1..F9 and F10 are the digits 1..9 and
// 0, F11 the point, F12 ends; on the keyboard the digits, "." (or ",", the point of most of
// Europe) and the operators "+", "-", "*" and "/" are typed, Backspace takes back the last
// character, Escape cancels, and any other character ends. The dialog shows what was typed
// ("12.7/2") above a live readout of its value, and at the end works the sum out (left to
// right, "*" and "/" before "+" and "-"); a sum that gives no finite number, or one larger
// than the caller can use, is refused with a short message and the entry stays open to be
// mended, or cancelled by F12 pressed again (the keypad's only way out).
//
// One dialog serves every entry: hidden, never destroyed, between entries. Each entry starts
// empty, while a repaint or the window system showing it again during an entry keeps the text.
#include <QDialog>
#include <QString>
#include <limits>
#include <optional>

class QLabel;

namespace gradel {

class DigitalDial;

class NumberEntryDialog : public QDialog {
    Q_OBJECT
  public:
    explicit NumberEntryDialog(QWidget* owner = nullptr);

    // Shows the dialog modally with the number readout in `unit` and `format`, and gives the
    // value of what was typed (0 if nothing) once the entry has ended; nothing when it was
    // cancelled. A value beyond +-`largest` is refused and the entry goes on.
    std::optional<float> enterNumber(
        const QString& unit, const QString& format,
        double largest = static_cast<double>(std::numeric_limits<float>::max()));

    // The characters accepted so far, the readout showing their value, and the message of a
    // refused end ("" while there is none).
    QString typed() const { return typed_; }
    const DigitalDial& readout() const { return *readout_; }
    QString message() const;

  public slots:
    void reject() override;

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
    void takeBack();
    void showSum();
    void finish();
    void refuse(const QString& why);
    void clear();

    QLabel* sum_;
    DigitalDial* readout_;
    QLabel* message_;
    QString typed_;
    double largest_ = 0;
    bool cancelled_ = false;
};

}  // namespace gradel
