#include "window/winsys/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace gradel::Twips {

double Dpi() {
    if (auto* screen = QGuiApplication::primaryScreen()) return screen->logicalDotsPerInchY();
    return 96.0;
}

int ToPx(double twips) { return static_cast<int>(std::lround(twips * Dpi() / kPerInch)); }

double FromPx(double px) { return px * kPerInch / Dpi(); }

QRect ToPx(int left, int top, int width, int height) {
    return QRect(ToPx(left), ToPx(top), ToPx(width), ToPx(height));
}

void Place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(ToPx(left, top, width, height));
}

}  // namespace gradel::Twips
