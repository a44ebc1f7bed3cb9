// The main window's serial port, its Comport menu, the demo scales and the box commands the
// controller asks for.
#include "window/frmGradel.h"

// Lists the serial ports that can be opened in the Comport menu.
void frmGradel::CheckComports() {}

// Below 1: nothing. Port closed: opens port n and identifies the box. Port open: closes it.
void frmGradel::TogglePort(int16_t n) {
    (void)n;
}

// Whether the serial port is open.
bool frmGradel::PortOpen() const {
    return false;
}

// Closes the serial port without sending anything.
void frmGradel::ClosePort() {}

// Sends a command the controller asks for to the box.
void frmGradel::SC_ScaleComms(const std::string& Message) {
    (void)Message;
}

// Watches the port's clear-to-send line.
void frmGradel::PollCts() {}

// Hidden Speed entries: the box's speed command.
void frmGradel::mnuFileSpeed_Click(int i) {
    (void)i;
}

// Hidden Type entries: the box's type command.
void frmGradel::mnuFileType_Click(int i) {
    (void)i;
}

// Demo: feeds a made-up scale's connect, info and reading messages to the controller.
void frmGradel::mnuDemoAdd_Click(int i) {
    (void)i;
}

// Demo: feeds a made-up scale's disconnect message to the controller.
void frmGradel::mnuDemoRemove_Click(int i) {
    (void)i;
}
