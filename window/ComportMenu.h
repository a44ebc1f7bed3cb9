#pragma once
// The Comport menu: one entry for each port whose device exists ("Comm n", the device's
// identity as its tip), a tick on the port that is open, and what choosing an entry does to the
// serial link.
//
// A tick stands only on an open port: a port that cannot be opened, or that fails while open,
// has none, and choosing its entry again opens it.
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
    ComportMenu(QMenu& menu, SerialLink& link, QObject* parent = nullptr);

    // Lists the ports that exist, in ascending order; a menu with none says so.
    void listPorts();
    // Ticks the entry of the open port and no other.
    void showOpenPort();
    // What choosing entry i does: its port open, it closes it; else it closes the port in use
    // (letting its output drain) and opens its own. Chosen again while that drain runs, it
    // calls the switch off.
    void choose(int i);
    // A choice waiting for the old port to drain does not go on to open the new one (the
    // window is closing).
    void cancelPendingOpen();

    const std::vector<QAction*>& entries() const { return entries_; }
    // The port number a caption or remembered text names: its numeric value, rounded halves
    // to even; 0 (no port) when that does not fit 16 bits.
    static int16_t portNumber(const QString& caption);

  signals:
    // Port n was chosen and has opened: the port to remember.
    void portOpened(int n);
    // The user closed the port by unticking its entry: the box's scales are gone.
    void portClosedByUser();

  private:
    void addEntry(int n);
    void switchTo(int n);

    QMenu& menu_;
    SerialLink& link_;
    std::vector<QAction*> entries_;
    int generation_ = 0;
    int pending_ = 0;  // the port a switch opens once the old one has drained
};

}  // namespace gradel
