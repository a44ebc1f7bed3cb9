#include "controls/DigitalDial.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>

#include "base/NumberFormat.h"
#include "base/Twips.h"

namespace gradel {

namespace {

// The smallest font size used; a readout too low for a twips-per-35 font gets this one.
constexpr double kMinPointSize = 1.0;
constexpr int kTextFlags = Qt::AlignRight | Qt::AlignTop | Qt::TextForceLeftToRight;

// The size a text takes in `font`, measured the way a label sizes itself to its text.
QSize textSize(const QFont& font, const QString& text) {
    return QFontMetrics(font).boundingRect(QRect(0, 0, 2000, 2000), kTextFlags, text).size();
}

QString unitText(const QString& unit) {
    return u' ' + unit + u' ';
}

}  // namespace

DigitalDial::DigitalDial(QWidget* parent) : QWidget(parent) {
    // The whole window of the readout has the colour of a tool tip; the text keeps the usual
    // window text colour, greyed while disabled.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::ToolTipBase));
    setPalette(pal);
    setAutoFillBackground(true);
    setEnabled(false);
    layOut();
}

// A value that shows as the text already shown changes nothing on the screen: at the box's
// full line rate most readings do, and repainting for them would only cost time.
void DigitalDial::setValue(float value) {
    value_ = value;
    showText();
}

void DigitalDial::setUnit(const QString& unit) {
    unit_ = unit;
    layOut();
    update();
}

void DigitalDial::setFormat(const QString& pattern) {
    format_ = pattern;
    showText();
}

void DigitalDial::showText() {
    QString text = formatNumber(value_, format_);
    if (text == text_) return;
    text_ = std::move(text);
    update();
}

void DigitalDial::setFilling(bool filling) {
    if (filling == filling_) return;
    filling_ = filling;
    layOut();
    update();
}

void DigitalDial::setWidestText(const QString& text) {
    widestText_ = text;
    layOut();
    update();
}

QString DigitalDial::reading(const QString& separator) const {
    return text() + separator + unit_;
}

// The number's font has a point size of a 35th of the height in twips, the unit's two thirds
// of that; the unit sits flush right. Both hang from the line half the number's height above
// the middle, so the smaller unit reads like a superscript beside the number.
void DigitalDial::layOut() {
    const double width = Twips::fromPx(this->width());
    const double height = Twips::fromPx(this->height());
    valueFont_ = QFont(QStringLiteral("Arial")).resolve(font());
    valueFont_.setPointSizeF(std::max(height / (filling_ ? 25.0 : 35.0), kMinPointSize));
    if (filling_) valueFont_.setPointSizeF(widestFit(valueFont_.pointSizeF()));
    unitFont_ = valueFont_;
    unitFont_.setPointSizeF(std::max(valueFont_.pointSizeF() / 1.5, kMinPointSize));

    const QSize unitSize = textSize(unitFont_, unitText(unit_));
    const double valueHeight = Twips::fromPx(textSize(valueFont_, text()).height());
    const double unitLeft = width - Twips::fromPx(unitSize.width());
    const double top = height / 2 - valueHeight / 2;
    unitRect_ = QRect(QPoint(Twips::toPx(unitLeft), Twips::toPx(top)), unitSize);
}

// The largest point size, up to `points`, at which the widest text and the unit fit the width.
// Text does not widen in proportion to its size (small sizes are hinted wider), so the size
// found by proportion is checked at that size and stepped down until it fits.
double DigitalDial::widestFit(double points) const {
    if (widestText_.isEmpty()) return points;
    const auto needed = [this](double size) {
        QFont value = valueFont_;
        value.setPointSizeF(size);
        QFont unit = value;
        unit.setPointSizeF(std::max(size / 1.5, kMinPointSize));
        return textSize(value, widestText_).width() + textSize(unit, unitText(unit_)).width();
    };
    double size = std::min(points, points * width() / std::max(needed(points), 1));
    while (size > kMinPointSize && needed(size) > width()) size *= 0.97;
    return std::max(size, kMinPointSize);
}

void DigitalDial::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOut();
}

void DigitalDial::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    const QString& shown = text_;
    const QSize valueSize = textSize(valueFont_, shown);
    const QRect valueRect(unitRect_.left() - valueSize.width(), unitRect_.top(), valueSize.width(),
                          valueSize.height());
    // Each text is kept to its own box, so neither can spill into the other.
    painter.setClipRect(valueRect);
    painter.setFont(valueFont_);
    style()->drawItemText(&painter, valueRect, kTextFlags, option.palette, isEnabled(), shown,
                          foregroundRole());
    painter.setClipRect(unitRect_);
    painter.setFont(unitFont_);
    style()->drawItemText(&painter, unitRect_, kTextFlags, option.palette, isEnabled(),
                          unitText(unit_), foregroundRole());
}

// A right press anywhere on the readout is a right click; a disabled readout gets no presses.
void DigitalDial::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) emit rightClicked();
    QWidget::mousePressEvent(event);
}

}  // namespace gradel
