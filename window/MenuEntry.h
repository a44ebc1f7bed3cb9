#pragma once
// Menu entries whose tick only the program changes. Qt flips a checkable entry's tick when it
// is chosen; here the flip is undone before the handler runs, so the handler decides the tick
// (the last View entry may refuse to go, a speed entry is ticked by what the box is told).
#include <QAction>
#include <QMenu>
#include <QObject>
#include <QString>

namespace gradel {

template <class Handler>
QAction* addMenuEntry(QMenu& menu, const char* caption, QObject* context, Handler handler) {
    QAction* action = menu.addAction(QString::fromLatin1(caption));
    QObject::connect(action, &QAction::triggered, context, [action, handler] {
        if (action->isCheckable()) action->setChecked(!action->isChecked());
        handler();
    });
    return action;
}

}  // namespace gradel
