#pragma once
// Sets a readout's number from glyphs measured once per font. Laying text out shapes it every
// time, and at the box's line rate the readouts show a new number every frame; their numbers
// use a dozen characters, so each character's glyph and advance are looked up once and a
// number is then only a row of them. A font that moves these characters by their neighbours
// (kerning, ligatures), a character outside the set or a glyph the font lacks makes the line
// decline, and the caller lays the text out as usual: what is drawn is always what the usual
// path draws.
#include <QFont>
#include <QPointF>
#include <QRawFont>
#include <QSize>
#include <QString>
#include <QVector>
#include <array>
#include <optional>
#include <utility>

class QPainter;

namespace gradel {

class GlyphLine {
  public:
    // The font the text is set in; the measurements are made again (when next needed) only
    // when it differs from the last one.
    void setFont(const QFont& font);

    // The box `text` takes with its top left at (0, 0), as a label measures it; none when the
    // text cannot be set from the measured glyphs.
    std::optional<QSize> size(const QString& text) const;
    // Draws `text` ending at `right`, hanging from `top`, in the painter's pen; false (nothing
    // drawn) when it cannot be set from the measured glyphs.
    bool draw(QPainter& painter, int right, int top, const QString& text) const;

    // Where `after`, drawn in place of `before` with the same right end, differs from it: the
    // distances from the right end to the far and the near side of the pixels that change
    // (ink reaching past a glyph's advance included). None when either cannot be set here.
    std::optional<std::pair<int, int>> changed(const QString& before, const QString& after) const;

  private:
    // The glyphs of `text` and their advances; false when a character is not in the set.
    bool glyphsOf(const QString& text, QVector<quint32>& glyphs, qreal& width) const;
    void measure() const;

    QFont font_;
    // Filled on first use after a font change.
    mutable bool measured_ = false;
    mutable bool usable_ = false;
    mutable QRawFont raw_;
    mutable std::array<quint32, 16> glyph_{};
    mutable std::array<qreal, 16> advance_{};
    mutable int height_ = 0;
    mutable qreal ascent_ = 0;
    mutable int overhang_ = 0;  // pixels of ink beyond a glyph's advance, either side
    mutable QVector<quint32> glyphs_;
    mutable QVector<QPointF> positions_;
};

}  // namespace gradel
