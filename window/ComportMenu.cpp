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
    menu_.setToolTipsVisible(true);  // each entry's tip is its device
    connect(&link_, &SerialLink::portFailed, this, &ComportMenu::showOpenPort);
}

int16_t ComportMenu::portNumber(const QString& caption) {
    return roundToInt16(TextFields::numericValue(caption.toStdString())).value_or(0);
}

void ComportMenu::listPorts() {
    const PortTable& table = link_.table();
    for (int n = 1; n <= table.devices().size(); ++n)
        if (table.portExists(n)) addEntry(n);
    if (entries_.empty()) menu_.addAction(tr("No serial port found"))->setEnabled(false);
}

// The tip names the device by its identity, and by its path too when that differs.
void ComportMenu::addEntry(int n) {
    const PortTable& table = link_.table();
    QString tip = table.identity(n);
    if (tip != table.device(n)) tip += QStringLiteral(" (%1)").arg(table.device(n));
    auto* action = new QAction(SerialLink::caption(n), &menu_);
    action->setToolTip(tip);
    action->setStatusTip(tip);
    action->setCheckable(true);
    action->setData(n);
    menu_.addAction(action);
    const int index = static_cast<int>(entries_.size());
    entries_.push_back(action);
    connect(action, &QAction::triggered, this, [this, index] { choose(index); });
}

void ComportMenu::showOpenPort() {
    const int open = link_.openPortNumber();
    for (QAction* entry : entries_) entry->setChecked(open != 0 && entry->data().toInt() == open);
}

void ComportMenu::cancelPendingOpen() {
    ++generation_;
    pending_ = 0;
}

void ComportMenu::choose(int i) {
    if (i < 0 || i >= static_cast<int>(entries_.size())) return;
    const int n = entries_[static_cast<std::size_t>(i)]->data().toInt();
    if (n == pending_) {  // chosen again while the old port drains: not opened after all
        cancelPendingOpen();
        showOpenPort();
        emit portClosedByUser();
    } else if (n == link_.openPortNumber()) {
        link_.close();
        showOpenPort();
        emit portClosedByUser();
    } else {
        switchTo(n);
    }
}

// The port in use is put in poll mode and closed before the chosen one is opened; meanwhile
// the tick stands on the chosen entry.
void ComportMenu::switchTo(int n) {
    for (QAction* entry : entries_) entry->setChecked(entry->data().toInt() == n);
    QPointer<ComportMenu> self(this);
    if (link_.isOpen()) {
        const int generation = ++generation_;
        pending_ = n;
        link_.closeAfterPoll();
        if (!self) return;
        if (generation != generation_) return showOpenPort();  // called off, or overtaken
        pending_ = 0;
    }
    const bool opened = link_.openPort(n);
    if (!self) return;
    showOpenPort();
    if (opened) emit portOpened(n);
}

}  // namespace gradel
