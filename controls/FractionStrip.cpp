#include "controls/FractionStrip.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <numeric>

#include "base/Rounding.h"
#include "base/Twips.h"
#include "controls/TapeWindow.h"

namespace gradel {

namespace {

constexpr int kLabelGap = 2;  // pixels left clear of the mark line on each side of a label
// Largest off-screen image kept, in device pixels; a taller tape is painted from its marks.
constexpr int64_t kImageBudget = 8 * 1024 * 1024;

}  // namespace

QString fractionText(int numerator, int denominator) {
    if (numerator <= 0 || denominator <= 0) return QStringLiteral("0");
    const int common = std::gcd(numerator, denominator);
    return QString::number(numerator / common) + u'/' + QString::number(denominator / common);
}

FractionStrip::FractionStrip(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FractionStrip::draw(const Markings& markings, int length) {
    markings_ = markings;
    length_ = length;
    image_ = QImage();
    const qreal dpr = devicePixelRatioF();
    const auto w = static_cast<int64_t>(std::ceil(width() * dpr));
    const auto h = static_cast<int64_t>(std::ceil(length * dpr));
    if (w > 0 && h > 0 && w * h <= kImageBudget) {
        image_ = QImage(static_cast<int>(w), static_cast<int>(h), QImage::Format_RGB32);
        if (!image_.isNull()) {
            image_.setDevicePixelRatio(dpr);
            image_.fill(palette().color(QPalette::Base));
            QPainter painter(&image_);
            painter.setFont(font());
            paintRows(painter, 0, length - 1);
        }
    }
    update();
}

void FractionStrip::setTapeTop(int top) {
    if (top == top_) return;
    top_ = top;
    update();
}

// Without an image, the rows asked for are painted from the marks.
void FractionStrip::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect onTape = paintTapeWindow(painter, event->rect(), {width(), length_}, top_, image_,
                                         palette().color(QPalette::Base));
    if (onTape.isEmpty() || !image_.isNull()) return;
    painter.fillRect(onTape, palette().color(QPalette::Base));
    painter.setClipRect(onTape);
    painter.translate(0, top_);
    paintRows(painter, onTape.top() - top_, onTape.bottom() - top_);
}

void FractionStrip::paintRows(QPainter& painter, int top, int bottom) const {
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (markings_.arrows) paintArrows(painter);

    painter.setPen(Qt::black);
    painter.setBrush(Qt::black);
    const QFontMetrics fm(font());
    const double stripWidth = Twips::fromPx(width());
    const double textHeight = Twips::fromPx(fm.height());  // of "1/2"
    const double zeroWidth = Twips::fromPx(fm.horizontalAdvance(QStringLiteral("0")));
    const int p = markings_.pitch;
    const int64_t lastMark = 4 * int64_t{markings_.divisions} + 1;

    // Only the marks whose line or label reaches into the rows asked for.
    int64_t first = -1, last = lastMark;
    if (p > 0) {
        const int margin = fm.height() + 2;
        first = std::max<int64_t>(
            first, static_cast<int64_t>(std::floor(Twips::fromPx(top - margin) / p)) - 2);
        last = std::min<int64_t>(
            last, static_cast<int64_t>(std::ceil(Twips::fromPx(bottom + margin) / p)) - 1);
    }
    for (int64_t j = first; j <= last; ++j) {
        const auto y = static_cast<double>((j + 2) * int64_t{p});
        const QString text = label(j);
        const double w = isZeroMark(j) ? zeroWidth : Twips::fromPx(fm.horizontalAdvance(text));
        const int row = Twips::toPx(y);
        const int left = Twips::toPx(stripWidth / 2 - w / 2);
        paintMarkLine(painter, row, left - kLabelGap,
                      left + fm.horizontalAdvance(text) + kLabelGap);
        painter.drawText(left, Twips::toPx(y - textHeight / 2) + fm.ascent(), text);
    }
}

// The mark line runs across the whole tape but leaves a gap for its label, so the label reads
// clearly and the wedge stays visible behind it; a label too wide for gaps gets the full line.
void FractionStrip::paintMarkLine(QPainter& painter, int row, int gapLeft, int gapRight) const {
    if (gapLeft > 0 && gapRight < width() - 1) {
        painter.drawLine(0, row, gapLeft, row);
        painter.drawLine(gapRight, row, width(), row);
    } else {
        painter.drawLine(0, row, width(), row);
    }
}

bool FractionStrip::isZeroMark(int64_t j) const {
    const int64_t d = markings_.divisions;
    return j >= 0 && j <= 4 * d && j % d == 0;
}

// Above the middle zero the labels count down through each inch (a negative value shows its
// fraction as a magnitude), below it they count up.
QString FractionStrip::label(int64_t j) const {
    const int d = markings_.divisions;
    QString text;
    if (j < 0) {
        text = fractionText(d - 1, d);
    } else if (j > 4 * int64_t{d}) {
        text = fractionText(1, d);
    } else if (isZeroMark(j)) {
        text = QStringLiteral("0");
    } else {
        const auto k = static_cast<int>(j % d);
        text = fractionText(j < 2 * int64_t{d} ? d - k : k, d);
    }
    return text + markings_.unit;
}

// The wedges, in the tape's pixels: two narrow pointers at the ends and four wedges that
// point at the middle zero, each as wide at a mark as that mark's fraction of the width.
void FractionStrip::paintArrows(QPainter& painter) const {
    painter.setPen(markings_.arrowColour);
    painter.setBrush(QBrush(markings_.arrowColour, markings_.arrowStyle));
    const int ws = width();
    const int hs = length_;
    const int xm = roundHalfEven(ws / 2.0);
    const int xr = roundHalfEven(ws - 1.0);
    const int d = markings_.divisions;
    // Worked out in single precision as they always have been, so the corners stay on the
    // same pixels.
    const float pp = static_cast<float>(hs) / static_cast<float>(4.0 * d + 4.0);
    const int lp = roundHalfEven(static_cast<double>(pp) * d);
    const int z0 = roundHalfEven(2.0 * static_cast<double>(pp));
    const int z1 = z0 + lp, z2 = z1 + lp, z3 = z2 + lp, z4 = z3 + lp;
    const auto a = static_cast<double>(static_cast<float>(xr) / static_cast<float>(d));

    const QPoint triangles[6][3] = {
        {{roundHalfEven(a + xm), 0}, {roundHalfEven(xm - a), 0}, {xm, z0}},
        {{xm, z1}, {0, z0}, {xr, z0}},
        {{xm, z2}, {0, z1}, {xr, z1}},
        {{xm, z2}, {0, z3}, {xr, z3}},
        {{xm, z3}, {0, z4}, {xr, z4}},
        {{xm, z4}, {roundHalfEven(xm - a), hs}, {roundHalfEven(a + xm), hs}},
    };
    for (const auto& t : triangles) painter.drawPolygon(t, 3);
}

}  // namespace gradel
