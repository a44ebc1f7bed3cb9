#pragma once
// Looking at rendered controls the way a user would: dark rows, colour spans, and whether a
// text appears at a place.
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <vector>

namespace probe {

inline int Gray(QRgb c) {
    return qGray(c);
}
inline bool Dark(const QImage& img, int x, int y) {
    return Gray(img.pixel(x, y)) < 110;
}

inline QImage Grab(QWidget& w) {
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Rows whose pixel in column x is dark.
inline std::vector<int> DarkRows(const QImage& img, int x) {
    std::vector<int> rows;
    for (int y = 0; y < img.height(); ++y)
        if (Dark(img, x, y)) rows.push_back(y);
    return rows;
}

// Leftmost and rightmost pixel of exactly `colour` in row y between columns x0 and x1.
inline std::pair<int, int> Span(const QImage& img, int y, int x0, int x1, QRgb colour) {
    int left = -1, right = -1;
    for (int x = x0; x <= x1; ++x) {
        if ((img.pixel(x, y) & 0xFFFFFF) != (colour & 0xFFFFFF)) continue;
        if (left < 0) left = x;
        right = x;
    }
    return {left, right};
}

inline int Count(const QImage& img, QRect area, QRgb colour) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += (img.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return n;
}

// Whether `text`, written in `font` in black, shows with its top-left corner within `slack`
// pixels of `near`: every pixel the text blackens must be dark in the image.
inline bool ShowsText(const QImage& img, const QString& text, const QFont& font, QPoint near,
                      int slack = 3) {
    const QFontMetrics fm(font);
    QImage ref(fm.horizontalAdvance(text), fm.height(), QImage::Format_RGB32);
    ref.fill(Qt::white);
    {
        QPainter p(&ref);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(0, fm.ascent(), text);
    }
    std::vector<QPoint> ink;
    for (int y = 0; y < ref.height(); ++y)
        for (int x = 0; x < ref.width(); ++x)
            if (Gray(ref.pixel(x, y)) < 60) ink.emplace_back(x, y);
    if (ink.empty()) return false;
    for (int dy = -slack; dy <= slack; ++dy) {
        for (int dx = -slack; dx <= slack; ++dx) {
            bool all = true;
            for (const QPoint& q : ink) {
                const QPoint at = near + QPoint(dx, dy) + q;
                if (!img.rect().contains(at) || !Dark(img, at.x(), at.y())) {
                    all = false;
                    break;
                }
            }
            if (all) return true;
        }
    }
    return false;
}

}  // namespace probe
