// The readouts and the inch dial: the numbers and readings they give, what the dial refuses,
// and what both show, read from rendered images the way a user reads the screen.
#include <gtest/gtest.h>

#include <QPainter>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <numeric>

#include "base/NumberFormat.h"
#include "base/Twips.h"
#include "controls/AnalogueDial.h"
#include "controls/DigitalDial.h"
#include "controls/FractionStrip.h"
#include "controls/GlyphLine.h"
#include "controls/IntegerStrip.h"
#include "tests/support/ScriptedPrompt.h"

namespace {

using namespace gradel;

const QRgb kPink = qRgb(255, 192, 192);

bool dark(const QImage& image, QPoint at) {
    return image.rect().contains(at) && qGray(image.pixel(at)) < 110;
}

// How many pixels in `area` are pink, and the box around them.
std::pair<int, QRect> pink(const QImage& image, QRect area) {
    std::pair<int, QRect> found;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) == kPink)
                found = {found.first + 1, found.second | QRect(x, y, 1, 1)};
    return found;
}

// "…5": the last place in steps of 5, brought down in magnitude, sign kept. Other patterns
// round to their places (an exact binary tie to the even digit); "" is the general form.
TEST(FormatNumber, FollowsThePattern) {
    // clang-format off
    const struct { float value; const char *pattern, *shown; } cases[] = {
        {1.2347f, "0.0005", "1.2345"}, {1.23496f, "0.0005", "1.2350"}, {-1.2348f, "0.0005", "-1.2345"},
        {-0.0007f, "0.0005", "-0.0005"}, {-0.0002f, "0.0005", "-0.0000"}, {17.0f, "5", "15"}, {0.1f, "", "0.1"},
        {25.4f, "0.00", "25.40"}, {-6.35f, "0.00", "-6.35"}, {-0.0f, "0.00", "0.00"}, {154.625f, "0.00", "154.62"},
        {0.5f, "#.00", ".50"}, {1.2344f, "0.0005", "1.2340"}, {12.5f, "", "12.5"}, {-0.0f, "", "0"},
        {1234567.0f, "", "1234567"}, {12345678.0f, "", "1.234568E+07"}, {0.00001f, "", "1E-05"},
        {-1e30f, "0.00", "-1000000015047466219876688855040.00"},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(formatNumber(c.value, c.pattern).toStdString(), c.shown) << c.value;
    // More places than a readout ever has, and whatever the locale, a full stop.
    const QString places(120, u'0');
    EXPECT_EQ(formatNumber(0.5, "0." + places), "0.5" + places.mid(1));
}

// The inked columns of a readout showing `value`, left and right of the widest blank gap: the
// number's and the unit's.
std::pair<QLine, QLine> numberAndUnit(DigitalDial& readout, float value) {
    readout.setValue(value);
    const QImage image = readout.grab().toImage();
    std::vector<int> ink;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height() && (ink.empty() || ink.back() != x); ++y)
            if (dark(image, {x, y})) ink.push_back(x);
    std::vector<int> steps(ink.size());
    std::adjacent_difference(ink.begin(), ink.end(), steps.begin());
    const auto gap = std::max_element(steps.begin() + 1, steps.end()) - steps.begin();
    return {QLine(ink.front(), 0, ink[gap - 1], 0), QLine(ink[gap], 0, ink.back(), 0)};
}

