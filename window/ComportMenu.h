#pragma once
// The Comport menu: one entry per port found ("Comm n", the device path as its tip), a tick on
// the port the user chose, and what choosing an entry does to the serial link.
//
// A tick means the user's port is open, or failed to open and said why: a port that cannot be
// opened, or that fails while open, loses its tick.
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

#include "scale/ErrorDialog.h"

class QAction;
class QMenu;
class SerialLink;

class ComportMenu : public QObject {
    Q_OBJECT

  public:
    // `entry0` is the menu's first entry ("Com1"), already in `menu`.
    ComportMenu(QMenu& menu, QAction& entry0, SerialLink& link,
                gradel::IErrorDialog& dialog = gradel::CurrentErrorDialog(),
                QObject* parent = nullptr);

    // Called when the user's choice ends the scales' link (untick): remove every scale.
    std::function<void()> RemoveAll;
    // Called with the caption of an entry chosen while unticked: remember it.
    std::function<void(const QString& caption)> SavePort;

    // Lists the ports that exist, in ascending order, with no gaps in the entry indices.
    void CheckComports();
    // Ticks the entries whose port number is `port` and unticks the others.
    void TickPort(int16_t port);
    // What choosing entry i does. With `remember` false the choice is not saved.
    void Choose(int i, bool remember = true);

    // A choice waiting for the old port to drain does not go on to open the new one (the
    // window is closing).
    void CancelPendingOpen() { ++generation_; }

    const std::vector<QAction*>& Entries() const { return entries_; }
    static int16_t PortNumber(const QString& caption);

  private:
    void AddEntry(QAction* action);
    void Describe(QAction* action, int n);
    void OnPortFailed(int n);

    QMenu& menu_;
    SerialLink& link_;
    gradel::IErrorDialog& dialog_;
    std::vector<QAction*> entries_;  // mnuComPort(0..)
    int generation_ = 0;
};
