#include "controls/IntegerStrip.h"

#include <QMouseEvent>
#include <QPainter>
#include <cstdint>

#include "base/Twips.h"

namespace gradel {

IntegerStrip::IntegerStrip(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void IntegerStrip::showWhole(int whole, int pitch) {
    whole_ = whole;
    pitch_ = pitch;
    update();
}

void IntegerStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Text));
    const QFontMetrics fm(font());
    const double width = Twips::fromPx(this->width());
    const double zeroHeight = Twips::fromPx(fm.height());
    const QString spaces = QStringLiteral("  ");
    const double spacesWidth = Twips::fromPx(fm.horizontalAdvance(spaces));
    for (int i = -1; i <= 2; ++i) {
        const QString text = QString::number(int64_t{whole_} + i) + spaces;
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