// The unit sits flush right; the number ends just before it whatever its length, and shows
// whole as it grows to the left. Rows: width and height in twips, unit, filling. A filling
// readout holds its widest reading ("-888.88") whole in a box of any shape.
TEST(Readout, NumberEndsWhereTheUnitBegins) {
    // clang-format off
    const struct { int widthTw, heightTw; const char* unit; bool filling; } cases[] = {
        {2400, 615, "mm", false}, {2400, 615, "\"", false}, {2400, 735, "mm", false},
        {2400, 300, "mm", false}, {4140, 1095, "mm", true}, {2010, 1095, "mm", true},
        {1500, 1095, "\"", true}, {6000, 300, "mm", true},
    };
    // clang-format on
    for (const auto& c : cases) {
        DigitalDial readout;
        Twips::place(&readout, 0, 0, c.widthTw, c.heightTw);
        readout.setUnit(c.unit);
        readout.setFormat("0.00");
        readout.setWidestText("-888.88");
        readout.setFilling(c.filling);
        readout.setEnabled(true);
        const auto [number, unitInk] = numberAndUnit(readout, 9.99f);
        const auto [wideNumber, wideUnitInk] =
            numberAndUnit(readout, c.filling ? -888.88f : -1000.49f);
        EXPECT_EQ(wideUnitInk, unitInk);
        EXPECT_NEAR(wideNumber.x2(), number.x2(), 1);
        EXPECT_GT(wideNumber.dx(), (c.filling ? 8 : 9) * number.dx() / 5);
        EXPECT_GT(wideNumber.x1(), 0) << c.widthTw << 'x' << c.heightTw;
        EXPECT_LE(readout.width() - unitInk.x2(), 10 + readout.height() / 10);
        EXPECT_LE(unitInk.x1() - number.x2(), 12 + readout.height() / 10) << c.heightTw;
    }
}

// A readout sized for "-888.88" draws wider numbers smaller, and grows back only once well
// clear of the edge, so a reading wavering about 1000 keeps one size. Rows, in turn: the value
// shown | drawn at the usual size (1) or smaller (0).
TEST(Readout, ShrunkNumberKeepsItsSizeAtTheEdge) {
    DigitalDial readout;
    readout.setUnit("mm");
    readout.setFormat("0.00");
    readout.setWidestText("-888.88");
    readout.setFilling(true);
    Twips::place(&readout, 0, 0, 2010, 1095);
    readout.show();
    const double usual = readout.numberFont().pointSizeF();
    for (const QString row : {"999.99 1", "1000.00 0", "999.99 0", "-1000.01 0", "985 0", "979 1",
                              "-999.99 1", "-1000 0", "-979 1"}) {
        readout.setValue(row.section(' ', 0, 0).toFloat());
        EXPECT_EQ(readout.numberFont().pointSizeF() == usual, row.endsWith('1')) << qPrintable(row);
    }
}

// A dial as a panel holds it: 1695 twips wide, pink wedges.
struct Dial {
    AnalogueDial dial;
    explicit Dial(int divisions = 64, bool arrows = true,
                  Qt::BrushStyle style = Qt::DiagCrossPattern, ErrorPrompt* prompt = nullptr,
                  int heightTw = 1095)
        : dial(nullptr, prompt) {
        Twips::place(&dial, 0, 0, 1695, heightTw);
        dial.setDivisions(divisions);
        dial.setArrowStyle(style);
        dial.setArrowColour(kPink);
        dial.setArrowsShown(arrows);
        dial.show();
    }
    QImage show(float value) {
        dial.setValue(value);
        return dial.grab().toImage();
    }
    int indexRow() const { return Twips::toPx(std::nearbyint(Twips::fromPx(dial.height()) / 2)); }
    FractionStrip* tape() const { return dial.findChild<FractionStrip*>(); }
    QRect tapeRect() const { return tape()->geometry().intersected(dial.rect()); }
    // Whether the tape's label `text` is centred on pixel row `row`, give or take three pixels:
    // every pixel the text inks on its own is dark in the image.
    bool labels(const QImage& image, const QString& text, int row) const {
        const QFontMetrics fm(tape()->font());
        QImage ref(fm.horizontalAdvance(text), fm.height(), QImage::Format_RGB32);
        ref.fill(Qt::white);
        QPainter painter(&ref);
        painter.setFont(tape()->font());
        painter.drawText(0, fm.ascent(), text);
        const QPoint near(tapeRect().center().x() - 2 - ref.width() / 2, row - 3 - fm.height() / 2);
        for (int shift = 0; shift < 49; ++shift) {
            bool all = true;
            for (int i = 0; i < ref.width() * ref.height(); ++i) {
                const QPoint q(i % ref.width(), i / ref.width());
                all = all && (qGray(ref.pixel(q)) >= 60 ||
                              dark(image, near + q + QPoint(shift % 7, shift / 7)));
            }
            if (all) return true;
        }
        return false;
    }
};

