#include "panels/NumberEntryDialog.h"

#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QShowEvent>
#include <cmath>
#include <limits>
#include <optional>

#include "base/NumberFormat.h"
#include "base/Sum.h"
#include "base/Twips.h"
#include "base/VirtualKey.h"
#include "controls/DigitalDial.h"

namespace gradel {

namespace {

bool isOperator(QChar c) {
    return c == u'+' || c == u'-' || c == u'*' || c == u'/';
}

// Whether a readout can show the value: within a single's range.
bool fitsReadout(double value) {
    return std::abs(value) <= static_cast<double>(std::numeric_limits<float>::max());
}

// The value of a sum if it is one a readout can show.
std::optional<double> sumValue(const QString& text) {
    const std::optional<double> value = evaluateSum(text.toStdString());
    return value && fitsReadout(*value) ? value : std::nullopt;
}

}  // namespace

NumberEntryDialog::NumberEntryDialog(QWidget* owner)
    : QDialog(owner),
      sum_(new QLabel(this)),
      readout_(new DigitalDial(this)),
      message_(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Enter Number "));
    Twips::place(sum_, 120, 60, 3495, 240);
    Twips::place(readout_, 120, 300, 3495, 735);
    Twips::place(message_, 120, 1050, 3495, 480);
    sum_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // The number being typed is a reading in the making: it is drawn as the panels draw a live
    // readout, not greyed like a control that cannot be used.
    readout_->setEnabled(true);
    setFixedSize(Twips::toPx(3735), Twips::toPx(1590));
    clear();
}

QString NumberEntryDialog::message() const {
    return message_->text();
}

std::optional<float> NumberEntryDialog::enterNumber(const QString& unit, const QString& format,
                                                    double largest) {
    readout_->setUnit(unit);
    readout_->setFormat(format);
    largest_ = largest;
    exec();
    // Give the keyboard back to the window: without a window manager nothing else would, and
    // the keypad's presses go to the active window.
    if (QWidget* owner = parentWidget(); owner && owner->isVisible()) owner->activateWindow();
    if (cancelled_) return std::nullopt;
    return readout_->value();
}

void NumberEntryDialog::clear() {
    cancelled_ = false;
    typed_.clear();
    sum_->clear();
    message_->clear();
    readout_->setValue(0);
}

// A digit that would take the sum beyond what a single-precision value holds is refused, so
// the readout never shows infinity. So is a key after which no typing on could give a number
// ("7--", "+" first, the second point of "5/0.."): the entry could then be neither mended nor
// ended.
void NumberEntryDialog::append(QChar c) {
    const std::string text = (typed_ + c).toStdString();
    const std::optional<double> value = evaluateSum(text);
    if (!value && !evaluateSum(text + '1')) return;
    if (value && !fitsReadout(*value) && !isOperator(c)) return;
    typed_ += c;
    showSum();
}

void NumberEntryDialog::takeBack() {
    typed_.chop(1);
    showSum();
}

// The readout shows the value of the longest start of the text that has one: "5/0" shows 5,
// as it did before the 0 was typed, so taking a character back shows what was shown before it.
void NumberEntryDialog::showSum() {
    // Too long for its line, the sum shows its end behind a mark, never a cut-off start that
    // would read as another number (a lost minus, a lost leading digit).
    sum_->setText(sum_->fontMetrics().elidedText(typed_, Qt::ElideLeft, sum_->width()));
    message_->clear();
    for (qsizetype n = typed_.size(); n >= 0; --n) {
        if (const std::optional<double> value = sumValue(typed_.left(n))) {
            readout_->setValue(static_cast<float>(*value));
            return;
        }
    }
}

// The entry ends only on a sum that gives a number the caller can use; anything else is
// refused where it is typed, so a number no scale could read never reaches the display.
void NumberEntryDialog::finish() {
    const std::optional<double> value = sumValue(typed_);
    if (!value) return refuse(QStringLiteral("Not a number: mend the sum"));
    if (std::abs(*value) > largest_) {
        const QString unit = readout_->unit();
        const QString space = !unit.isEmpty() && unit.at(0).isLetter() ? QStringLiteral(" ") : "";
        return refuse(QStringLiteral("Too large: at most \u00b1%1%2%3")
                          .arg(formatNumber(largest_, QString()), space, unit));
    }
    readout_->setValue(static_cast<float>(*value));
    hide();
}

// On the keypad there is neither Backspace nor Escape, and no digit can make a number too large
// smaller: without a way out a refused entry would hold the keypad for good. So F12 again, with
// nothing typed since the refusal (typing clears its message), cancels.
void NumberEntryDialog::refuse(const QString& why) {
    message_->setText(why + QStringLiteral("\nF12 again cancels"));
}

// Cancelled (Escape, or the dialog closed), the entry gives nothing, whatever was typed.
void NumberEntryDialog::reject() {
    cancelled_ = true;
    QDialog::reject();
}

void NumberEntryDialog::functionKey(int code) {
    if (const char c = VirtualKey::entryCharacter(code)) {
        append(QChar::fromLatin1(c));
    } else if (code == VirtualKey::function(12)) {
        if (!message().isEmpty()) return reject();  // a refusal stands
        finish();
    }
}

// A comma is the decimal point as most of Europe writes it.
void NumberEntryDialog::character(QChar c) {
    if (c == u',') c = u'.';
    if ((c >= u'0' && c <= u'9') || c == u'.' || isOperator(c))
        append(c);
    else
        finish();
}

// Every key reaches the entry here, whichever control has the focus and before the dialog's
// own defaults (Escape, Enter, Tab) can act on it. Keys still queued for the dialog after the
// entry ended belong to no entry and are dropped.
bool NumberEntryDialog::event(QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QDialog::event(event);
    if (!isHidden()) handleKey(static_cast<QKeyEvent*>(event));
    return true;
}

void NumberEntryDialog::handleKey(QKeyEvent* event) {
    event->accept();
    if (event->key() == Qt::Key_Escape) return reject();
    if (event->key() == Qt::Key_Backspace) return takeBack();
    if (const int code = VirtualKey::fromEvent(*event)) functionKey(code);
    if (isHidden() || event->text().isEmpty()) return;  // ended, or a key that types nothing
    character(event->text().at(0));
}

// Only showings asked for by the program start a new entry: the window system's own (a dialog
// brought back from being minimised) keep the digits.
void NumberEntryDialog::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) clear();
    QDialog::showEvent(event);
}

}  // namespace gradel
