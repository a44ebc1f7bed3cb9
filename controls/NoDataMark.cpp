#include "controls/NoDataMark.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace gradel {

namespace {

const QString kText = QStringLiteral("NO DATA");
// The readouts' digits are four sevenths of their height; the mark's letters match them.
constexpr double kLetterHeight = 4.0 / 7.0;
// The text keeps this share of its row's width clear, on both sides together.
constexpr double kSideMargin = 0.1;
const QColor kWash(255, 255, 255, 180);
const QColor kLetters(200, 0, 0);
const QColor kPlate(255, 255, 255);

}  // namespace

NoDataMark::NoDataMark(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
    raise();
}

void NoDataMark::cover(const QList<QWidget*>& washed, const QList<QWidget*>& lettered) {
    washed_.clear();
    lettered_.clear();
    for (QWidget* w : washed) washed_ << w;
    for (QWidget* w : lettered) lettered_ << w;
    for (QWidget* w : washed + lettered) w->installEventFilter(this);
    layOut();
}

bool NoDataMark::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
            if (!isHidden()) layOut();
            break;
        default:
            break;
    }
    return false;
}

void NoDataMark::setVisible(bool visible) {
    QWidget::setVisible(visible);
    if (visible) layOut();
}

// The mark spans everything it washes; the text is centred on its row, as tall as the digits
// would be there and narrowed until it fits.
void NoDataMark::layOut() {
    const QRect washedArea = shownArea(washed_);
    QRect row = shownArea(lettered_);
    if (row.isEmpty()) row = washedArea;
    setGeometry(washedArea | row);
    raise();
    if (row.isEmpty()) return;

    font_ = QFont(QStringLiteral("Arial")).resolve(font());
    font_.setBold(true);
    font_.setPixelSize(std::max(1, qRound(row.height() * kLetterHeight)));
    const int room = qRound(row.width() * (1.0 - kSideMargin));
    const int wide = QFontMetrics(font_).horizontalAdvance(kText);
    if (wide > room) font_.setPixelSize(std::max(1, font_.pixelSize() * room / std::max(wide, 1)));
    textRect_ = row.translated(-pos());
    update();
}

QRect NoDataMark::shownArea(const QList<QPointer<QWidget>>& widgets) {
    QRect area;
    for (const QPointer<QWidget>& w : widgets)
        if (w && !w->isHidden()) area |= w->geometry();
    return area;
}

void NoDataMark::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (const QPointer<QWidget>& w : washed_)
        if (w && !w->isHidden()) painter.fillRect(w->geometry().translated(-pos()), kWash);
    // The letters stand on a plate of their own, so no grey digit runs through them.
    const QFontMetrics metrics(font_);
    const int pad = std::max(1, metrics.height() / 8);
    const QRect letters = metrics.boundingRect(textRect_, Qt::AlignCenter, kText);
    const QRect plate = letters.adjusted(-2 * pad, -pad / 2, 2 * pad, pad / 2) & rect();
    painter.fillRect(plate, kPlate);
    painter.setPen(QPen(kLetters, pad / 2));
    painter.drawRect(plate.adjusted(pad / 4, pad / 4, -(pad + 3) / 4, -(pad + 3) / 4));
    painter.setFont(font_);
    painter.drawText(textRect_, Qt::AlignCenter, kText);
}

}  // namespace gradel
