#include "window/ClientArea.h"

#include <QFont>
#include <algorithm>

#include "base/Twips.h"
#include "panels/FunctionLabels.h"
#include "panels/PanelStack.h"

namespace gradel {

ClientArea::ClientArea(QWidget* parent)
    : QWidget(parent), labels_(new FunctionLabels(this)), panels_(new PanelStack(this)) {
    // Half the layout's size is about as small as the labels stay readable.
    setMinimumSize(designSize(0.5));
    connect(panels_, &PanelStack::layoutChanged, this, &ClientArea::layOut);
    layOut();
}

int ClientArea::designHeight() const {
    return std::max(kHeight, panels_->bottom());
}

double ClientArea::zoomFor(QSize size) const {
    const double pxPerTwip = Twips::dpi() / Twips::kPerInch;
    return std::min(size.width() / (kWidth * pxPerTwip),
                    size.height() / (designHeight() * pxPerTwip));
}

QSize ClientArea::designSize(double zoom) const {
    return Twips::toPx(QRect(0, 0, kWidth, designHeight()), zoom).size();
}

QSize ClientArea::sizeHint() const {
    return designSize(1);
}

void ClientArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOut();
}

// Labels, buttons and panel captions take the window's font zoomed with the rest.
void ClientArea::layOut() {
    zoom_ = zoomFor(size());
    const QSize used = designSize(zoom_);
    const QPoint origin((width() - used.width()) / 2, (height() - used.height()) / 2);
    QFont zoomed(QStringLiteral("MS Sans Serif"), 8);
    zoomed.setPointSizeF(8 * zoom_);
    setFont(zoomed);
    labels_->setZoom(zoom_, origin);
    panels_->setZoom(zoom_);
    panels_->move(origin + Twips::toPx(QRect(kPanelColumnLeft, 0, 0, 0), zoom_).topLeft());
}

}  // namespace gradel
