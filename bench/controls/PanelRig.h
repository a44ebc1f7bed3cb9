#pragma once
// One axis panel's display controls on a window of their own, set up as a panel sets them up:
// the millimetre and inch readouts and the inch dial at their places and sizes in twips.
#include <QCoreApplication>
#include <QWidget>

#include "base/Twips.h"
#include "controls/AnalogueDial.h"
#include "controls/DigitalDial.h"

namespace gradel {

struct PanelRig {
    QWidget window;
    DigitalDial* mm = new DigitalDial(&window);
    DigitalDial* inch = new DigitalDial(&window);
    AnalogueDial* dial = new AnalogueDial(&window);

    explicit PanelRig(int divisions) {
        window.setAutoFillBackground(true);
        Twips::place(&window, 0, 0, 6375, 1455);
        Twips::place(mm, 960, 240, 1695, 615);
        Twips::place(inch, 2760, 240, 1695, 615);
        Twips::place(dial, 4560, 240, 1695, 1095);
        dial->setDivisions(divisions);
        dial->setArrowStyle(Qt::DiagCrossPattern);
        dial->setArrowColour(QColor(255, 192, 192));
        dial->setArrowsShown(true);
        inch->setUnit(QStringLiteral("\""));
        inch->setFormat(QStringLiteral("0.0005"));
        mm->setUnit(QStringLiteral("mm"));
        mm->setFormat(QStringLiteral("0.00"));
        mm->setEnabled(true);
        inch->setEnabled(true);
        window.show();
        QCoreApplication::processEvents();
    }

    // A position in inches, shown as the panel shows a reading.
    void show(float inches) {
        mm->setValue(inches * 25.4f);
        inch->setValue(inches);
        dial->setValue(inches);
    }
};

}  // namespace gradel
