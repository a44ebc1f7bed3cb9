#pragma once
// An inch dial in the manner of a mechanical instrument: a whole-inch tape and a fraction tape
// scroll past a fixed index line, each behind a window of its own that stays in place. The
// fraction tape is rendered once per change of scale (size, divisions, unit, arrows), the
// four-mark whole-inch tape when its whole part changes; a new value only slides them.
#include <QColor>
#include <QString>
#include <QWidget>

namespace gradel {

class ErrorPrompt;
class FractionStrip;
class IntegerStrip;

class AnalogueDial : public QWidget {
    Q_OBJECT
  public:
    // `prompt` answers faults (a value too large to scroll to, divisions too many to draw);
    // null means whichever prompt is the default at the time.
    explicit AnalogueDial(QWidget* parent = nullptr, ErrorPrompt* prompt = nullptr);

    float value() const { return value_; }
    // A value too far to scroll to (beyond 32 bits of whole inches, or no number) leaves the
    // tapes where they were; only the first such value in the dial's life is reported.
    void setValue(float value);
    // Fraction marks per inch; below 2 counts as 2. A count whose tape cannot be built at the
    // present size is refused (Overflow) and the old count kept.
    int divisions() const { return divisions_; }
    void setDivisions(int divisions);
    // Written after every fraction label.
    QString unit() const { return unit_; }
    void setUnit(const QString& unit);
    // The hatched wedges under the fraction marks.
    bool arrowsShown() const { return arrowsShown_; }
    void setArrowsShown(bool shown);
    QColor arrowColour() const { return arrowColour_; }
    void setArrowColour(const QColor& colour);
    Qt::BrushStyle arrowStyle() const { return arrowStyle_; }
    void setArrowStyle(Qt::BrushStyle style);

    // The value to the nearest division as whole inches, a dash and a reduced fraction, e.g.
    // "-3-3/4" + unit; "2", "1/2" or "0" when a part is missing. A whole part beyond 16 bits
    // is an Overflow and gives "".
    QString reading() const;

  signals:
    void rightClicked();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void applySize();
    void redrawTapes();
    // Scrolls both tapes to the value; false (tapes left as they are) for a value whose whole
    // part does not fit 32 bits.
    bool showValue();
    int indexLine() const;  // twips from the top
    ErrorPrompt& prompt() const;

    ErrorPrompt* prompt_;
    float value_ = 0;
    bool valueFaultReported_ = false;
    int divisions_ = 64;
    QString unit_;
    bool arrowsShown_ = false;
    QColor arrowColour_ = Qt::black;
    Qt::BrushStyle arrowStyle_ = Qt::SolidPattern;

    // Geometry in twips, worked out from the size.
    int divPitch_ = 0, intPitch_ = 0, intLeft_ = 0, intWidth_ = 0, fracWidth_ = 0;
    int inchLength_ = 0, fracTop0_ = 0, intTop0_ = 0;

    IntegerStrip* integerStrip_;
    FractionStrip* fractionStrip_;
};

}  // namespace gradel