// Rows: value | divisions | unit | the reading. Copied and pasted, a reading must say the same
// number: the whole inches and the fraction are kept apart, negative values count from zero,
// and a rounding up carries. Half a division rounds to the even count (3.0078125, 3.0234375).
TEST(Dial, ReadingIsTheMachinistsMixedFraction) {
    // clang-format off
    const struct { float value; int divisions; const char *unit, *reading; } cases[] = {
        {3.75f, 64, "", "3-3/4"}, {0.5f, 64, "", "1/2"}, {2.0f, 64, "", "2"}, {3.999f, 64, "", "4"},
        {-1.5f, 64, "", "-1-1/2"}, {-0.25f, 64, "", "-1/4"}, {-0.0002f, 64, "", "0"}, {0.0f, 64, "", "0"},
        {3.75f, 64, "in", "3-3/4in"}, {0.6f, 10, "", "3/5"}, {3.0078125f, 64, "", "3"},
        {3.0234375f, 64, "", "3-1/32"}, {2.09375f, 1024, "", "2-3/32"}, {-32768.0f, 64, "", "-32768"},
        {32767.5f, 64, "", "32767-1/2"},
    };
    // clang-format on
    Dial d;
    for (const auto& c : cases) {
        d.dial.setDivisions(c.divisions);
        d.dial.setUnit(c.unit);
        d.dial.setValue(c.value);
        EXPECT_EQ(d.dial.reading().toStdString(), c.reading) << c.value;
    }
}

// Each refusal is reported once as an overflow, even when the user answers Ignore: a count too
// many for the tape keeps the old one; a value too far to scroll to leaves the tapes as they
// were, also through a resize; a whole part beyond 16 bits reads "".
TEST(Dial, RefusesWhatItCannotShow) {
    gradel::testing::ScriptedPrompt prompt({3, ErrorAnswer::Ignore});
    Dial d(64, true, Qt::DiagCrossPattern, &prompt);
    d.dial.setDivisions(10'000'000);
    EXPECT_EQ(d.dial.divisions(), 64);
    const QImage before = d.show(1.5f);
    EXPECT_EQ(d.show(3e9f), before);
    EXPECT_NO_THROW(Twips::place(&d.dial, 0, 0, 1695, 900));
    d.dial.setValue(32768.0f);
    EXPECT_EQ(d.dial.reading(), "");
    std::string seen;  // each an overflow in module AnalogueDial
    for (const auto& r : prompt.reports())
        seen += (r.module == "AnalogueDial" && r.fault == Fault::Overflow ? "" : "?") +
                r.procedure + " ";
    EXPECT_EQ(seen, "Divisions Value Reading ");
}

// The mark on the index line carries the label of the value's fraction, its neighbours those
// a division above and below; the index line shows in the margins beside the tapes. At 4096
// divisions the tape is too tall for an image and is painted from its marks.
TEST(DialPixels, LabelledMarkSitsOnTheIndexLine) {
    // clang-format off
    const struct { float value; int divisions, heightTw; const char *onLine, *above, *below; } cases[] = {
        {3.5f, 64, 1095, "1/2", "31/64", "33/64"}, {-0.25f, 64, 1095, "1/4", "17/64", "15/64"},
        {0.0f, 64, 1110, "0", "1/64", "1/64"}, {2.75f, 16, 900, "3/4", "11/16", "13/16"},
        {3.5f, 4096, 1095, "1/2", "2047/4096", "2049/4096"},
    };
    // clang-format on
    for (const auto& c : cases) {
        Dial d(c.divisions, true, Qt::DiagCrossPattern, nullptr, c.heightTw);
        const QImage image = d.show(c.value);
        const int row = d.indexRow(), pitch = d.dial.height() / 3;
        for (int x : {1, d.tapeRect().left() + 1, d.tapeRect().right() - 1, image.width() - 2})
            EXPECT_TRUE(dark(image, {x, row}) && !dark(image, {x, row - 1}) &&
                        !dark(image, {x, row + 1}));
        EXPECT_TRUE(d.labels(image, c.onLine, row));
        EXPECT_FALSE(d.labels(image, c.above, row) || d.labels(image, c.below, row));
        // labels wider than the tape are cut off at its edges
        EXPECT_TRUE(c.divisions == 4096 || (d.labels(image, c.above, row - pitch) &&
                                            d.labels(image, c.below, row + pitch)));
    }
}

