#include "panels/frmNumentry.h"

#include <QEvent>
#include <QKeyEvent>
#include <QShowEvent>
#include <limits>

#include "controls/DigitalDial.h"
#include "scale/Sfmt.h"
#include "window/winsys/Twips.h"
#include "window/winsys/VirtualKey.h"

namespace {

constexpr int kF1 = gradel::VirtualKey::kF1;
constexpr int kF9 = kF1 + 8;
constexpr int kF10 = kF1 + 9;
constexpr int kF11 = kF1 + 10;
constexpr int kF12 = kF1 + 11;

}  // namespace

frmNumentry::frmNumentry(QWidget* owner) : QDialog(owner) {
    setWindowTitle(QStringLiteral("Enter Number "));
    ddEntry_ = new DigitalDial(this);
    ddEntry_->setObjectName(QStringLiteral("ddEntry"));
    gradel::Twips::Place(ddEntry_, 120, 120, 3495, 735);
    setFixedSize(gradel::Twips::ToPx(3735), gradel::Twips::ToPx(975));
    ClearEntry();
}

void frmNumentry::ClearEntry() {
    NumberText_.clear();
    ddEntry_->SetValue(0);
}

// A character that would take the number beyond what a single can hold is refused, so the
// readout never shows infinity and the caller never receives it.
void frmNumentry::AppendChar(QChar c) {
    const QString text = NumberText_ + c;
    const double v = gradel::Sfmt::LeadingNumber(text.toStdString());
    if (v > static_cast<double>(std::numeric_limits<float>::max())) return;
    NumberText_ = text;
    ddEntry_->SetValue(static_cast<float>(v));
}

void frmNumentry::Form_KeyDown(int& KeyCode, int /*Shift*/) {
    if (KeyCode >= kF1 && KeyCode <= kF9) {
        AppendChar(QChar('1' + (KeyCode - kF1)));
    } else if (KeyCode == kF10) {
        AppendChar(u'0');
        KeyCode = 0;
    } else if (KeyCode == kF11) {
        AppendChar(u'.');
        KeyCode = 0;
    } else if (KeyCode == kF12) {
        hide();
    }
}

void frmNumentry::Form_KeyPress(int& KeyAscii) {
    if ((KeyAscii >= '0' && KeyAscii <= '9') || KeyAscii == '.') {
        AppendChar(QChar(KeyAscii));
    } else {
        hide();
    }
}

// Every key reaches the two handlers here, whichever control has the focus and before the
// dialog's own defaults (Escape, Enter, Tab) can act on it. Keys still queued for the dialog
// after it closed belong to no entry and are dropped.
bool frmNumentry::event(QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        if (isHidden()) return true;
        HandleKeyEvent(static_cast<QKeyEvent*>(e));
        return true;
    }
    return QDialog::event(e);
}

void frmNumentry::HandleKeyEvent(QKeyEvent* e) {
    e->accept();
    int code = gradel::VirtualKey::FromEvent(*e);
    if (code != 0) Form_KeyDown(code, 0);
    if (isHidden()) return;  // the key ended the entry
    const QString text = e->text();
    if (text.isEmpty()) return;  // a key that types no character
    int ascii = text.at(0).unicode();
    Form_KeyPress(ascii);
}

// A new entry starts empty. Only showings asked for by the program count: the window system's
// own show events (a dialog brought back from being minimised) and paints keep the digits.
void frmNumentry::showEvent(QShowEvent* e) {
    if (!e->spontaneous()) ClearEntry();
    QDialog::showEvent(e);
}
