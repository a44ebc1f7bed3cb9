#pragma once
// The whole-inch tape of the analogue dial: four labelled ticks, for the whole parts one below
// to two above the one shown, each label ending flush with the tape's right edge.
#include <QWidget>

namespace gradel {

class IntegerStrip : public QWidget {
    Q_OBJECT
  public:
    explicit IntegerStrip(QWidget* parent);

    // Shows the ticks around whole part `whole`, `pitch` twips apart.
    void showWhole(int whole, int pitch);

  protected:
    void paintEvent(QPaintEvent* event) override;
    // Presses over the whole-inch tape are taken here and go no further.
    void mousePressEvent(QMouseEvent* event) override;

  private:
    int whole_ = 0;
    int pitch_ = 0;
};

}  // namespace gradel
