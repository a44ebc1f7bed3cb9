#pragma once
// Answers a modal dialog with timed key events: once the dialog is showing, the keys are
// posted to it as the keypad posts its function keys, and run in order by the dialog's own
// event loop. `during` runs after the keys before the last one have been handled, while the
// dialog is still open.
#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <ostream>
#include <vector>

// Failure messages show texts as texts.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace dialogkeys {

struct Stroke {
    int key;
    QString text;  // the character the key types, empty for keys that type none
};

inline Stroke F(int n) {
    return {Qt::Key_F1 + n - 1, QString()};
}
inline Stroke Char(char c) {
    return {c == '.'   ? Qt::Key_Period
            : c == '-' ? Qt::Key_Minus
                       : int(QChar(c).toUpper().unicode()),
            QString(QChar(c))};
}
inline Stroke Enter() {
    return {Qt::Key_Return, QStringLiteral("\r")};
}
inline Stroke Escape() {
    return {Qt::Key_Escape, QStringLiteral("\x1b")};
}
inline Stroke Backspace() {
    return {Qt::Key_Backspace, QStringLiteral("\b")};
}
inline std::vector<Stroke> Type(const char* s) {
    std::vector<Stroke> out;
    for (; *s; ++s) out.push_back(Char(*s));
    return out;
}

inline void Post(QWidget* target, const Stroke& s) {
    QCoreApplication::postEvent(target,
                                new QKeyEvent(QEvent::KeyPress, s.key, Qt::NoModifier, s.text));
}

// Where the keypad delivers a key: the widget with the focus, else the active window.
inline QWidget* KeypadTarget() {
    QWidget* w = QApplication::focusWidget();
    return w ? w : QApplication::activeWindow();
}

// Arms the answer; call right before the call that shows `dialog` modally. With `toActive`
// the keys go where the keypad would send them instead of to the dialog itself.
inline void Answer(QWidget* dialog, std::vector<Stroke> keys, std::function<void()> during = {},
                   bool toActive = false) {
    delete dialog->findChild<QTimer*>(QStringLiteral("answerGuard"));
    QTimer::singleShot(0, dialog, [dialog, keys, during, toActive] {
        QWidget* target = toActive ? KeypadTarget() : dialog;
        if (!target) target = dialog;  // nothing active: the check on the result will tell
        for (size_t i = 0; i + 1 < keys.size(); ++i) Post(target, keys[i]);
        QTimer::singleShot(0, dialog, [dialog, target, keys, during] {
            if (during) during();
            if (!keys.empty()) Post(target, keys.back());
            // A dialog that failed to close must not hang the test; the next answer drops it.
            auto* guard = new QTimer(dialog);
            guard->setObjectName(QStringLiteral("answerGuard"));
            guard->setSingleShot(true);
            QObject::connect(guard, &QTimer::timeout, dialog, [dialog] { dialog->hide(); });
            guard->start(2000);
        });
    });
}

}  // namespace dialogkeys
