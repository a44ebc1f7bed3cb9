#pragma once
// Laid over readouts whose scale has gone silent. It washes them pale, so the last number can
// still be made out but no longer looks live, and writes "NO DATA" across the digits in
// letters as tall as theirs. It follows the readouts it covers wherever they are moved,
// resized, shown or hidden, and lets every mouse press through to them, so their menus (and
// the copy of the last reading) work as before.
#include <QFont>
#include <QList>
#include <QPointer>
#include <QRect>
#include <QWidget>

namespace gradel {

class NoDataMark : public QWidget {
    Q_OBJECT
  public:
    // Made hidden, above its siblings.
    explicit NoDataMark(QWidget* parent);

    // The parent's children to cover: `washed` are greyed; the text stands over the `lettered`
    // ones that are shown (or over the washed ones when none is).
    void cover(const QList<QWidget*>& washed, const QList<QWidget*>& lettered);
    void setVisible(bool visible) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void layOut();
    static QRect shownArea(const QList<QPointer<QWidget>>& widgets);

    QList<QPointer<QWidget>> washed_;
    QList<QPointer<QWidget>> lettered_;
    QFont font_;
    QRect textRect_;  // in the mark's own coordinates
};

}  // namespace gradel
