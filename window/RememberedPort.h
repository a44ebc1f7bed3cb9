#pragma once
// The port the user chose, as the settings keep it: `[Comms] port=Comm n` (the number, as it
// has always been stored) and beside it `device=`, the identity that number had when it was
// chosen (see PortTable). Numbers move when adapters come and go; the identity does not, so at
// start-up it decides which port is opened, and a remembered device that is gone opens nothing.
#include <QString>

namespace gradel {

class PortTable;

class RememberedPort {
  public:
    // What start-up should do: the port to open (0: none) and, when that is not simply the
    // remembered number, a word for the user.
    struct Start {
        int port = 0;
        QString notice;
    };

    // The remembered port from the settings store; none when it cannot be read.
    static RememberedPort fromSettings();
    RememberedPort(QString caption, QString identity);

    // The remembered identity's port in `table`. A stored number without an identity (written
    // by an older version) is taken as it stands.
    Start startIn(const PortTable& table) const;

    // Stores port n of `table` (caption and identity); the simulated box is never stored.
    // Throws Failure when the store cannot be written.
    static void store(const PortTable& table, int n);

  private:
    QString caption_;
    QString identity_;
};

}  // namespace gradel
