#pragma once
// The whole-inch tape of the analogue dial: four labelled ticks, for the whole parts one below
// to two above the one shown, each label ending flush with the tape's right edge.
#include <QStringList>
#include <QWidget>
#include <cstdint>

class IntegerStrip : public QWidget {
    Q_OBJECT
public:
    explicit IntegerStrip(QWidget* parent);

    // Shows the ticks around whole part `whole`, `intPitch` twips apart (repaints the tape).
    void DrawIntegerScale(int32_t whole, int intPitch);
    // The four label texts shown, top to bottom, without their trailing blanks.
    QStringList Labels() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    // Presses over the whole-inch tape are taken here and go no further.
    void mousePressEvent(QMouseEvent* event) override;

private:
    int32_t whole_ = 0;
    int intPitch_ = 0;
};
