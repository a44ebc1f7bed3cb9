#pragma once
// The fraction tape of the analogue dial: four inches of fraction marks with a margin of two
// divisions at each end, and optionally the hatched wedges under them. The tape is rendered
// once per change of scale into an off-screen image and afterwards only moved; moving it
// copies the uncovered part of the image. A tape whose image would be too large paints the
// same picture straight from its marks, only the part being shown.
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

    // Renders the wedges (when shown), then every mark with its label, at the present size.
    void draw(const Markings& markings);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // Paints the pixel rows from `top` to `bottom` (inclusive) in the tape's own pixels.
    void paintRows(QPainter& painter, int top, int bottom) const;
    void paintArrows(QPainter& painter) const;
    void paintMarkLine(QPainter& painter, int row, int gapLeft, int gapRight) const;
    // Mark j (from -1 to 4D + 1) lies (j + 2) divisions below the tape's top.
    QString label(int64_t j) const;
    bool isZeroMark(int64_t j) const;

    Markings markings_;
    QImage image_;
};

}  // namespace gradel
