// The main window's function-key menu: the twelve labels and what the function keys do.
#include "panels/frmNumentry.h"
#include "panels/modKeys.h"
#include "window/frmGradel.h"

modKeys& frmGradel::Keys() {
    if (!keys_) keys_ = std::make_shared<modKeys>(*this, Numentry());
    return *keys_;
}

frmNumentry& frmGradel::Numentry() {
    if (!numentry_) numentry_ = new frmNumentry(this);
    return *numentry_;
}

// Draws the main page of the function-key menu in the labels.
void frmGradel::InitMenu() {
    Keys().InitMenu();
}

// Acts on a function key (or any other key) for the function-key menu; may consume it.
void frmGradel::HandleKey(int& KeyCode, int Shift) {
    Keys().HandleKey(KeyCode, Shift);
}
