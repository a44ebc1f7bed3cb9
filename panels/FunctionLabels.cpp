#include "panels/FunctionLabels.h"

#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QToolTip>

#include "base/Twips.h"

namespace gradel {

namespace {

// In twips: a column, and a label's place in it.
constexpr int kColumnWidth = 1455;
constexpr int kColumnHeight = 6615;
QRect labelPlace(int i) {
    return QRect(120, 240 + 1080 * (i % 6), 1215, 855);
}

}  // namespace

FunctionLabels::FunctionLabels(QWidget* parent) : QObject(parent) {
    for (auto& column : columns_) column = new QGroupBox(parent);
    const QColor background = QToolTip::palette().color(QPalette::ToolTipBase);
    for (int i = 0; i < kCount; ++i) {
        auto* label = new QLabel(QStringLiteral("F%1").arg(i + 1), columns_[i < 6 ? 0 : 1]);
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        QPalette palette = label->palette();
        palette.setColor(QPalette::Window, background);
        label->setPalette(palette);
        label->setAutoFillBackground(true);
        label->installEventFilter(this);
        labels_[static_cast<std::size_t>(i)] = label;
    }
    setZoom(1);
}

void FunctionLabels::setZoom(double zoom, QPoint origin, int spread) {
    const int left[2] = {kLeftColumn, kRightColumn};
    for (std::size_t c = 0; c < columns_.size(); ++c)
        columns_[c]->setGeometry(Twips::toPx(QRect(left[c], 0, kColumnWidth, kColumnHeight), zoom)
                                     .translated(origin + QPoint(c ? spread : 0, 0)));
    font_ = Twips::zoomedFont(QStringLiteral("MS Sans Serif"), 12, zoom, QFont::Bold);
    for (int i = 0; i < kCount; ++i) {
        Twips::place(label(i), labelPlace(i), zoom);
        fit(i);
    }
}

// A caption too long for its label (a large number Set Position would apply) is lettered
// smaller until its longest word and all its lines fit, never cut at the label's edge.
void FunctionLabels::fit(int i) {
    QLabel* l = label(i);
    QFont font = font_;
    l->setFont(font);
    while (font.pointSizeF() > 1 && (l->minimumSizeHint().width() > l->width() ||
                                     l->heightForWidth(l->width()) > l->height())) {
        font.setPointSizeF(font.pointSizeF() * 0.95);
        l->setFont(font);
    }
}

QString FunctionLabels::caption(int i) const {
    return label(i)->text();
}

void FunctionLabels::setCaption(int i, const QString& text) {
    if (text == caption(i)) return;
    label(i)->setText(text);
    fit(i);
}

// A click is a left-button release over the label, as with a button.
bool FunctionLabels::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonRelease) return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    for (int i = 0; i < kCount; ++i) {
        QLabel* l = label(i);
        if (watched == l && mouse->button() == Qt::LeftButton &&
            l->rect().contains(mouse->position().toPoint())) {
            emit clicked(i);
            return true;
        }
    }
    return false;
}

}  // namespace gradel
