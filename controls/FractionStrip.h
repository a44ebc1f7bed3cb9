#pragma once
// The fraction tape of the analogue dial: four inches of fraction marks with a margin of two
// divisions at each end, and optionally the hatched wedges under them. The widget is the
// dial's window onto the tape: it stays where it is, and the tape slides behind it. The tape
// is rendered once per change of scale into an off-screen image, and a new position only
// copies the part of the image the window shows. (A moving child widget would have the window
// system copy the screen under it, which on X11 waits for the server once for every move.) A
// tape whose image would be too large paints the same picture straight from its marks, only
// the part being shown.
#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>
#include <cstdint>

class QPainter;

namespace gradel {

// `numerator`/`denominator` in lowest terms ("3/4" for 48/64, "1/1" for a whole inch), or "0"
// for nothing.
QString fractionText(int numerator, int denominator);

class FractionStrip : public QWidget {
    Q_OBJECT
  public:
    // What the tape shows; its size and font are the widget's own.
    struct Markings {
        int divisions = 2;  // marks per inch
        int pitch = 0;      // twips between neighbouring marks
        QString unit;       // written after every label
        bool arrows = false;
        QColor arrowColour;
        Qt::BrushStyle arrowStyle = Qt::SolidPattern;
    };

    explicit FractionStrip(QWidget* parent);

    // Renders the wedges (when shown), then every mark with its label, on a tape as wide as
    // the window and `length` pixels long.
    void draw(const Markings& markings, int length);
    // Where the tape's top lies, in the window's pixels (above it: negative).
    void setTapeTop(int top);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // Paints the tape's pixel rows from `top` to `bottom` (inclusive), in the tape's pixels.
    void paintRows(QPainter& painter, int top, int bottom) const;
    void paintArrows(QPainter& painter) const;
    void paintMarkLine(QPainter& painter, int row, int gapLeft, int gapRight) const;
    // Mark j (from -1 to 4D + 1) lies (j + 2) divisions below the tape's top.
    QString label(int64_t j) const;
    bool isZeroMark(int64_t j) const;

    Markings markings_;
    int length_ = 0;
    int top_ = 0;
    QImage image_;
};

}  // namespace gradel
