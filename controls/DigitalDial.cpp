#include "controls/DigitalDial.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>
#include <cmath>
#include <optional>

#include "base/Fitting.h"
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

// Below half its usual size a number is no longer read at a glance from the machine.
constexpr double kSmallest = 0.5;
// A shrunk number grows back only when a number 2 % further from zero would fit too, so a
// reading that wavers at the edge (999.99, 1000.00, 999.99 …) keeps one size.
constexpr double kGrowBackMargin = 1.02;

// Every digit as an 8: the size a number is drawn at then depends on how many digits it has,
// never on which, so the point stands still while the digits change.
QString shapeOf(QString text) {
    for (QChar& c : text)
        if (c.isDigit()) c = u'8';
    return text;
}

// Whether two texts are shaped alike (see shapeOf), without building either shape.
bool sameShape(const QString& a, const QString& b) {
    if (a.size() != b.size()) return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && !(a[i].isDigit() && b[i].isDigit())) return false;
    return true;
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

QString DigitalDial::overflowMark() {
    return QStringLiteral("------");
}

// Only the number's box, old and new, is painted again, and of that only the digits that
// changed when the glyph line can tell (and the size stayed): the background around them stays
// as it is on the screen.
void DigitalDial::showText() {
    QString text = std::isfinite(value_) ? formatNumber(value_, format_) : overflowMark();
    if (text == text_) return;
    const QString before = shownText();
    const QRect beforeBox = numberRect();
    text_ = std::move(text);
    const bool refitted = fitNumber(true);
    QRect box = beforeBox | numberRect();
    const auto span = refitted ? std::nullopt : numberLine_.changed(before, shownText());
    if (span) {
        const int right = unitRect_.left();
        box &= QRect(right - span->first, box.top(), span->first - span->second, box.height());
    }
    // The unit stays as it is: it is copied from one image, so whatever part of it a repaint
    // touches comes back exactly as before.
    update(box);
    if (LatencyProbe* probe = LatencyProbe::active()) probe->carry(unpainted_);
}

// The number takes the usual font while it fits left of the unit, else the largest that fits,
// down to half the usual size; beyond that the overflow mark stands in its place. False when a
// number shaped as the last one keeps its font without a look.
bool DigitalDial::fitNumber(bool keepSmall) {
    if (keepSmall && sameShape(text_, fittedText_) && !heldSmall_) return false;
    const double fit = fitSize(text_);
    const double now = numberFont_.pointSizeF();
    double size = fit;
    if (keepSmall && !overflow_ && size > now)
        size = std::clamp(fitSize(formatNumber(value_ * kGrowBackMargin, format_)), now, size);
    heldSmall_ = size < fit;
    fittedText_ = text_;
    overflow_ = size == 0;
    numberFont_ = valueFont_;
    if (!overflow_) numberFont_.setPointSizeF(size);
    numberLine_.setFont(numberFont_);
    drop_ = QFontMetrics(valueFont_).ascent() - QFontMetrics(numberFont_).ascent();
    return true;
}

// The largest size, up to the usual one, at which numbers shaped like `text` fit left of the
// unit; 0 when that is under half the usual size.
double DigitalDial::fitSize(const QString& text) const {
    const QString shape = shapeOf(text);
    const double usual = valueFont_.pointSizeF();
    const int room = unitRect_.left();
    QFont font = valueFont_;
    const auto width = [&](double points) {
        font.setPointSizeF(points);
        return textSize(font, shape).width();
    };
    if (width(usual) <= room) return usual;
    // A shrunk number keeps a space's width from the left edge, as it does from the unit.
    const int shrunkRoom = room - QFontMetrics(unitFont_).horizontalAdvance(u' ');
    const double size = fittingPointSize(usual, shrunkRoom, usual * kSmallest, width);
    return size >= usual * kSmallest ? size : 0;
}

// A smaller number stands on the usual number's baseline, so its point stays on the line the
// eye expects it on and the unit still reads as a superscript.
QRect DigitalDial::numberRect() const {
    return rectFor(shownText());
}

QRect DigitalDial::rectFor(const QString& text) const {
    const std::optional<QSize> set = numberLine_.size(text);
    const QSize size = set ? *set : textSize(numberFont_, text);
    return QRect(QPoint(unitRect_.left() - size.width(), unitRect_.top() + drop_), size);
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
    fitNumber(false);
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
    return std::max(fittingPointSize(points, width(), kMinPointSize, needed), kMinPointSize);
}

void DigitalDial::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOut();
}

void DigitalDial::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    const QString shown = shownText();
    const QRect valueRect = numberRect();
    // Each text is kept to its own box: the unit is copied from its image, the number clipped to
    // its rectangle. A live readout's number is set from its measured glyphs in the style's text
    // colour; a greyed one, or one the glyphs cannot set, is drawn by the style.
    if (event->region().intersects(unitRect_)) painter.drawImage(unitRect_.topLeft(), unitImage());
    painter.setClipRect(valueRect);
    painter.setFont(numberFont_);
    painter.setPen(QPen(option.palette.brush(foregroundRole()), painter.pen().widthF()));
    if (!isEnabled() || !numberLine_.draw(painter, valueRect.right() + 1, valueRect.top(), shown))
        style()->drawItemText(&painter, valueRect, kTextFlags, option.palette, isEnabled(), shown,
                              foregroundRole());
    if (LatencyProbe* probe = LatencyProbe::active())
        probe->painted(unpainted_, LatencyProbe::Clock::now());
}

// Laying the unit's text out cost more than drawing the number, and a readout paints at every
// frame while the box streams: the unit is laid out once, on the readout's own background, and
// copied wherever a paint touches it.
const QImage& DigitalDial::unitImage() const {
    const qreal dpr = devicePixelRatioF();
    const UnitLook look{unitFont_, unit_, isEnabled(), palette().cacheKey(), dpr, unitRect_.size()};
    if (look == unitLook_ && !unitImage_.isNull()) return unitImage_;
    unitLook_ = look;
    unitImage_ = QImage((QSizeF(unitRect_.size()) * dpr).toSize(), QImage::Format_RGB32);
    unitImage_.setDevicePixelRatio(dpr);
    // Points become the same pixels on the image as on the screen.
    unitImage_.setDotsPerMeterX(qRound(logicalDpiX() / 0.0254));
    unitImage_.setDotsPerMeterY(qRound(logicalDpiY() / 0.0254));
    QPainter painter(&unitImage_);
    painter.fillRect(QRect(QPoint(0, 0), unitRect_.size()), palette().brush(backgroundRole()));
    painter.setFont(unitFont_);
    QStyleOption option;
    option.initFrom(this);
    style()->drawItemText(&painter, QRect(QPoint(0, 0), unitRect_.size()), kTextFlags,
                          option.palette, isEnabled(), unitText(unit_), foregroundRole());
    return unitImage_;
}

// A right press anywhere on the readout is a right click; a disabled readout gets no presses.
void DigitalDial::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) emit rightClicked();
    QWidget::mousePressEvent(event);
}

}  // namespace gradel