// Half a division below the index line the wedge spans the fraction shown (its magnitude for
// a negative value) of the tape's width, centred, and a pattern fills part of it. With the
// wedges off there is no pink at all.
TEST(DialPixels, WedgeSpansTheFraction) {
    // clang-format off
    const struct { float value; Qt::BrushStyle style; double width, fill; } cases[] = {  // 0.3: some
        {-2.25f, Qt::DiagCrossPattern, 0.25, 0.3}, {3.75f, Qt::DiagCrossPattern, 0.75, 0.3},
        {-0.75f, Qt::CrossPattern, 0.75, 0.3}, {1.125f, Qt::DiagCrossPattern, 0.125, 0.3},
        {0.75f, Qt::SolidPattern, 0.75, 1}, {0.75f, Qt::NoBrush, 0.75, 0}, {0.75f, Qt::HorPattern, 0.75, 0.3},
        {0.75f, Qt::VerPattern, 0.75, 0.3}, {0.75f, Qt::BDiagPattern, 0.75, 0.3},
        {0.75f, Qt::FDiagPattern, 0.75, 0.3}, {0.75f, Qt::SolidPattern, 0, 0},  // wedges off
    };
    // clang-format on
    for (const auto& c : cases) {
        Dial d(64, c.width > 0, c.style);
        const QImage image = d.show(c.value);
        const QRect tape = d.tapeRect(),
                    row(tape.left(), d.indexRow() + d.dial.height() / 6, tape.width(), 1);
        const QRect inside = row.adjusted(tape.width() / 2 - 5, -4, 5 - tape.width() / 2, 4);
        const double fill = pink(image, inside).first / double(inside.width() * inside.height());
        EXPECT_NEAR(fill, c.fill, c.fill == 0.3 ? 0.25 : 0) << c.style;
        EXPECT_EQ(pink(image, image.rect()).first > 0, c.width > 0);
        if (c.width == 0) continue;
        const QRect span = pink(image, row).second;
        EXPECT_NEAR(span.width() - 1, c.width * (tape.width() - 1), 2.5) << c.value;
        EXPECT_NEAR(span.left() + span.width() / 2.0, tape.left() + tape.width() / 2.0, 1.5);
    }
}

// A number set from the measured glyphs is the same picture, in the same box, as the text laid
// out by QPainter; text the glyphs cannot set is declined. Rows: point size | text | set.
TEST(GlyphLine, DrawsWhatLayoutDraws) {
    // clang-format off
    const struct { double points; const char* text; bool set; } cases[] = {
        {7.5, "25.40", true}, {11.2, "-888.88", true}, {26.3, "1.234568E+07", true}, {64, "111.17", true},
        {1, "-0.0005", true}, {17.9, "7/8", false}, {12, "", false}, {33.3, "0.50 mm", false},
    };
    // clang-format on
    const int flags = Qt::AlignRight | Qt::AlignTop | Qt::TextForceLeftToRight;
    for (const auto& c : cases) {
        QFont font(QStringLiteral("Arial"));
        font.setPointSizeF(c.points);
        GlyphLine line;
        line.setFont(font);
        const QRect box = QFontMetrics(font).boundingRect(QRect(0, 0, 2000, 2000), flags, c.text);
        ASSERT_EQ(line.size(c.text).has_value(), c.set) << c.text;
        if (!c.set) continue;
        EXPECT_EQ(*line.size(c.text), box.size()) << c.text;
        QImage laid(box.width() + 20, box.height() + 20, QImage::Format_RGB32), set = laid;
        laid.fill(Qt::white);
        set.fill(Qt::white);
        QPainter byLayout(&laid), byGlyphs(&set);
        byLayout.setFont(font);
        byLayout.drawText(QRect(10, 10, box.width(), box.height()), flags, c.text);
        EXPECT_TRUE(line.draw(byGlyphs, 10 + box.width(), 10, c.text));
        EXPECT_EQ(laid, set) << c.points << ' ' << c.text;
    }
}

