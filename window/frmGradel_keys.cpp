// The main window's function-key menu: the twelve labels and what the function keys do.
#include "window/frmGradel.h"

// Draws the main page of the function-key menu in the labels.
void frmGradel::InitMenu() {}

// Acts on a function key (or any other key) for the function-key menu; may consume it.
void frmGradel::HandleKey(int& KeyCode, int Shift) {
    (void)KeyCode;
    (void)Shift;
}
