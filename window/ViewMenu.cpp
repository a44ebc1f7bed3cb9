#include "window/ViewMenu.h"

#include <QAction>
#include <QMenu>
#include <algorithm>

#include "base/ErrorTrap.h"
#include "window/MenuEntry.h"
#include "window/Settings.h"

namespace gradel {

namespace {

constexpr const char* kSection = "Window";
constexpr const char* kKey = "readouts";  // one digit a readout: "101" hides the inch readout

}  // namespace

ViewMenu::ViewMenu(QMenu& menu, QObject* parent) : QObject(parent) {
    const char* captions[kReadouts] = {"&millimetre", "&Inch", "&Analogue Inch"};
    for (int i = 0; i < kReadouts; ++i) {
        // toggle() decides the tick: the last one ticked stays.
        QAction* entry = addMenuEntry(menu, captions[i], this, [this, i] { toggle(i); });
        entry->setCheckable(true);
        entry->setChecked(true);
        entries_[static_cast<std::size_t>(i)] = entry;
    }
    menu.addSeparator();
    showAllPanels_ = menu.addAction(QStringLiteral("Show All &Panels"));
    showAllPanels_->setObjectName(QStringLiteral("showAllPanels"));
    connect(showAllPanels_, &QAction::triggered, this, &ViewMenu::showAllPanelsChosen);
    setPanelsHidden(false);
    fullScreen_ = menu.addAction(QStringLiteral("&Full Screen"));
    fullScreen_->setObjectName(QStringLiteral("fullScreen"));
    // F11 is Set Position's key.
    fullScreen_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    fullScreen_->setShortcutContext(Qt::ApplicationShortcut);
    connect(fullScreen_, &QAction::triggered, this, &ViewMenu::fullScreenChosen);
}

void ViewMenu::setPanelsHidden(bool hidden) {
    showAllPanels_->setEnabled(hidden);
}

bool ViewMenu::isShown(int readout) const {
    return entry(readout)->isChecked();
}

void ViewMenu::restore() {
    const QString text = Settings().value(QString::fromLatin1(kSection), QString::fromLatin1(kKey));
    std::array<bool, kReadouts> ticks{true, true, true};
    if (text.size() == kReadouts && text.contains(u'1') &&
        std::all_of(text.begin(), text.end(), [](QChar c) { return c == u'0' || c == u'1'; })) {
        for (int i = 0; i < kReadouts; ++i) ticks[static_cast<std::size_t>(i)] = text[i] == u'1';
    }
    show(ticks);
}

void ViewMenu::toggle(int readout) {
    std::array<bool, kReadouts> ticks{};
    for (int i = 0; i < kReadouts; ++i) ticks[static_cast<std::size_t>(i)] = isShown(i);
    ticks[static_cast<std::size_t>(readout)] = !ticks[static_cast<std::size_t>(readout)];
    if (std::find(ticks.begin(), ticks.end(), true) == ticks.end()) return;  // the last one
    show(ticks);
    remember();
}

void ViewMenu::show(const std::array<bool, kReadouts>& ticks) {
    for (int i = 0; i < kReadouts; ++i) entry(i)->setChecked(ticks[static_cast<std::size_t>(i)]);
    emit readoutsChanged(ticks[0], ticks[1], ticks[2]);
}

// A store that cannot be written leaves the view as chosen; the fault is reported.
void ViewMenu::remember() const {
    QString text;
    for (int i = 0; i < kReadouts; ++i) text += isShown(i) ? u'1' : u'0';
    ErrorTrap trap(defaultErrorPrompt(), "frmGradel", "mnuView_Click");
    trap.run([&] {
        Settings().setValue(QString::fromLatin1(kSection), QString::fromLatin1(kKey), text);
    });
}

}  // namespace gradel
