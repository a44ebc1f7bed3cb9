#pragma once
// News the operator should see but need not answer, such as the remembered box now being
// under another port number: a line at the foot of the panel column that blocks nothing and
// goes by itself after a while, or at a click.
#include <QLabel>
#include <QTimer>

namespace gradel {

class QuietNote : public QLabel {
    Q_OBJECT
  public:
    static constexpr int kShownMs = 20000;

    explicit QuietNote(QWidget* parent);

    // Shows `text` (in place of any earlier note) for kShownMs.
    void say(const QString& text);

  protected:
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QTimer timer_;
};

}  // namespace gradel
