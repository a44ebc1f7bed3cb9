#pragma once
// The one place where lengths in twips (1/1440 inch) become device-independent pixels.
// Every length of the window's layout is written in twips and converted here, and lettering
// that grows with the layout gets its size here too.
#include <QFont>
#include <QRect>
#include <QString>

class QWidget;

namespace gradel::Twips {

constexpr double kPerInch = 1440.0;

// Logical dots per inch used for the conversion (the primary screen's, 96 when there is none).
double dpi();
int toPx(double twips);
double fromPx(double px);
QRect toPx(int left, int top, int width, int height);
// Moves and sizes a widget in twips.
void place(QWidget* widget, int left, int top, int width, int height);

// The same rectangle drawn `zoom` times its design size. Its edges are rounded, not its
// lengths, so rectangles that touch in the layout still touch (and never overlap) at any zoom;
// at zoom 1 every length of the layout, a whole number of pixels, comes out as toPx gives it.
QRect toPx(const QRect& twips, double zoom);
void place(QWidget* widget, const QRect& twips, double zoom);
// The font `family`, `points` large at zoom 1 and `zoom` times that otherwise.
QFont zoomedFont(const QString& family, int points, double zoom,
                 QFont::Weight weight = QFont::Normal);

}  // namespace gradel::Twips
