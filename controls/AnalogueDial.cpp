#include "controls/AnalogueDial.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "base/ErrorTrap.h"
#include "base/Rounding.h"
#include "base/Twips.h"
#include "controls/FractionStrip.h"
#include "controls/IntegerStrip.h"

namespace gradel {

namespace {

constexpr const char* kModule = "AnalogueDial";
constexpr double kMinPointSize = 1.0;

// Whether a fraction tape of `divisions` marks `pitch` twips apart can be built: one inch must
// fit a 32-bit length and the whole tape a widget's largest height.
bool tapeFits(int pitch, int divisions) {
    const int64_t inch = int64_t{pitch} * divisions;
    if (inch > std::numeric_limits<int32_t>::max()) return false;
    return static_cast<double>(4 * (int64_t{pitch} + inch)) <= Twips::fromPx(QWIDGETSIZE_MAX);
}

// The whole inches of `value` (rounded down), when they fit 32 bits.
std::optional<int> wholeInches(float value) {
    const double whole = std::floor(static_cast<double>(value));
    if (!(whole >= std::numeric_limits<int32_t>::min() &&
          whole <= std::numeric_limits<int32_t>::max()))
        return std::nullopt;
    return static_cast<int>(whole);
}

}  // namespace

AnalogueDial::AnalogueDial(QWidget* parent, ErrorPrompt* prompt)
    : QWidget(parent),
      prompt_(prompt),
      integerStrip_(new IntegerStrip(this)),
      fractionStrip_(new FractionStrip(this)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    applySize();
}

ErrorPrompt& AnalogueDial::prompt() const {
    return prompt_ ? *prompt_ : defaultErrorPrompt();
}

// New values come with every reading, many times a second: a value the tapes cannot scroll to
// is reported the first time only, and the dial goes on. The mark is set before asking, since
// the prompt's own event loop goes on bringing readings while the operator reads it; a report
// for each of them would stack prompt upon prompt faster than anyone could answer them.
void AnalogueDial::setValue(float value) {
    value_ = value;
    if (showValue() || valueFaultReported_) return;
    valueFaultReported_ = true;
    ErrorTrap(prompt(), kModule, "Value").run([&] {
        if (!showValue()) throw Failure(Fault::Overflow);
    });
}

// A count whose tape cannot be built at the present size is refused before it is stored, so
// the dial never claims a count it does not show.
void AnalogueDial::setDivisions(int divisions) {
    const int count = std::max(divisions, 2);
    bool fits = false;
    ErrorTrap(prompt(), kModule, "Divisions").run([&] {
        if (!tapeFits(divPitch_, count)) throw Failure(Fault::Overflow);
        fits = true;
    });
    if (!fits) return;
    divisions_ = count;
    redrawTapes();
}

void AnalogueDial::setUnit(const QString& unit) {
    unit_ = unit;
    redrawTapes();
}

void AnalogueDial::setArrowsShown(bool shown) {
    arrowsShown_ = shown;
    redrawTapes();
}

void AnalogueDial::setArrowColour(const QColor& colour) {
    arrowColour_ = colour;
    redrawTapes();
}

void AnalogueDial::setArrowStyle(Qt::BrushStyle style) {
    arrowStyle_ = style;
    redrawTapes();
}

// Written as a machinist writes it, so that pasted it reads as the same number: the sign, the
// whole inches, a dash, the reduced fraction ("-1-1/2"); rounded to the nearest division with
// the carry into the whole inches (3.999 is "4"), and "0" when nothing is left.
QString AnalogueDial::reading() const {
    std::optional<int16_t> whole;
    ErrorTrap(prompt(), kModule, "Reading").run([&] {
        whole = roundToInt16(std::floor(static_cast<double>(value_)));
        if (!whole) throw Failure(Fault::Overflow);
    });
    if (!whole) return {};
    const double size = std::fabs(static_cast<double>(value_));
    // Halves to even, as everywhere; 64 bits, since a fine tape far out has many divisions.
    const auto count = static_cast<int64_t>(std::nearbyint(size * divisions_));
    const int64_t inches = count / divisions_;
    const int rest = static_cast<int>(count % divisions_);
    QString text = count > 0 && value_ < 0 ? QStringLiteral("-") : QString();
    if (inches > 0) text += QString::number(inches);
    if (inches > 0 && rest > 0) text += u'-';
    if (rest > 0) text += fractionText(rest, divisions_);
    if (count == 0) text = QStringLiteral("0");
    return text + unit_;
}

// The tapes' pitches and fonts follow the height, their widths the width: the whole-inch tape
// takes the second eighth of the dial, the fraction tape the middle half beside it.
void AnalogueDial::applySize() {
    const double height = Twips::fromPx(this->height());
    const double width = Twips::fromPx(this->width());
    divPitch_ = roundHalfEven(height / 3);
    intPitch_ = roundHalfEven(height / 3.5);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(std::max(intPitch_ / 25.0, kMinPointSize));
    integerStrip_->setFont(font);
    font.setPointSizeF(std::max(divPitch_ / 35.0, kMinPointSize));
    fractionStrip_->setFont(font);
    intLeft_ = roundHalfEven(width / 8);
    intWidth_ = roundHalfEven(width / 4);
    fracWidth_ = roundHalfEven(width / 2);
    redrawTapes();
}

void AnalogueDial::redrawTapes() {
    // A dial made so tall that the present count no longer fits shows no fraction tape.
    const bool fits = tapeFits(divPitch_, divisions_);
    inchLength_ = fits ? divPitch_ * divisions_ : 0;
    const auto tapeHeight = static_cast<int>(4 * (int64_t{divPitch_} + inchLength_));
    fractionStrip_->setVisible(fits);
    fractionStrip_->setGeometry(Twips::toPx(intLeft_ + intWidth_), 0, Twips::toPx(fracWidth_),
                                this->height());
    update();  // the dial's own surface: background and index line
    fractionStrip_->draw({divisions_, divPitch_, unit_, arrowsShown_, arrowColour_, arrowStyle_},
                         Twips::toPx(tapeHeight));

    // The tape's height as set in twips places it; its pixel extent is only how it is shown.
    const double height = Twips::fromPx(this->height());
    fracTop0_ = roundHalfEven(height / 2 - tapeHeight / 2.0);
    intTop0_ = roundHalfEven(height / 2 - 2.0 * intPitch_);
    integerStrip_->setGeometry(Twips::toPx(intLeft_), 0, Twips::toPx(intWidth_), this->height());
    showValue();
}

// The fraction tape slides by the whole part and the fraction, the whole-inch tape by the
// fraction after relabelling its four ticks.
bool AnalogueDial::showValue() {
    const std::optional<int> whole = wholeInches(value_);
    if (!whole) return false;
    const int w = *whole;
    const auto fraction = static_cast<double>(value_ - static_cast<float>(w));

    const double length = inchLength_;
    double fracTop = fracTop0_ - fraction * length;
    if (w >= 1) {
        fracTop -= length;
    } else if (w == -1) {
        fracTop += length;
    } else if (w <= -2) {
        fracTop += 2 * length;
    }
    const double intTop = intTop0_ - fraction * intPitch_;
    // Pixel rows are counted from the index line, so a mark that lies on the line in twips is
    // drawn on the line's own pixel row.
    const int line = indexLine();
    const int linePx = Twips::toPx(line);
    fractionStrip_->setTapeTop(linePx - Twips::toPx(line - fracTop));
    integerStrip_->showWhole(w, intPitch_, linePx - Twips::toPx(line - intTop));
    return true;
}

int AnalogueDial::indexLine() const {
    return roundHalfEven(Twips::fromPx(height()) / 2);
}

// Nothing here can fail: a value too large to scroll to just leaves the tapes where they were.
void AnalogueDial::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    applySize();
}

void AnalogueDial::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(Qt::black);
    const int row = Twips::toPx(indexLine());
    painter.drawLine(0, row, width(), row);
}

void AnalogueDial::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) emit rightClicked();
    QWidget::mousePressEvent(event);
}

}  // namespace gradel
