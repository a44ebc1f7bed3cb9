#include "window/KeypadPoll.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "window/KeypadSource.h"

namespace gradel {

KeypadPoll::KeypadPoll(KeypadSource* source, PressFn press)
    : source_(source), press_(std::move(press)) {}

void KeypadPoll::poll() {
    const auto code = static_cast<int16_t>(source_ ? source_->read() & 0x0F : 0);
    if (code == 0) {
        lastCode_ = 0;
    } else if (code != lastCode_) {
        if (press_) press_(code);
        lastCode_ = code;
    }
}

// A modal dialog is the keypad's from the moment it shows: the window system may make it the
// active window only later, and a key meant for it must not reach the window it blocks.
void KeypadPoll::postFunctionKey(int n) {
    QWidget* target = QApplication::activeModalWidget();
    if (!target) target = QApplication::focusWidget();
    if (!target) target = QApplication::activeWindow();
    if (!target) return;
    const int key = Qt::Key_F1 + (n - 1);
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier));
}

}  // namespace gradel
