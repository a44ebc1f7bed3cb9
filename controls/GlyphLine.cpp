#include "controls/GlyphLine.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace gradel {

namespace {

// What a readout's number is made of (formatNumber's digits, point, sign and exponent).
constexpr char16_t kCharacters[] = u"0123456789.-+E";
constexpr int kCount = 14;
constexpr int kTextFlags = Qt::AlignRight | Qt::AlignTop | Qt::TextForceLeftToRight;

int indexOf(QChar c) {
    for (int i = 0; i < kCount; ++i)
        if (kCharacters[i] == c.unicode()) return i;
    return -1;
}

}  // namespace

void GlyphLine::setFont(const QFont& font) {
    if (measured_ && font == font_ && font.resolveMask() == font_.resolveMask()) return;
    font_ = font;
    measured_ = false;
}

// Every ordered pair of the characters is laid out once, side by side; the line is used only
// if every glyph lands where the sum of the single advances puts it and has a glyph of its own.
void GlyphLine::measure() const {
    measured_ = true;
    usable_ = false;
    raw_ = QRawFont::fromFont(font_);
    if (!raw_.isValid()) return;
    const QString set = QString::fromUtf16(kCharacters, kCount);
    const QVector<quint32> glyphs = raw_.glyphIndexesForString(set);
    if (glyphs.size() != kCount) return;
    const QVector<QPointF> advances = raw_.advancesForGlyphIndexes(glyphs);
    qreal overhang = 0;
    for (int i = 0; i < kCount; ++i) {
        if (glyphs[i] == 0) return;
        glyph_[static_cast<size_t>(i)] = glyphs[i];
        advance_[static_cast<size_t>(i)] = advances[i].x();
        const QRectF ink = raw_.boundingRect(glyphs[i]);
        overhang = std::max({overhang, -ink.left(), ink.right() - advances[i].x()});
    }
    // One more pixel for the antialiased edge.
    overhang_ = static_cast<int>(std::ceil(overhang)) + 1;
    QString pairs;
    for (int i = 0; i < kCount; ++i)
        for (int j = 0; j < kCount; ++j) pairs += set.mid(i, 1) + set[j];
    QTextLayout layout(pairs, font_);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(1e6);
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    if (runs.size() != 1 || runs[0].rawFont() != raw_) return;
    const QVector<quint32> laid = runs[0].glyphIndexes();
    const QVector<QPointF> where = runs[0].positions();
    if (laid.size() != pairs.size()) return;
    qreal x = where.isEmpty() ? 0 : where[0].x();
    for (int k = 0; k < pairs.size(); ++k) {
        const int i = indexOf(pairs[k]);
        if (laid[k] != glyph_[static_cast<size_t>(i)] || std::abs(where[k].x() - x) > 1e-6) return;
        x += advance_[static_cast<size_t>(i)];
    }
    const QFontMetrics metrics(font_);
    height_ = metrics.boundingRect(QRect(0, 0, 2000, 2000), kTextFlags, set).height();
    ascent_ = where.isEmpty() ? raw_.ascent() : where[0].y();
    usable_ = true;
}

bool GlyphLine::glyphsOf(const QString& text, QVector<quint32>& glyphs, qreal& width) const {
    if (!measured_) measure();
    if (!usable_ || text.isEmpty()) return false;
    glyphs.resize(text.size());
    positions_.resize(text.size());
    width = 0;
    for (int k = 0; k < text.size(); ++k) {
        const int i = indexOf(text[k]);
        if (i < 0) return false;
        glyphs[k] = glyph_[static_cast<size_t>(i)];
        positions_[k] = QPointF(width, 0);
        width += advance_[static_cast<size_t>(i)];
    }
    return true;
}

std::optional<QSize> GlyphLine::size(const QString& text) const {
    qreal width = 0;
    if (!glyphsOf(text, glyphs_, width)) return std::nullopt;
    return QSize(static_cast<int>(std::ceil(width)), height_);
}

bool GlyphLine::draw(QPainter& painter, int right, int top, const QString& text) const {
    qreal width = 0;
    if (!glyphsOf(text, glyphs_, width)) return false;
    QGlyphRun run;
    run.setRawFont(raw_);
    run.setGlyphIndexes(glyphs_);
    run.setPositions(positions_);
    painter.drawGlyphRun(QPointF(right - width, top + ascent_), run);
    return true;
}

// The characters both texts end with stay where they are; when both are as wide, so do those
// they begin with. Only the glyphs between can change.
std::optional<std::pair<int, int>> GlyphLine::changed(const QString& before,
                                                      const QString& after) const {
    QVector<quint32> glyphs;
    qreal widthBefore = 0, widthAfter = 0;
    if (!glyphsOf(before, glyphs, widthBefore) || !glyphsOf(after, glyphs, widthAfter))
        return std::nullopt;
    const auto advance = [this](QChar c) { return advance_[static_cast<size_t>(indexOf(c))]; };
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype suffix = 0;
    qreal near = 0;
    while (suffix < shorter &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
        near += advance(after[after.size() - 1 - suffix]);
        ++suffix;
    }
    qreal far = std::max(widthBefore, widthAfter);
    if (widthBefore == widthAfter)
        for (qsizetype k = 0; k < shorter - suffix && before[k] == after[k]; ++k)
            far -= advance(after[k]);
    return std::pair{static_cast<int>(std::ceil(far)) + overhang_,
                     std::max(0, static_cast<int>(std::floor(near)) - overhang_)};
}

}  // namespace gradel
