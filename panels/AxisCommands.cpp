#include "panels/AxisCommands.h"

#include "panels/AxisPanel.h"
#include "panels/PanelStack.h"
#include "scale/ScaleController.h"

namespace gradel {

AxisCommands::AxisCommands(ScaleController& controller, PanelStack& panels)
    : controller_(controller), panels_(panels) {}

void AxisCommands::connectPanel(AxisPanel* panel) {
    const QString key = panel->key();
    QObject::connect(panel, &AxisPanel::zeroRelativeClicked, panel,
                     [this, key] { zeroRelative(key); });
    QObject::connect(panel, &AxisPanel::adjustPressed, panel, [this, key] { startAdjust(key); });
    QObject::connect(panel, &AxisPanel::adjustDragged, panel,
                     [this, key](double inch) { adjust(key, inch); });
    QObject::connect(panel, &AxisPanel::reverseChanged, panel, [this, key](bool reversed) {
        controller_.setReversed(key.toStdString(), reversed);
    });
}

void AxisCommands::zeroRelative(const QString& key) {
    controller_.resetRelative(key.toStdString());
    controller_.update(key.toStdString());
}

void AxisCommands::zeroAbsolute(const QString& key) {
    controller_.resetAbsolute(key.toStdString());
}

void AxisCommands::toggleAbsolute(const QString& key) {
    if (AxisPanel* panel = panels_.panel(key)) panel->setAbsolute(!panel->isAbsolute());
}

void AxisCommands::toggleTimesTwo(const QString& key) {
    if (AxisPanel* panel = panels_.panel(key)) panel->setTimesTwo(!panel->isTimesTwo());
}

// The panel passes its new state on to the scale (connectPanel).
void AxisCommands::toggleReverse(const QString& key) {
    if (AxisPanel* panel = panels_.panel(key)) panel->setReversed(!panel->isReversed());
}

float AxisCommands::relativeInch(const QString& key) {
    const float inch = controller_.relativeInch(key.toStdString());
    const AxisPanel* panel = panels_.panel(key);
    return panel ? panel->shown(inch) : inch;
}

void AxisCommands::setRelativeInch(const QString& key, float inch) {
    const AxisPanel* panel = panels_.panel(key);
    controller_.setRelativeInch(key.toStdString(), panel ? panel->fromShown(inch) : inch);
    show(key);
}

// Half of what the axis shows now, absolute readings too: with ABS pressed the relative
// reading becomes half the absolute one, which is what the operator sees and asked to halve.
void AxisCommands::halve(const QString& key) {
    const AxisPanel* panel = panels_.panel(key);
    const auto scale = controller_.scales().find(key.toStdString());
    const bool absolute = panel && scale && panel->isAbsolute();
    setRelativeInch(key, (absolute ? panel->shown(scale->absoluteInch()) : relativeInch(key)) / 2);
}

int AxisCommands::zeroPoint() const {
    return controller_.activePoint();
}

void AxisCommands::setZeroPoint(int point) {
    controller_.setActivePoint(point);
}

void AxisCommands::startAdjust(const QString& key) {
    adjustStart_ = controller_.relativeInch(key.toStdString());
}

void AxisCommands::adjust(const QString& key, double inch) {
    controller_.setRelativeInch(key.toStdString(),
                                static_cast<float>(inch + static_cast<double>(adjustStart_)));
    controller_.update(key.toStdString());
}

// The readouts follow at once: a box in poll mode (or a demo scale) may send nothing more, and
// the panel must not go on showing the old relative reading.
void AxisCommands::show(const QString& key) {
    if (controller_.scales().contains(key.toStdString())) controller_.update(key.toStdString());
}

}  // namespace gradel
