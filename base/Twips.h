#pragma once
// The one place where lengths in twips (1/1440 inch) become device-independent pixels.
// Every length of the window's layout is written in twips and converted here.
#include <QRect>

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

}  // namespace gradel::Twips
