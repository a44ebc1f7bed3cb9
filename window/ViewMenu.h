#pragma once
// The View menu: which readouts the panels show (millimetre, inch, analogue inch; at least one
// stays ticked, so the last one refuses to go), Show All Panels (the panels hidden by a double
// click come back) and Full Screen (Ctrl+Shift+F). The ticks are remembered in the settings'
// [Window] section and come back at the next start.
#include <QObject>
#include <array>

class QAction;
class QMenu;

namespace gradel {

class ViewMenu : public QObject {
    Q_OBJECT
  public:
    static constexpr int kReadouts = 3;  // millimetre, inch, analogue inch

    // Fills `menu`, all readouts ticked.
    ViewMenu(QMenu& menu, QObject* parent);

    // The remembered ticks (all, when none or none ticked are remembered); reports them.
    void restore();
    bool isShown(int readout) const;
    QAction* entry(int readout) const { return entries_.at(static_cast<std::size_t>(readout)); }
    QAction* fullScreenEntry() const { return fullScreen_; }
    QAction* showAllPanelsEntry() const { return showAllPanels_; }
    // Show All Panels can be chosen only while a panel is hidden: a hidden panel shows nowhere
    // else, so the greyed entry is how the operator sees that none is.
    void setPanelsHidden(bool hidden);

  signals:
    void readoutsChanged(bool mm, bool inch, bool dial);
    void fullScreenChosen();
    void showAllPanelsChosen();

  private:
    void toggle(int readout);
    void show(const std::array<bool, kReadouts>& ticks);
    void remember() const;

    std::array<QAction*, kReadouts> entries_{};
    QAction* showAllPanels_ = nullptr;
    QAction* fullScreen_ = nullptr;
};

}  // namespace gradel
