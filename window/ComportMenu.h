#pragma once
// The Comport menu: one entry per port found ("Comm n", the device path as its tip), a tick on
// the port the user chose, and what choosing an entry does to the serial link.
//
// A tick means the user's port is open, or failed to open and said why: a port that cannot be
// opened, or that fails while open, loses its tick.
#include <QObject>
#include <QString>
#include <cstdint>
#include <vector>

class QAction;
class QMenu;

namespace gradel {

class SerialLink;

class ComportMenu : public QObject {
    Q_OBJECT

  public:
    // Puts the first entry ("Com1") in `menu` at once; listPorts() fills in the rest.
    ComportMenu(QMenu& menu, SerialLink& link, QObject* parent = nullptr);

    // Lists the ports that exist, in ascending order, with no gaps in the entries.
    void listPorts();
    // Ticks the entries whose port number is `port` and unticks the others.
    void tickPort(int16_t port);
    // What choosing entry i does: unticked, it closes the port in use and opens its own;
    // ticked, it closes its port.
    void choose(int i);
    // A choice waiting for the old port to drain does not go on to open the new one (the
    // window is closing).
    void cancelPendingOpen() { ++generation_; }

    const std::vector<QAction*>& entries() const { return entries_; }
    // The port number a caption or remembered text names: its numeric value, rounded halves
    // to even; 0 (no port) when that does not fit 16 bits.
    static int16_t portNumber(const QString& caption);

  signals:
    // An entry was chosen to open its port: the caption to remember.
    void portChosen(const QString& caption);
    // The user closed the port by unticking its entry: the box's scales are gone.
    void portClosedByUser();

  private:
    void addEntry(QAction* action);
    void describe(QAction* action, int n);
    void onPortFailed(int n);

    QMenu& menu_;
    SerialLink& link_;
    std::vector<QAction*> entries_;
    int generation_ = 0;
};

}  // namespace gradel
