#include "controls/IntegerStrip.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cstdint>

#include "base/Fitting.h"
#include "base/Twips.h"
#include "controls/TapeWindow.h"

namespace gradel {

IntegerStrip::IntegerStrip(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

// The dial slides the tape for every new value; its labels change only with the whole part, so
// only then is the image drawn again.
void IntegerStrip::showWhole(int whole, int pitch, int top) {
    if (whole == whole_ && pitch == pitch_ && top == top_) return;
    whole_ = whole;
    pitch_ = pitch;
    top_ = top;
    update();
}

QSize IntegerStrip::tapeSize() const {
    return {width(), Twips::toPx(5 * pitch_)};
}

QString IntegerStrip::label(int i) const {
    return QString::number(int64_t{whole_} + i) + QStringLiteral("  ");
}

QFont IntegerStrip::labelFont() const {
    QFont font = this->font();
    const auto widest = [&](double points) {
        QFont sized = font;
        sized.setPointSizeF(points);
        int w = 0;
        for (int i = -1; i <= 2; ++i)
            w = std::max(w, QFontMetrics(sized).horizontalAdvance(label(i)));
        return w;
    };
    const double size = fittingPointSize(font.pointSizeF(), width(), 1, widest);
    if (size < font.pointSizeF()) font.setPointSizeF(size);
    return font;
}

void IntegerStrip::paintEvent(QPaintEvent* event) {
    const qreal dpr = devicePixelRatioF();
    const Look look{(QSizeF(tapeSize()) * dpr).toSize(), whole_, pitch_, font(),
                    palette().cacheKey()};
    if (look != imageLook_) {
        image_ = QImage(look.pixels, QImage::Format_RGB32);
        image_.setDevicePixelRatio(dpr);
        QPainter onImage(&image_);
        paintLabels(onImage);
        imageLook_ = look;
    }
    QPainter painter(this);
    paintTapeWindow(painter, event->rect(), tapeSize(), top_, image_,
                    palette().color(QPalette::Base));
}

void IntegerStrip::paintLabels(QPainter& painter) const {
    painter.fillRect(QRect(QPoint(0, 0), tapeSize()), palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Text));
    painter.setFont(labelFont());
    const QFontMetrics fm(painter.font());
    const double width = Twips::fromPx(this->width());
    const double zeroHeight = Twips::fromPx(fm.height());
    const QString spaces = QStringLiteral("  ");
    const double spacesWidth = Twips::fromPx(fm.horizontalAdvance(spaces));
    for (int i = -1; i <= 2; ++i) {
        const QString text = label(i);
        const double y = (i + 2) * pitch_ + 10;
        const double left = width - Twips::fromPx(fm.horizontalAdvance(text));
        painter.drawText(Twips::toPx(left), Twips::toPx(y - zeroHeight / 2) + fm.ascent(), text);
        // The tick runs from under the label's trailing blanks to past the tape's right edge.
        painter.drawLine(Twips::toPx(width - spacesWidth), Twips::toPx(y), Twips::toPx(10000),
                         Twips::toPx(y));
    }
}

void IntegerStrip::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

}  // namespace gradel
