#pragma once
// The dial's tapes are seen through windows that stay in place while the tape slides behind
// them: a new position only copies another part of the tape's image.
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QSize>

namespace gradel {

// Paints the part `asked` of a window onto a tape `tape` pixels in size whose top lies at row
// `top` of the window: blank where the window looks past the tape's ends, and from `image` (the
// tape rendered at its device pixel ratio) where it looks on the tape, unless the image is
// null. Returns the part of `asked` that lies on the tape.
inline QRect paintTapeWindow(QPainter& painter, const QRect& asked, const QSize& tape, int top,
                             const QImage& image, const QColor& blank) {
    const QRect onTape = asked.intersected(QRect(QPoint(0, top), tape));
    if (onTape != asked) painter.fillRect(asked, blank);
    if (onTape.isEmpty() || image.isNull()) return onTape;
    const qreal dpr = image.devicePixelRatio();
    painter.drawImage(QRectF(onTape), image,
                      QRectF(onTape.x() * dpr, (onTape.y() - top) * dpr, onTape.width() * dpr,
                             onTape.height() * dpr));
    return onTape;
}

}  // namespace gradel
