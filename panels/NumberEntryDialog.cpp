#include "panels/NumberEntryDialog.h"

#include <QEvent>
#include <QKeyEvent>
#include <QShowEvent>
#include <limits>

#include "base/Twips.h"
#include "base/VirtualKey.h"
#include "controls/DigitalDial.h"
#include "scale/TextFields.h"

namespace gradel {

NumberEntryDialog::NumberEntryDialog(QWidget* owner)
    : QDialog(owner), readout_(new DigitalDial(this)) {
    setWindowTitle(QStringLiteral("Enter Number "));
    Twips::place(readout_, 120, 120, 3495, 735);
    setFixedSize(Twips::toPx(3735), Twips::toPx(975));
    clear();
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
    readout_->setValue(0);
}

// A character that would take the number beyond what a single-precision value holds is
// refused, so the readout never shows infinity and the caller never receives it.
void NumberEntryDialog::append(QChar c) {
    const QString text = typed_ + c;
    const double value = TextFields::leadingNumber(text.toStdString());
    if (value > static_cast<double>(std::numeric_limits<float>::max())) return;
    typed_ = text;
    readout_->setValue(static_cast<float>(value));
}

void NumberEntryDialog::functionKey(int code) {
    if (code >= VirtualKey::function(1) && code <= VirtualKey::function(9)) {
        append(QChar(u'1' + (code - VirtualKey::function(1))));
    } else if (code == VirtualKey::function(10)) {
        append(u'0');
    } else if (code == VirtualKey::function(11)) {
        append(u'.');
    } else if (code == VirtualKey::function(12)) {
        hide();
    }
}

void NumberEntryDialog::character(QChar c) {
    if ((c >= u'0' && c <= u'9') || c == u'.')
        append(c);
    else
        hide();
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
