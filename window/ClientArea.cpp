#include "window/ClientArea.h"

#include <QFont>
#include <algorithm>

#include "base/Twips.h"
#include "panels/AxisPanel.h"
#include "panels/FunctionLabels.h"
#include "panels/PanelStack.h"
#include "window/QuietNote.h"

namespace gradel {

ClientArea::ClientArea(QWidget* parent)
    : QWidget(parent),
      labels_(new FunctionLabels(this)),
      panels_(new PanelStack(this)),
      note_(new QuietNote(this)) {
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

// The widest the panel column can be beside the labels at `zoom`, and no taller than four
// panels (or all of them, when there are more) may be in the layout's height.
double ClientArea::panelZoomFor(QSize size, double zoom) const {
    const double pxPerTwip = Twips::dpi() / Twips::kPerInch;
    const int besidePanels = kWidth - AxisPanel::kWidth;  // the label columns and the gaps
    const double byWidth = (size.width() / pxPerTwip - besidePanels * zoom) / AxisPanel::kWidth;
    const int places = std::max(panels_->bottom(), 4 * AxisPanel::kHeight);
    const double byHeight = zoom * designHeight() / places;
    return std::max(zoom, std::min(byWidth, byHeight));
}

namespace {

QFont windowFont(double zoom) {
    return Twips::zoomedFont(QStringLiteral("MS Sans Serif"), 8, zoom);
}

}  // namespace

// Labels, buttons and panel captions take the window's font zoomed with the rest.
void ClientArea::layOut() {
    zoom_ = zoomFor(size());
    panelZoom_ = panelZoomFor(size(), zoom_);
    const QSize used = designSize(zoom_);
    // How much wider the panel column is than at the layout's own zoom.
    const auto panelWidth = [](double zoom) {
        return Twips::toPx(QRect(0, 0, AxisPanel::kWidth, AxisPanel::kHeight), zoom).width();
    };
    const int spread = panelWidth(panelZoom_) - panelWidth(zoom_);
    const QPoint origin((width() - used.width() - spread) / 2, (height() - used.height()) / 2);
    setFont(windowFont(zoom_));
    panels_->setFont(windowFont(panelZoom_));
    labels_->setZoom(zoom_, origin, spread);
    panels_->setZoom(panelZoom_);
    panels_->move(origin + Twips::toPx(QRect(kPanelColumnLeft, 0, 0, 0), zoom_).topLeft());
    placeNote();
}

void ClientArea::showNote(const QString& text) {
    note_->say(text);
    placeNote();
}

QString ClientArea::note() const {
    return note_->isHidden() ? QString() : note_->text();
}

// As wide as the panel column, its foot on the layout's lower edge: below four panels that is
// free room, and with more it covers the last panel's foot only while it shows.
void ClientArea::placeNote() {
    const int foot = (height() + designSize(zoom_).height()) / 2;
    const int h = note_->heightForWidth(panels_->width());
    note_->setGeometry(panels_->x(), foot - h, panels_->width(), h);
}

}  // namespace gradel
