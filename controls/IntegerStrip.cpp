#include "controls/IntegerStrip.h"

#include <QMouseEvent>
#include <QPainter>

#include "window/winsys/Twips.h"

namespace Twips = gradel::Twips;

IntegerStrip::IntegerStrip(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void IntegerStrip::DrawIntegerScale(int32_t whole, int intPitch) {
    whole_ = whole;
    intPitch_ = intPitch;
    update();
}

QStringList IntegerStrip::Labels() const {
    QStringList labels;
    for (int i = -1; i <= 2; ++i) labels << QString::number(int64_t{whole_} + i);
    return labels;
}

void IntegerStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Text));
    const QFontMetrics fm(font());
    const double width = Twips::FromPx(this->width());
    const double zeroHeight = Twips::FromPx(fm.height());
    const double spaces = Twips::FromPx(fm.horizontalAdvance("  "));
    const QStringList labels = Labels();
    for (int i = -1; i <= 2; ++i) {
        const QString text = labels[i + 1] + "  ";
        const double y = (i + 2) * intPitch_ + 10;
        const double left = width - Twips::FromPx(fm.horizontalAdvance(text));
        painter.drawText(Twips::ToPx(left), Twips::ToPx(y - zeroHeight / 2) + fm.ascent(), text);
        painter.drawLine(Twips::ToPx(width - spaces), Twips::ToPx(y), Twips::ToPx(10000),
                         Twips::ToPx(y));
    }
}

void IntegerStrip::mousePressEvent(QMouseEvent* event) {
    event->accept();
}
