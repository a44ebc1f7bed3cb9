#include "window/ComportMenu.h"

#include <QAction>
#include <QMenu>
#include <QPointer>

#include "base/Rounding.h"
#include "scale/TextFields.h"
#include "window/SerialLink.h"

namespace gradel {

ComportMenu::ComportMenu(QMenu& menu, SerialLink& link, QObject* parent)
    : QObject(parent), menu_(menu), link_(link) {
    menu_.setToolTipsVisible(true);  // each entry's tip is its device path
    addEntry(menu_.addAction(QStringLiteral("Com1")));
    connect(&link_, &SerialLink::portFailed, this, &ComportMenu::onPortFailed);
}

int16_t ComportMenu::portNumber(const QString& caption) {
    return roundToInt16(TextFields::numericValue(caption.toStdString())).value_or(0);
}

void ComportMenu::addEntry(QAction* action) {
    action->setCheckable(true);
    action->setChecked(false);
    const int index = static_cast<int>(entries_.size());
    entries_.push_back(action);
    connect(action, &QAction::triggered, this, [this, action, index] {
        // Qt flipped the tick when the entry was chosen; the tick is ours to set.
        action->setChecked(!action->isChecked());
        choose(index);
    });
}

void ComportMenu::describe(QAction* action, int n) {
    const QString device = link_.table().device(n);
    action->setToolTip(device);
    action->setStatusTip(device);
}

void ComportMenu::listPorts() {
    const PortTable& table = link_.table();
    QAction* first = entries_.front();
    describe(first, 1);
    if (table.portExists(1)) first->setText(SerialLink::caption(1));
    for (int n = 2; n <= PortTable::kMaxPort; ++n) {
        if (!table.portExists(n)) continue;
        auto* action = new QAction(SerialLink::caption(n), &menu_);
        menu_.addAction(action);
        describe(action, n);
        addEntry(action);
    }
}

void ComportMenu::tickPort(int16_t port) {
    for (QAction* entry : entries_) entry->setChecked(portNumber(entry->text()) == port);
}

void ComportMenu::choose(int i) {
    if (i < 0 || i >= static_cast<int>(entries_.size())) return;
    QAction* entry = entries_[static_cast<std::size_t>(i)];
    if (entry->isChecked()) {
        if (link_.isOpen()) link_.close();
        entry->setChecked(false);
        emit portClosedByUser();
        return;
    }
    for (QAction* other : entries_) other->setChecked(other == entry);
    const QString caption = entry->text();
    const int16_t n = portNumber(caption);
    // The port in use is put in poll mode and closed before the chosen one is opened, so the
    // tick never stands on a port that is not open.
    QPointer<ComportMenu> self(this);
    QPointer<QAction> chosen(entry);
    if (link_.isOpen()) {
        const int generation = ++generation_;
        link_.closeAfterPoll();
        if (!self) return;
        if (generation != generation_) {
            if (chosen) chosen->setChecked(false);
            return;
        }
    }
    const bool opened = n >= 1 && link_.openPort(n);
    if (!self) return;
    if (!opened && chosen) chosen->setChecked(false);
    emit portChosen(caption);
}

void ComportMenu::onPortFailed(int n) {
    for (QAction* entry : entries_)
        if (portNumber(entry->text()) == n) entry->setChecked(false);
}

}  // namespace gradel
