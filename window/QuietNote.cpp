#include "window/QuietNote.h"

namespace gradel {

QuietNote::QuietNote(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("quietNote"));
    setWordWrap(true);
    setAlignment(Qt::AlignCenter);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(255, 255, 220));
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &QWidget::hide);
    hide();
}

void QuietNote::say(const QString& text) {
    setText(text);
    show();
    raise();
    timer_.start(kShownMs);
}

void QuietNote::mousePressEvent(QMouseEvent*) {
    timer_.stop();
    hide();
}

}  // namespace gradel
