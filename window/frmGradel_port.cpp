// The main window's serial port, its Comport menu, the demo scales and the box commands the
// controller asks for.
#include <QAction>
#include <QMessageBox>

#include "scale/DemoMessages.h"
#include "window/ComportMenu.h"
#include "window/QtSerialPort.h"
#include "window/SerialLink.h"
#include "window/clsIniFile.h"
#include "window/frmGradel.h"

SerialLink& frmGradel::Link() {
    if (!link_) SetSerialPort(std::make_unique<QtSerialPort>(), PortTable::FromSystem());
    return *link_;
}

void frmGradel::SetSerialPort(std::unique_ptr<ISerialPort> port, PortTable table) {
    delete link_;
    link_ = new SerialLink(std::move(port), std::move(table), this);
    connect(link_, &SerialLink::TextReceived, this, [this](const std::string& text) {
        if (!SC) return;
        ReadoutPacer::StreamScope stream(Readouts);
        SC->DataInput(text);
    });
    connect(link_, &SerialLink::LinesLost, this, [this] {
        if (SC) SC->RemoveAll();
    });
    connect(link_, &SerialLink::Notice, this, &frmGradel::ShowNotice);
}

void frmGradel::UseSimulatedBox(const QString& device) {
    Link().Table().PutFirst(device);
    startPort_ = 1;
}

// A message that does not stop the display: the readings keep coming while it is shown.
void frmGradel::ShowNotice(const QString& text) {
    if (!notice_) {
        notice_ = new QMessageBox(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
        notice_->setObjectName(QStringLiteral("portNotice"));
        notice_->setWindowModality(Qt::NonModal);
        notice_->setAttribute(Qt::WA_DeleteOnClose);
    } else {
        notice_->setText(text);
    }
    notice_->show();
}

// Lists the serial ports that exist in the Comport menu.
void frmGradel::CheckComports() {
    if (!comport_) {
        comport_ = new ComportMenu(*mnuPort, *mnuComPort.front(), Link(),
                                   gradel::CurrentErrorDialog(), this);
        // A settings store that cannot be written must not take the program down with the
        // user's choice: the fault is reported, and the chosen port stays open.
        comport_->SavePort = [](const QString& caption) {
            gradel::ErrorTrap trap(gradel::CurrentErrorDialog(), "frmGradel", "mnuComPort_Click");
            trap.Run([&] {
                gradel::clsIniFile().SaveIni(QStringLiteral("Comms"), QStringLiteral("port"),
                                             caption);
            });
        };
        comport_->RemoveAll = [this] {
            if (SC) SC->RemoveAll();
        };
    }
    comport_->CheckComports();
    mnuComPort = comport_->Entries();
}

// Below 1: nothing. Port closed: opens port n and identifies the box. Port open: sends "S0",
// lets it drain and closes it. At start-up with a simulated box, that box's port is opened.
void frmGradel::TogglePort(int16_t n) {
    if (startPort_ >= 0) {
        n = startPort_;
        startPort_ = -1;
    }
    Link().TogglePort(n);
}

bool frmGradel::PortOpen() const {
    return link_ && link_->PortOpen();
}

// Closes the serial port without sending anything; a port switch waiting for the old port to
// drain does not go on to open the new one.
void frmGradel::ClosePort() {
    if (comport_) comport_->CancelPendingOpen();
    if (link_) link_->Close();
}

void frmGradel::SendToBox(const std::string& text) {
    if (link_) link_->Send(text);
}

// "I0" identifies the box (twice, a second apart); anything else goes out as it stands.
void frmGradel::SC_ScaleComms(const std::string& Message) {
    if (Message == "I0")
        Link().IdentifyBox();
    else
        SendToBox(Message);
}

// Watches the port's clear-to-send line.
void frmGradel::PollCts() {
    if (link_) link_->PollLines();
}

// Hidden Speed entries: "S" and the character whose code is i + 1.
void frmGradel::mnuFileSpeed_Click(int i) {
    for (int k = 0; k < static_cast<int>(mnuFileSpeed.size()); ++k)
        mnuFileSpeed[static_cast<std::size_t>(k)]->setChecked(k == i);
    if (PortOpen()) SendToBox(std::string{'S', static_cast<char>(i + 1)});
}

// Hidden Type entries: "V" and the character whose code is i.
void frmGradel::mnuFileType_Click(int i) {
    for (int k = 0; k < static_cast<int>(mnuFileType.size()); ++k)
        mnuFileType[static_cast<std::size_t>(k)]->setChecked(k == i);
    if (PortOpen()) SendToBox(std::string{'V', static_cast<char>(i)});
}

// Demo: feeds a made-up scale's connect, info and reading messages to the controller, one call
// each.
void frmGradel::mnuDemoAdd_Click(int i) {
    if (!SC) return;
    for (const std::string& message : gradel::DemoAddMessages(i)) SC->DataInput(message);
}

// Demo: feeds a made-up scale's disconnect message to the controller.
void frmGradel::mnuDemoRemove_Click(int i) {
    if (SC) SC->DataInput(gradel::DemoRemoveMessage(i));
}
