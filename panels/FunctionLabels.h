#pragma once
// The twelve labels that say what the function keys F1..F12 do, six down each side of the
// panel column. A click on a label counts as a press of its key. A caption too long for its
// label is lettered smaller, never cut.
#include <QFont>
#include <QObject>
#include <QPoint>
#include <QString>
#include <array>

class QGroupBox;
class QLabel;

namespace gradel {

class FunctionLabels : public QObject {
    Q_OBJECT
  public:
    static constexpr int kCount = 12;
    // Left edges of the two columns of labels, in twips.
    static constexpr int kLeftColumn = 0;
    static constexpr int kRightColumn = 8040;

    // Makes the two columns on `parent`.
    explicit FunctionLabels(QWidget* parent);

    // Draws the columns `zoom` times their design size, the layout's top left corner at
    // `origin` of the parent; the right column stands `spread` pixels further right, where a
    // wider panel column between them needs it.
    void setZoom(double zoom, QPoint origin = {}, int spread = 0);

    // Label i (0..11) is the label of F(i + 1).
    QString caption(int i) const;
    void setCaption(int i, const QString& text);
    QLabel* label(int i) const { return labels_.at(static_cast<std::size_t>(i)); }

  signals:
    void clicked(int i);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void fit(int i);

    QFont font_;  // the captions' lettering at the present zoom
    std::array<QGroupBox*, 2> columns_{};
    std::array<QLabel*, kCount> labels_{};
};

}  // namespace gradel
