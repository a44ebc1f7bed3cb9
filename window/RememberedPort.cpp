#include "window/RememberedPort.h"

#include <QCoreApplication>

#include "window/ComportMenu.h"
#include "window/PortTable.h"
#include "window/SerialLink.h"
#include "window/Settings.h"

namespace gradel {

namespace {

const QString kSection = QStringLiteral("Comms");
const QString kPort = QStringLiteral("port");
const QString kDevice = QStringLiteral("device");

QString tr(const char* text) {
    return QCoreApplication::translate("RememberedPort", text);
}

}  // namespace

RememberedPort RememberedPort::fromSettings() {
    const Settings store;
    return RememberedPort(store.value(kSection, kPort, QStringLiteral("0")),
                          store.value(kSection, kDevice));
}

RememberedPort::RememberedPort(QString caption, QString identity)
    : caption_(std::move(caption)), identity_(std::move(identity)) {}

RememberedPort::Start RememberedPort::startIn(const PortTable& table) const {
    const int number = ComportMenu::portNumber(caption_);
    if (identity_.isEmpty()) return {number, {}};
    const int now = table.portOf(identity_);
    if (now != 0 && now == number) return {now, {}};
    if (now == 0)
        return {0, tr("The port you chose last time, %1 (%2), is not there now, so no port has "
                      "been opened. Plug the box in and choose its port in the Comport menu.")
                       .arg(SerialLink::caption(number), identity_)};
    return {now, tr("The device of the port you chose last time (%1) is %2 now, no longer %3; "
                    "%2 has been opened.")
                     .arg(identity_, SerialLink::caption(now), SerialLink::caption(number))};
}

void RememberedPort::store(const PortTable& table, int n) {
    if (n < 1 || table.isSimulated(n) || table.device(n).isEmpty()) return;
    Settings store;
    store.setValue(kSection, kPort, SerialLink::caption(n));
    store.setValue(kSection, kDevice, table.identity(n));
}

}  // namespace gradel