// What a shown top-level widget has on the screen once its due paints are done, and what a
// paint of the whole widget from its present state gives.
std::pair<QImage, QImage> screenAndRepaint(QWidget& widget) {
    QCoreApplication::processEvents();
    const QImage screen = widget.screen()->grabWindow(widget.winId()).toImage();
    return {screen.convertToFormat(QImage::Format_RGB32),
            widget.grab().toImage().convertToFormat(QImage::Format_RGB32)};
}

// A shown readout or dial stepped through values shows exactly what a whole repaint shows, and
// the dial what a new one shows: repainting only what changed (the number's box, the tapes
// moved) leaves nothing of the values before. Rows: pattern | values.
TEST(OnScreen, SteppedShowsWhatARepaintShows) {
    // clang-format off
    const struct { const char* pattern; std::vector<float> values; } cases[] = {
        {"0.00", {-1000.49f, 9.99f}}, {"0.0005", {1.2345f, -0.5f, 17.1f}}, {"", {12345678.0f, 1.0f}},
        {"0.00", {3.2f, 3.3f, 3.4f}}, {"0.00", {0.9f, 1.1f, -2.25f, 0.5f}}, {"0.00", {-7.9f, 2.0f, 1.99f}},
        {"0.00", {1.11f, 1.17f, 7.17f, 9.99f, 10.0f}}, {"0.0005", {-0.5f, 0.5f, 0.4f, 11.1f, 41.1f}}, {"", {1.5f, 1.25f, 1.375f, 1.5f}}, {"", {1e7f, -12345678.0f, 1e7f}},
    };
    // clang-format on
    for (const auto& c : cases) {
        DigitalDial readout;
        Twips::place(&readout, 0, 0, 2400, 615);
        readout.setUnit("mm");
        readout.setFormat(c.pattern);
        readout.setEnabled(true);
        readout.show();
        Dial d;
        for (float value : c.values) {
            readout.setValue(value);
            d.dial.setValue(value);
            const auto [readoutShown, readoutRepainted] = screenAndRepaint(readout);
            const auto [dialShown, dialRepainted] = screenAndRepaint(d.dial);
            EXPECT_EQ(readoutShown, readoutRepainted) << value;
            EXPECT_EQ(dialShown, dialRepainted) << value;
            Dial fresh;  // what the tapes' images hold must follow the value too
            EXPECT_EQ(dialShown, fresh.show(value).convertToFormat(QImage::Format_RGB32)) << value;
        }
    }
}

// Presses on the dial's whole-inch tape stay there; a disabled readout takes none. Left and
// middle presses are no clicks.
TEST(Controls, RightClick) {
    Dial d;
    DigitalDial readout;
    Twips::place(&readout, 0, 0, 1695, 615);
    QWidget* const wholeInches = d.dial.findChild<IntegerStrip*>();
    // clang-format off
    const struct { QWidget* target; bool enabled; int dial, readout; } cases[] = {
        {&d.dial, true, 1, 0}, {d.tape(), true, 1, 0}, {wholeInches, true, 0, 0},
        {&readout, true, 0, 1}, {&readout, false, 0, 0},
    };
    // clang-format on
    for (const auto& c : cases) {
        readout.setEnabled(c.enabled);
        QSignalSpy dialClicks(&d.dial, &AnalogueDial::rightClicked);
        QSignalSpy readoutClicks(&readout, &DigitalDial::rightClicked);
        // Over the readout's number, in the dial's left margin, or across the middle of a tape.
        const QPoint onLine(c.target == &d.dial ? 2 : c.target->width() / 2,
                            d.indexRow() - 5 - c.target->y());
        for (auto button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
            QTest::mousePress(c.target, button, {}, c.target == &readout ? QPoint(90, 20) : onLine);
        EXPECT_EQ(dialClicks.count() * 10 + readoutClicks.count(), c.dial * 10 + c.readout);
    }
}

}  // namespace
