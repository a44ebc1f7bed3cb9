#include "panels/NumberEntryDialog.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QShowEvent>
#include <cmath>
#include <limits>
#include <optional>

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
    Twips::place(message_, 120, 1050, 3495, 240);
    sum_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setFixedSize(Twips::toPx(3735), Twips::toPx(1350));
    clear();
}

QString NumberEntryDialog::message() const {
    return message_->text();
}

float NumberEntryDialog::enterNumber(const QString& unit, const QString& format) {
    readout_->setUnit(unit);
    readout_->setFormat(format);
    exec();
    // Give the keyboard back to the window: without a window manager nothing else would, and
    // the keypad's presses go to the active window.
    if (QWidget* owner = parentWidget(); owner && owner->isVisible()) owner->activateWindow();
    return readout_->value();
}

void NumberEntryDialog::clear() {
    typed_.clear();
    sum_->clear();
    message_->clear();
    readout_->setValue(0);
}

// The readout follows the sum while it is whole; a digit that would take it beyond what a
// single-precision value holds is refused, so the readout never shows infinity. So is a key
// after which no typing on could give a number ("7--", "+" first, the second point of "5/0.."):
// the entry could then be neither mended nor ended.
void NumberEntryDialog::append(QChar c) {
    const std::string text = (typed_ + c).toStdString();
    const std::optional<double> value = evaluateSum(text);
    if (!value && !evaluateSum(text + '1')) return;
    if (value && !fitsReadout(*value) && !isOperator(c)) return;
    typed_ += c;
    sum_->setText(typed_);
    message_->clear();
    if (value && fitsReadout(*value)) readout_->setValue(static_cast<float>(*value));
}

// The entry ends only on a sum that gives a number the readout can show.
void NumberEntryDialog::finish() {
    const std::optional<double> value = sumValue(typed_);
    if (!value) {
        message_->setText(QStringLiteral("Not a number: mend the sum"));
        return;
    }
    readout_->setValue(static_cast<float>(*value));
    hide();
}

void NumberEntryDialog::functionKey(int code) {
    if (const char c = VirtualKey::entryCharacter(code)) {
        append(QChar::fromLatin1(c));
    } else if (code == VirtualKey::function(12)) {
        finish();
    }
}

void NumberEntryDialog::character(QChar c) {
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
