#pragma once
// The controls of one axis panel: one element of each of the window's control arrays.
// Element 0 is the template built from the window's design; further elements are made by
// Create() with the same controls, sizes, captions, tooltips and fonts, hidden until shown.
// A panel's state lives in its controls (tags, check states, visibility).
#include <QString>

class QGroupBox;
class QLabel;
class QFrame;
class QPushButton;
class QWidget;
class DigitalDial;
class AnalogueDial;

struct AxisPanel {
    QGroupBox* fraAxis = nullptr;     // frame; its Tag holds the scale key
    QLabel* labAxis = nullptr;        // large axis letter
    DigitalDial* ddMM = nullptr;      // millimetre readout
    DigitalDial* ddInch = nullptr;    // inch readout
    AnalogueDial* AnalogueDial_ = nullptr;  // analogue inch dial
    QFrame* fraButtons = nullptr;     // holds the five buttons
    QPushButton* cmdRS = nullptr;     // "Reset Rel"
    QPushButton* cmdAdj = nullptr;    // "Adj"
    QPushButton* chkABS = nullptr;    // check box drawn as a push button (checkable)
    QPushButton* chkX2 = nullptr;
    QPushButton* chkREV = nullptr;

    // Builds a panel from the design, inside `window`, hidden.
    static AxisPanel Create(QWidget* window);

    // Check-box value as 0 or 1, and setting it (a change raises the box's click path).
    static int Value(const QPushButton* chk);
    static void SetValue(QPushButton* chk, int value);
};
