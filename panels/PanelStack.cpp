#include "panels/PanelStack.h"

#include <algorithm>

#include "base/Twips.h"
#include "panels/AxisPanel.h"

namespace gradel {

PanelStack::PanelStack(QWidget* parent) : QWidget(parent) {}

AxisPanel* PanelStack::add(const QString& key) {
    Entry& entry = entries_[key];
    if (!entry.panel) {
        entry.panel = new AxisPanel(key, this);
        entry.panel->setReadoutsShown(readouts_[0], readouts_[1], readouts_[2]);
        entry.panel->setZeroPoint(zeroPoint_);
        entry.panel->setZoom(zoom_);
        connect(entry.panel, &AxisPanel::hideRequested, this, [this, key] { hide(key); });
        emit panelCreated(entry.panel);
    }
    entry.present = true;
    entry.hidden = false;
    entry.panel->show();
    layOut();
    return entry.panel;
}

void PanelStack::remove(const QString& key) {
    const auto it = entries_.find(key);
    if (it == entries_.end()) return;
    it->second.present = false;
    it->second.panel->hide();
    layOut();
}

void PanelStack::hide(const QString& key) {
    const auto it = entries_.find(key);
    if (it == entries_.end() || !it->second.listed()) return;
    it->second.hidden = true;
    it->second.panel->hide();
    layOut();
}

// All at once, so that the column and the window are laid out once.
void PanelStack::showAll() {
    if (!hasHidden()) return;
    for (auto& [key, entry] : entries_) {
        if (!entry.present || !entry.hidden) continue;
        entry.hidden = false;
        entry.panel->show();
    }
    layOut();
}

bool PanelStack::hasHidden() const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [](const auto& item) { return item.second.present && item.second.hidden; });
}

AxisPanel* PanelStack::panel(const QString& key) const {
    const auto it = entries_.find(key);
    return it == entries_.end() ? nullptr : it->second.panel;
}

QStringList PanelStack::keys() const {
    QStringList keys;
    for (const auto& [key, entry] : entries_)
        if (entry.listed()) keys << key;
    return keys;
}

int PanelStack::bottom() const {
    return static_cast<int>(keys().size()) * AxisPanel::kHeight;
}

void PanelStack::setZeroPoint(int point) {
    zeroPoint_ = point;
    for (const auto& [key, entry] : entries_) entry.panel->setZeroPoint(point);
}

void PanelStack::setReadoutsShown(bool mm, bool inch, bool dial) {
    readouts_[0] = mm;
    readouts_[1] = inch;
    readouts_[2] = dial;
    for (const auto& [key, entry] : entries_) entry.panel->setReadoutsShown(mm, inch, dial);
}

void PanelStack::setZoom(double zoom) {
    zoom_ = zoom;
    for (const auto& [key, entry] : entries_) entry.panel->setZoom(zoom);
    place();
}

void PanelStack::layOut() {
    place();
    emit layoutChanged();
}

// Each panel's edges are those of its design place zoomed, so neighbours touch but never
// overlap whatever the zoom.
void PanelStack::place() {
    int top = 0;
    for (const auto& [key, entry] : entries_) {
        if (!entry.listed()) continue;
        Twips::place(entry.panel, QRect(0, top, AxisPanel::kWidth, AxisPanel::kHeight), zoom_);
        top += AxisPanel::kHeight;
    }
    // The column is as tall as its listed panels: a panel outside it would be cut off.
    resize(Twips::toPx(QRect(0, 0, AxisPanel::kWidth, top), zoom_).size());
}

}  // namespace gradel
