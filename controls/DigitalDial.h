#pragma once
// A readout that shows one number and its unit, right-aligned and sized to its height, like
// the window of a measuring instrument. A number too wide for its room is drawn smaller (never
// cut); one that would need less than half the usual size shows as the overflow mark. Setters store
// the state and ask for a repaint; the paint reads the state. It starts disabled (drawn greyed,
// taking no mouse input) until its owner enables it.
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>

#include "base/LatencyProbe.h"
#include "controls/GlyphLine.h"

namespace gradel {

class DigitalDial : public QWidget {
    Q_OBJECT
  public:
    explicit DigitalDial(QWidget* parent = nullptr);

    float value() const { return value_; }
    void setValue(float value);
    QString unit() const { return unit_; }
    void setUnit(const QString& unit);
    // The pattern the value is shown by (see formatNumber): "0.00", "0.0005", "" …
    QString format() const { return format_; }
    void setFormat(const QString& pattern);

    // A filling readout's number takes most of its height (a 25th of the height in twips, in
    // points, rather than a 35th) as long as `widestText` and the unit still fit its width;
    // the size depends on the box, never on the number shown, so the point stays put.
    bool isFilling() const { return filling_; }
    void setFilling(bool filling);
    void setWidestText(const QString& text);

    // What the readout shows for a value it cannot show whole: a non-finite one, or one too
    // wide even at half the usual size. Never a part of a number.
    static QString overflowMark();

    // The number in full, e.g. "25.40" (the overflow mark for a non-finite value).
    QString text() const { return text_; }
    // What is drawn: the number, or the overflow mark when it does not fit.
    QString shownText() const { return overflow_ ? overflowMark() : text_; }
    // Where the shown text is drawn and in which font: the usual one, or smaller for a wide number.
    QRect numberRect() const;
    QFont numberFont() const { return numberFont_; }
    // The number, `separator` and the unit, e.g. "25.40mm": what "Copy" puts on the clipboard.
    QString reading(const QString& separator = QString()) const;

  signals:
    void rightClicked();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void layOut();
    double widestFit(double points) const;
    void showText();
    bool fitNumber(bool keepSmall);
    double fitSize(const QString& text) const;
    // Where `text` is drawn in the number's font: ending where the unit begins.
    QRect rectFor(const QString& text) const;
    // The unit as painted on the readout's background, drawn again only when it would look
    // different.
    const QImage& unitImage() const;

    float value_ = 0;
    QString unit_;
    QString format_;
    QString text_ = QStringLiteral("0");
    bool filling_ = false;
    QString widestText_;

    // Worked out from the height and the unit: the two fonts, where the unit text sits and the
    // top both texts share.
    QFont valueFont_;
    QFont unitFont_;
    QRect unitRect_;
    // The number's font as drawn, for numbers shaped like `fittedText_` (smaller than they need
    // while heldSmall_); overflow_ when none fits.
    QFont numberFont_;
    QString fittedText_;
    bool heldSmall_ = false;
    int drop_ = 0;  // how far the number's top lies below the usual one's
    bool overflow_ = false;
    GlyphLine numberLine_;             // the number's glyphs, measured once per font
    // What the unit's image was drawn from.
    struct UnitLook {
        QFont font;
        QString unit;
        bool enabled = false;
        qint64 palette = 0;
        qreal dpr = 0;
        QSize size;
        bool operator==(const UnitLook&) const = default;
    };
    mutable QImage unitImage_;
    mutable UnitLook unitLook_;
    LatencyProbe::Stamp unpainted_{};  // measured only while a latency probe is active
};

}  // namespace gradel
