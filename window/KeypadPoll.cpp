#include "window/KeypadPoll.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "window/IKeypadSource.h"

KeypadPoll::KeypadPoll(IKeypadSource* source, PressFn press)
    : source_(source), press_(std::move(press)) {}

void KeypadPoll::Tick() {
    const int16_t code = source_ ? static_cast<int16_t>(source_->Read() & 0x0F) : int16_t{0};
    if (code == 0) {
        LastKeypadCode_ = 0;
    } else if (code != LastKeypadCode_) {
        if (press_) press_(code);
        LastKeypadCode_ = code;
    }
}

int KeypadPoll::QtKeyForFunction(int n) {
    return Qt::Key_F1 + (n - 1);
}

void KeypadPoll::PostFunctionKey(int n) {
    QWidget* target = QApplication::focusWidget();
    if (!target) target = QApplication::activeWindow();
    if (!target) return;
    const int key = QtKeyForFunction(n);
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier));
}
