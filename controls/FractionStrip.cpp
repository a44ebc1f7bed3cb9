#include "controls/FractionStrip.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "controls/AnalogueDial.h"
#include "window/winsys/Twips.h"

namespace Twips = gradel::Twips;

namespace {
// Nearest whole number, halves to even.
int R(double x) {
    return static_cast<int>(std::nearbyint(x));
}
constexpr int kLabelGap = 2;  // pixels left clear of the mark line on each side of a label
}  // namespace

FractionStrip::FractionStrip(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FractionStrip::DrawScale(const FractionScale& scale) {
    scale_ = scale;
    ++renders_;
    image_ = QImage();
    const qreal dpr = devicePixelRatioF();
    const int64_t w = static_cast<int64_t>(std::ceil(width() * dpr));
    const int64_t h = static_cast<int64_t>(std::ceil(height() * dpr));
    if (w > 0 && h > 0 && w * h <= kImageBudget) {
        image_ = QImage(static_cast<int>(w), static_cast<int>(h), QImage::Format_RGB32);
        if (!image_.isNull()) {
            image_.setDevicePixelRatio(dpr);
            image_.fill(palette().color(QPalette::Base));
            QPainter painter(&image_);
            painter.setFont(font());
            Paint(painter, 0, height() - 1);
        }
    }
    update();
}

void FractionStrip::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect r = event->rect();
    if (!image_.isNull()) {
        const qreal dpr = image_.devicePixelRatio();
        painter.drawImage(QRectF(r), image_,
                          QRectF(r.x() * dpr, r.y() * dpr, r.width() * dpr, r.height() * dpr));
        return;
    }
    painter.fillRect(r, palette().color(QPalette::Base));
    painter.setClipRect(r);
    Paint(painter, r.top(), r.bottom());
}

void FractionStrip::Paint(QPainter& painter, int top, int bottom) const {
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (scale_.arrows) DrawArrows(painter);

    painter.setPen(Qt::black);
    painter.setBrush(Qt::black);
    const QFontMetrics fm(font());
    const double stripWidth = Twips::FromPx(width());
    const double textHeight = Twips::FromPx(fm.height());  // of "1/2"
    const double zeroWidth = Twips::FromPx(fm.horizontalAdvance("0"));
    const int p = scale_.pitch;
    const int64_t lastMark = 4 * int64_t{scale_.divisions} + 1;

    // Only the marks whose line or label reaches into the rows asked for.
    int64_t first = -1, last = lastMark;
    if (p > 0) {
        const int margin = fm.height() + 2;
        first = std::max<int64_t>(
            first, static_cast<int64_t>(std::floor(Twips::FromPx(top - margin) / p)) - 2);
        last = std::min<int64_t>(
            last, static_cast<int64_t>(std::ceil(Twips::FromPx(bottom + margin) / p)) - 1);
    }
    for (int64_t j = first; j <= last; ++j) {
        const double y = static_cast<double>((j + 2) * int64_t{p});
        const QString label = Label(j);
        const double w = IsZeroMark(j) ? zeroWidth : Twips::FromPx(fm.horizontalAdvance(label));
        const int row = Twips::ToPx(y);
        const int left = Twips::ToPx(stripWidth / 2 - w / 2);
        DrawMarkLine(painter, row, left - kLabelGap,
                     left + fm.horizontalAdvance(label) + kLabelGap);
        painter.drawText(left, Twips::ToPx(y - textHeight / 2) + fm.ascent(), label);
    }
}

// The mark line runs across the whole tape but leaves a gap for its label, so the label reads
// clearly and the wedge stays visible behind it; a label too wide for gaps gets the full line.
void FractionStrip::DrawMarkLine(QPainter& painter, int row, int gapLeft, int gapRight) const {
    if (gapLeft > 0 && gapRight < width() - 1) {
        painter.drawLine(0, row, gapLeft, row);
        painter.drawLine(gapRight, row, width(), row);
    } else {
        painter.drawLine(0, row, width(), row);
    }
}

bool FractionStrip::IsZeroMark(int64_t j) const {
    const int64_t d = scale_.divisions;
    return j >= 0 && j <= 4 * d && j % d == 0;
}

// Above the middle zero the labels count down through each inch (a negative value shows its
// fraction as a magnitude), below it they count up.
QString FractionStrip::Label(int64_t j) const {
    const int32_t d = scale_.divisions;
    QString text;
    if (j < 0) {
        text = AnalogueDial::FractionText(d - 1, d);
    } else if (j > 4 * int64_t{d}) {
        text = AnalogueDial::FractionText(1, d);
    } else if (IsZeroMark(j)) {
        text = "0";
    } else {
        const auto k = static_cast<int32_t>(j % d);
        text = AnalogueDial::FractionText(j < 2 * int64_t{d} ? d - k : k, d);
    }
    return text + scale_.unit;
}

// The wedges, in the tape's pixels: two narrow pointers at the ends and four wedges that
// point at the middle zero, each as wide at a mark as that mark's fraction of the width.
void FractionStrip::DrawArrows(QPainter& painter) const {
    painter.setPen(scale_.arrowColour);
    painter.setBrush(QBrush(scale_.arrowColour, scale_.arrowStyle));
    const int ws = width();
    const int hs = height();
    const int xm = R(ws / 2.0);
    const int xr = R(ws - 1.0);
    const int32_t d = scale_.divisions;
    const float pp = static_cast<float>(hs) / static_cast<float>(4.0 * d + 4.0);
    const int lp = R(static_cast<double>(pp) * d);
    const int z0 = R(2.0 * static_cast<double>(pp));
    const int z1 = z0 + lp, z2 = z1 + lp, z3 = z2 + lp, z4 = z3 + lp;
    const double a = static_cast<double>(static_cast<float>(xr) / static_cast<float>(d));

    const QPoint triangles[6][3] = {
        {{R(a + xm), 0}, {R(xm - a), 0}, {xm, z0}},
        {{xm, z1}, {0, z0}, {xr, z0}},
        {{xm, z2}, {0, z1}, {xr, z1}},
        {{xm, z2}, {0, z3}, {xr, z3}},
        {{xm, z3}, {0, z4}, {xr, z4}},
        {{xm, z4}, {R(xm - a), R(hs)}, {R(a + xm), R(hs)}},
    };
    for (const auto& t : triangles) painter.drawPolygon(t, 3);
}
