#pragma once
// The whole-inch tape of the analogue dial: four labelled ticks, for the whole parts one below
// to two above the one shown, each label ending flush with the tape's right edge. Labels too
// wide for the tape are lettered smaller, never cut: a "-17" cut to "17" would read as another
// number. The widget is the dial's window onto the tape, which slides behind it: the tape is
// drawn into an off-screen image when what it shows changes, and a new position only copies
// the part of the image the window shows.
#include <QFont>
#include <QImage>
#include <QString>
#include <QWidget>

class QPainter;

namespace gradel {

class IntegerStrip : public QWidget {
    Q_OBJECT
  public:
    explicit IntegerStrip(QWidget* parent);

    // Shows the ticks around whole part `whole`, `pitch` twips apart, on a tape whose top lies
    // at pixel row `top` of the window (above it: negative).
    void showWhole(int whole, int pitch, int top);
    // The label of tick `i` (-1 to 2, from the whole part shown), with the blanks that end it,
    // and the font all four are drawn in: the tape's own, or smaller where the widest needs it.
    QString label(int i) const;
    QFont labelFont() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    // Presses over the whole-inch tape are taken here and go no further.
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void paintLabels(QPainter& painter) const;
    // The tape's size in pixels: five pitches long.
    QSize tapeSize() const;

    int whole_ = 0;
    int pitch_ = 0;
    int top_ = 0;
    // What the image was drawn from: its size, whole part, pitch, font and colours.
    struct Look {
        QSize pixels{0, 0};  // as an image not yet drawn
        int whole = 0;
        int pitch = 0;
        QFont font;
        qint64 palette = 0;
        bool operator==(const Look&) const = default;
    };
    QImage image_;
    Look imageLook_;
};

}  // namespace gradel
