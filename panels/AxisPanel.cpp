#include "panels/AxisPanel.h"

#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QToolTip>

#include "controls/AnalogueDial.h"
#include "controls/DigitalDial.h"
#include "window/winsys/Twips.h"

namespace {

QPushButton* Button(QWidget* parent, const char* caption, int left, int width, const char* tooltip,
                    bool checkable) {
    auto* b = new QPushButton(QString::fromLatin1(caption), parent);
    gradel::Twips::Place(b, left, 0, width, 255);
    if (tooltip) b->setToolTip(QString::fromLatin1(tooltip));
    b->setCheckable(checkable);
    return b;
}

QLabel* AxisLabel(QWidget* parent) {
    auto* l = new QLabel(QStringLiteral("X"), parent);
    gradel::Twips::Place(l, 120, 240, 735, 615);
    l->setFont(QFont(QStringLiteral("MS Sans Serif"), 24, QFont::Bold));
    l->setAlignment(Qt::AlignCenter);
    l->setFrameStyle(QFrame::Box | QFrame::Plain);
    l->setLineWidth(1);
    QPalette p = l->palette();
    p.setColor(QPalette::Window, QToolTip::palette().color(QPalette::ToolTipBase));
    l->setPalette(p);
    l->setAutoFillBackground(true);
    return l;
}

}  // namespace

AxisPanel AxisPanel::Create(QWidget* window) {
    AxisPanel a;
    a.fraAxis = new QGroupBox(QStringLiteral("Axis frame"), window);
    a.fraAxis->hide();
    gradel::Twips::Place(a.fraAxis, 1560, 0, 6375, 1455);

    a.labAxis = AxisLabel(a.fraAxis);
    a.ddMM = new DigitalDial(a.fraAxis);
    gradel::Twips::Place(a.ddMM, 960, 240, 1695, 615);
    a.ddInch = new DigitalDial(a.fraAxis);
    gradel::Twips::Place(a.ddInch, 2760, 240, 1695, 615);
    a.AnalogueDial_ = new AnalogueDial(a.fraAxis);
    gradel::Twips::Place(a.AnalogueDial_, 4560, 240, 1695, 1095);

    a.fraButtons = new QFrame(a.fraAxis);
    a.fraButtons->setFrameShape(QFrame::NoFrame);
    gradel::Twips::Place(a.fraButtons, 960, 960, 3495, 255);
    a.cmdRS = Button(a.fraButtons, "Reset Rel", 0, 855, nullptr, false);
    a.cmdRS->setEnabled(false);
    a.cmdAdj =
        Button(a.fraButtons, "Adj", 1200, 495,
               "drag to adjust current reading (left button slow, right button fast)", false);
    a.chkABS = Button(a.fraButtons, "ABS", 1800, 495, "Selects Absolute setting", true);
    a.chkX2 = Button(a.fraButtons, "X2", 2400, 495, "Selects Times two (diameter) mode", true);
    a.chkX2->setEnabled(false);
    a.chkREV = Button(a.fraButtons, "Rev", 3000, 495, "Reverses reading", true);
    return a;
}

int AxisPanel::Value(const QPushButton* chk) {
    return chk->isChecked() ? 1 : 0;
}

void AxisPanel::SetValue(QPushButton* chk, int value) {
    chk->setChecked(value != 0);
}
