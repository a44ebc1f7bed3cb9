#pragma once
// The one place where the design's twips (1/1440 inch) become device-independent pixels.
// Every geometry number in the program is written in twips and converted here.
#include <QRect>

class QWidget;

namespace gradel::Twips {

constexpr double kPerInch = 1440.0;

// Logical dots per inch used for the conversion (the primary screen's, 96 when there is none).
double Dpi();
int ToPx(double twips);
double FromPx(double px);
QRect ToPx(int left, int top, int width, int height);
// Moves and sizes a widget in twips.
void Place(QWidget* w, int left, int top, int width, int height);

}  // namespace gradel::Twips
