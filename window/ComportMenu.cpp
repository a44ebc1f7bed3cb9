#include "window/ComportMenu.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <cmath>

#include "scale/Sfmt.h"
#include "window/SerialLink.h"

ComportMenu::ComportMenu(QMenu& menu, QAction& entry0, SerialLink& link,
                         gradel::IErrorDialog& dialog, QObject* parent)
    : QObject(parent), menu_(menu), link_(link), dialog_(dialog) {
    menu_.setToolTipsVisible(true);  // each entry's tip is its device path
    AddEntry(&entry0);
    connect(&link_, &SerialLink::PortFailed, this, &ComportMenu::OnPortFailed);
}

int16_t ComportMenu::PortNumber(const QString& caption) {
    const double v = gradel::Sfmt::NumericValue(caption.toStdString());
    if (!(v >= -32768.0 && v <= 32767.0)) return 0;
    return static_cast<int16_t>(std::nearbyint(v));
}

void ComportMenu::AddEntry(QAction* action) {
    action->setCheckable(true);
    action->setChecked(false);
    const int index = static_cast<int>(entries_.size());
    entries_.push_back(action);
    connect(action, &QAction::triggered, this, [this, index] {
        // The action toggled its own check mark; the tick is ours to set.
        QAction* a = entries_[static_cast<std::size_t>(index)];
        a->setChecked(!a->isChecked());
        Choose(index);
    });
}

void ComportMenu::Describe(QAction* action, int n) {
    const QString device = link_.Table().Device(n);
    action->setToolTip(device);
    action->setStatusTip(device);
}

void ComportMenu::CheckComports() {
    gradel::ErrorTrap trap(dialog_, "frmGradel", "CheckComports ");
    const PortTable& table = link_.Table();
    if (!trap.Run([&] {
            QAction* first = entries_.front();
            Describe(first, 1);
            if (table.PortExists(1)) {
                first->setEnabled(true);
                first->setText(SerialLink::Caption(1));
            }
        }))
        return;
    for (int n = 2; n <= PortTable::kMaxPort; ++n) {
        if (!trap.Run([&] {
                if (!table.PortExists(n)) return;
                auto* action = new QAction(SerialLink::Caption(n), &menu_);
                menu_.addAction(action);
                action->setEnabled(true);
                Describe(action, n);
                AddEntry(action);
            }))
            return;
    }
}

void ComportMenu::TickPort(int16_t port) {
    for (QAction* a : entries_) a->setChecked(PortNumber(a->text()) == port);
}

void ComportMenu::Choose(int i, bool remember) {
    if (i < 0 || i >= static_cast<int>(entries_.size())) return;
    QAction* entry = entries_[static_cast<std::size_t>(i)];
    if (entry->isChecked()) {
        if (link_.PortOpen()) link_.Close();
        entry->setChecked(false);
        if (RemoveAll) RemoveAll();
        return;
    }
    for (QAction* a : entries_) a->setChecked(a == entry);
    const QString caption = entry->text();
    const int16_t n = PortNumber(caption);
    // The port in use is put in poll mode and closed before the chosen one is opened, so the
    // tick never stands on a port that is not open.
    QPointer<ComportMenu> self(this);
    QPointer<QAction> chosen(entry);
    if (link_.PortOpen()) {
        const int generation = ++generation_;
        link_.CloseAfterPoll();
        if (!self) return;
        if (generation != generation_) {
            if (chosen) chosen->setChecked(false);
            return;
        }
    }
    const bool opened = n >= 1 && link_.OpenPort(n);
    if (!self) return;
    if (!opened && chosen) chosen->setChecked(false);
    if (remember && SavePort) SavePort(caption);
}

void ComportMenu::OnPortFailed(int n) {
    for (QAction* a : entries_)
        if (PortNumber(a->text()) == n) a->setChecked(false);
}
