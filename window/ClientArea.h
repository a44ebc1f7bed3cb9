#pragma once
// The window's client area: the function labels down both sides and the panel column between
// them, drawn as large as the area allows. The layout (9510 twips wide, 6600 high, or as high
// as the panels when there are more than four) is zoomed uniformly to fit, and the spare room
// is shared evenly on both sides, so the layout's proportions are kept at any size; at its
// own size the area is exactly that layout.
//
// A window wider than the layout's proportions (a 16:9 screen) leaves spare width at the
// sides. The panel column takes it, growing as far as the height of its four panel places
// allows: the readouts are what the operator reads from across the shop, so they get the room
// before the margins do. Each panel keeps its own proportions.
#include <QSize>
#include <QWidget>

namespace gradel {

class FunctionLabels;
class PanelStack;
class QuietNote;

class ClientArea : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kWidth = 9510;   // twips
    static constexpr int kHeight = 6600;  // four panels fit
    static constexpr int kPanelColumnLeft = 1560;

    explicit ClientArea(QWidget* parent = nullptr);

    FunctionLabels& labels() const { return *labels_; }
    PanelStack& panels() const { return *panels_; }
    // A note at the foot of the panel column that needs no answer (see QuietNote), and what
    // it says while it shows ("" when none shows).
    void showNote(const QString& text);
    QString note() const;

    // The layout's height in twips: the panels' when they need more than the layout's own.
    int designHeight() const;
    // The zoom at which the layout fits `size`, and the layout's size in pixels at `zoom`.
    double zoomFor(QSize size) const;
    QSize designSize(double zoom) const;
    double zoom() const { return zoom_; }
    // The panels' zoom: the layout's, or more where the panel column takes spare width.
    double panelZoom() const { return panelZoom_; }

    QSize sizeHint() const override;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void layOut();
    void placeNote();
    double panelZoomFor(QSize size, double zoom) const;

    FunctionLabels* labels_;
    PanelStack* panels_;
    QuietNote* note_;
    double zoom_ = 1;
    double panelZoom_ = 1;
};

}  // namespace gradel
