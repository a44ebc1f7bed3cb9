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

QRect toPx(const QRect& twips, double zoom) {
    const auto edge = [zoom](int t) { return toPx(t * zoom); };
    const int left = edge(twips.left());
    const int top = edge(twips.top());
    return QRect(left, top, edge(twips.left() + twips.width()) - left,
                 edge(twips.top() + twips.height()) - top);
}

void place(QWidget* widget, const QRect& twips, double zoom) {
    widget->setGeometry(toPx(twips, zoom));
}

QFont zoomedFont(const QString& family, int points, double zoom, QFont::Weight weight) {
    QFont font(family, points, weight);
    font.setPointSizeF(points * zoom);
    return font;
}

}  // namespace gradel::Twips
