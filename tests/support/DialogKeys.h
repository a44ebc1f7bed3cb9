#pragma once
// Answers a modal dialog with timed key events: once the dialog shows, the keys are posted to
// it and run in order by the dialog's own event loop.
// `during` runs while the dialog is still open, before the last key.
#include <QCoreApplication>
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

namespace gradel::testing {

struct Stroke {
    int key;
    QString text;  // the character the key types, empty for keys that type none
};

inline Stroke fkey(int n) {
    return {Qt::Key_F1 + n - 1, QString()};
}
// Typed characters; "\r" is Enter, "\x1b" Escape, "\b" Backspace, "\t" Tab.
inline std::vector<Stroke> typed(const char* s) {
    std::vector<Stroke> out;
    for (; *s; ++s) {
        const char c = *s;
        const int key = c == '\r'     ? Qt::Key_Return
                        : c == '\x1b' ? Qt::Key_Escape
                        : c == '\b'   ? Qt::Key_Backspace
                        : c == '\t'   ? Qt::Key_Tab
                        : c == '.'    ? Qt::Key_Period
                        : c == '-'    ? Qt::Key_Minus
                                      : int(QChar(c).toUpper().unicode());
        out.push_back({key, QString(QChar(c))});
    }
    return out;
}

// Keys written as words: "F4" is the function key, any other word is typed as it stands.
inline std::vector<Stroke> strokes(const QString& keys) {
    std::vector<Stroke> out;
    for (const QString& word : keys.split(' ')) {
        const bool fn = word.size() > 1 && word[0] == 'F' && word[1].isDigit();
        for (const Stroke& k :
             fn ? std::vector{fkey(word.mid(1).toInt())} : typed(qPrintable(word)))
            out.push_back(k);
    }
    return out;
}

// Arms the answer; call right before the call that shows `dialog` modally.
inline void answer(QWidget* dialog, std::vector<Stroke> keys, std::function<void()> during = {}) {
    delete dialog->findChild<QTimer*>(QStringLiteral("answerGuard"));  // the last answer's
    QTimer::singleShot(0, dialog, [=] {
        auto post = [dialog](const Stroke& s) {
            QCoreApplication::postEvent(
                dialog, new QKeyEvent(QEvent::KeyPress, s.key, Qt::NoModifier, s.text));
        };
        for (size_t i = 0; i + 1 < keys.size(); ++i) post(keys[i]);
        QTimer::singleShot(0, dialog, [=] {
            if (during) during();
            if (!keys.empty()) post(keys.back());
            // A dialog that failed to close must not hang the test.
            auto* guard = new QTimer(dialog);
            guard->setObjectName(QStringLiteral("answerGuard"));
            guard->setSingleShot(true);
            QObject::connect(guard, &QTimer::timeout, dialog, [dialog] { dialog->hide(); });
            guard->start(2000);
        });
    });
}

}  // namespace gradel::testing
