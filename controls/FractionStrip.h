#pragma once
// The fraction tape of the analogue dial: four inches of fraction marks with a margin of two
// divisions at each end, and optionally the hatched wedges under them. The tape is rendered
// once per DrawScale into an off-screen image and afterwards only moved; moving it copies the
// uncovered part of the image. A tape whose image would be too large paints the same picture
// straight from its marks, only the part being shown.
#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>
#include <cstdint>

class QPainter;

// What the tape shows; the tape's size and font are set on the widget itself.
struct FractionScale {
    int32_t divisions = 2;  // D
    int pitch = 0;          // p, twips between neighbouring marks
    QString unit;           // after every label
    bool arrows = false;
    QColor arrowColour;
    Qt::BrushStyle arrowStyle = Qt::SolidPattern;
};

class FractionStrip : public QWidget {
    Q_OBJECT
public:
    // Largest off-screen image kept, in device pixels.
    static constexpr int64_t kImageBudget = 8 * 1024 * 1024;

    explicit FractionStrip(QWidget* parent);

    // Draws the wedges (when enabled), then every mark with its label, for the present size.
    void DrawScale(const FractionScale& scale);
    // How often the whole tape has been rendered (once per DrawScale while it is cached).
    int Renders() const { return renders_; }
    bool Cached() const { return !image_.isNull(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Paints the pixel rows from `top` to `bottom` (inclusive) in the tape's own pixels.
    void Paint(QPainter& painter, int top, int bottom) const;
    void DrawArrows(QPainter& painter) const;
    void DrawMarkLine(QPainter& painter, int row, int gapLeft, int gapRight) const;
    // Mark j (from -1 to 4D + 1) lies (j + 2) divisions below the tape's top.
    QString Label(int64_t j) const;
    bool IsZeroMark(int64_t j) const;

    FractionScale scale_;
    QImage image_;
    int renders_ = 0;
};
