// The main window's axis panels: per-scale operations, the panels' controls, the controller's
// panel events and the keypad poll. The controls' handling itself lives in AxisControls.
#include <QGroupBox>
#include <QLayout>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "panels/modScales.h"
#include "window/frmGradel.h"
#include "window/winsys/Tag.h"
#include "window/winsys/Twips.h"

namespace {
constexpr int32_t kDesignClientHeight = 6600;  // four panels of 1455 twips fit
}

// Hides the panel of `key` and takes it out of the panel directory.
void frmGradel::RemovePanel(const QString& key) {
    modScales::RemovePanel(*this, key);
}

// Shows the scale's new position in its panel (at the end of the screen's frame when readings
// stream in faster than it shows them).
void frmGradel::SC_PositionUpdate(gradel::clsGradel& CurrentScale) {
    if (Readouts.Changed(CurrentScale.Key())) modScales::ShowPosition(*this, CurrentScale);
}

void frmGradel::ShowHeldPosition(const std::string& key) {
    if (SC && SC->Scales().Exists(key)) modScales::ShowPosition(*this, *SC->Scales().Item(key));
}

// Makes or re-shows the new scale's panel and asks the box for fast mode.
// A panel shown again keeps its Rev state, but the scale's record is new: the record is told
// the panel's state so that the display counts the way its Rev button says.
void frmGradel::SC_ScaleAdded(gradel::clsGradel& NewScale) {
    const QString key = QString::fromStdString(NewScale.Key());
    modScales::AddPanel(*this, key);
    for (const AxisPanel& p : Panels()) {
        if (gradel::Tag(p.fraAxis) == key) {
            SC->Reverse(NewScale.Key(), AxisPanel::Value(p.chkREV) == 1);
            break;
        }
    }
    if (PortOpen()) SendToBox("S2");
}

// Hides the removed scale's panel.
void frmGradel::SC_ScaleRemoved(const std::string& OldScaleID) {
    modScales::RemovePanel(*this, QString::fromStdString(OldScaleID));
}

// Reads the keypad and turns a new code into a function-key press.
void frmGradel::PollKeypad() {
    Keypad.Tick();
}

// Connects the controls of panel i (template or copy) to their handlers.
void frmGradel::WirePanel(int i) {
    Axis.ConnectPanel(i);
}

void frmGradel::WirePopupMenus() {
    AxisMenus menus;
    menus.mnuPopupAnalogue = mnuPopupAnalogue;
    menus.mnuPopupAnalogueCopy = mnuPopupAnalogueCopy;
    menus.mnuPopupDivisions = mnuPopupDivisions;
    menus.mnuPopupInch = mnuPopupInch;
    menus.mnuPopupInchCopy = mnuPopupInchCopy;
    menus.mnuPopupMM = mnuPopupMM;
    menus.mnuPopupMMCopy = mnuPopupMMCopy;
    Axis.SetMenus(menus);
}

void frmGradel::FitPanelColumn(int32_t panelsBottom) {
    const int32_t height = std::max(kDesignClientHeight, panelsBottom);
    const int px = gradel::Twips::ToPx(height);
    if (client->maximumHeight() == px && client->minimumHeight() == px) return;
    client->setFixedHeight(px);
    if (layout()) {
        layout()->invalidate();
        layout()->activate();
    }
    // A taller window moves up as far as needed to keep its lower edge on the screen.
    if (const QScreen* s = screen()) {
        const QRect area = s->availableGeometry();
        const int overshoot = frameGeometry().bottom() - area.bottom();
        if (overshoot > 0) move(x(), std::max(area.top(), y() - overshoot));
    }
}

// Zeroes the scale's relative value and shows it.
void frmGradel::ResetRel(const QString& SCid) {
    Axis.ResetRel(SCid);
}

// Asks the box to zero the scale.
void frmGradel::ResetAbsolute(const QString& SCid) {
    Axis.ResetAbsolute(SCid);
}

// Flips the ABS box of the scale's panel.
void frmGradel::ToggleABS(const QString& SCid) {
    Axis.ToggleABS(SCid);
}

// Flips the X2 box of the scale's panel.
void frmGradel::ToggleX2(const QString& SCid) {
    Axis.ToggleX2(SCid);
}

// Flips the Rev box of the scale's panel (the controller follows through the box's click).
void frmGradel::ToggleReverse(const QString& SCid) {
    Axis.ToggleReverse(SCid);
}

// The scale's relative value in inches as its panel shows it (doubled in times-two mode).
float frmGradel::GetRelativeInch(const QString& SCid) {
    return Axis.GetRelativeInch(SCid);
}

// Sets the scale's relative value in inches as its panel shows it (halved in times-two mode).
void frmGradel::SetRelativeInch(const QString& SCid, float value) {
    Axis.SetRelativeInch(SCid, value);
}
