#include "base/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace gradel::Twips {

double dpi() {
    if (auto* screen = QGuiApplication::primaryScreen()) return screen->logicalDotsPerInchY();
    return 96.0;
}

int toPx(double twips) {
    return static_cast<int>(std::lround(twips * dpi() / kPerInch));
}

double fromPx(double px) {
    return px * kPerInch / dpi();
}

QRect toPx(int left, int top, int width, int height) {
    return QRect(toPx(left), toPx(top), toPx(width), toPx(height));
}

void place(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(toPx(left, top, width, height));
}

}  // namespace gradel::Twips
