// What the dial shows, read from rendered images.
#include <gtest/gtest.h>

#include "controls/AnalogueDial.h"
#include "controls/FractionStrip.h"
#include "tests/controls/ImageProbe.h"
#include "window/winsys/Twips.h"

namespace Twips = gradel::Twips;

namespace {

const QRgb kPink = qRgb(255, 192, 192);

struct Dial {
    AnalogueDial dial;
    explicit Dial(int32_t divisions = 64, bool arrows = true, int32_t style = 7, int widthTw = 1695,
                  int heightTw = 1095) {
        Twips::Place(&dial, 0, 0, widthTw, heightTw);
        dial.SetDivisions(divisions);
        dial.SetArrowFillStyle(style);
        dial.SetArrowColour(0xC0C0FF);
        dial.SetArrowEnable(arrows);
        dial.show();
    }
    QImage Show(float value) {
        dial.SetValue(value);
        return probe::Grab(dial);
    }
    int IndexRow() const { return Twips::ToPx(std::nearbyint(Twips::FromPx(dial.height()) / 2)); }
    const FractionStrip& Tape() const { return *dial.findChild<FractionStrip*>(); }
    QRect TapeRect() const { return Tape().geometry().intersected(dial.rect()); }
};

TEST(DialPixels, IndexLineCrossesBothMargins) {
    for (int heightTw : {1095, 1110, 900}) {
        Dial d(64, true, 7, 1695, heightTw);
        const QImage img = d.Show(1.3f);
        for (int x : {1, img.width() - 2}) {
            const std::vector<int> rows = probe::DarkRows(img, x);
            ASSERT_EQ(rows.size(), 1u) << heightTw << " x=" << x;
            EXPECT_EQ(rows[0], d.IndexRow()) << heightTw;
        }
    }
}

// The mark line on the index row is found in the image; its label is read by matching the
// rendered text, and its neighbours one division above and below. At 4096 divisions the tape
// is too tall for an image and is painted from its marks.
TEST(DialPixels, LabelledMarkSitsOnTheIndexLine) {
    const struct {
        float value;
        int32_t divisions;
        const char *onLine, *above, *below;
    } cases[] = {{3.5f, 64, "1/2", "31/64", "33/64"},  {-0.25f, 64, "1/4", "17/64", "15/64"},
                 {0.0f, 64, "0", "1/64", "1/64"},      {0.5f, 16, "1/2", "7/16", "9/16"},
                 {2.75f, 16, "3/4", "11/16", "13/16"}, {3.5f, 4096, "1/2", nullptr, nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        Dial d(c.divisions);
        EXPECT_EQ(d.Tape().Cached(), c.divisions < 4096);
        const QImage img = d.Show(c.value);
        const QRect tape = d.TapeRect();
        const int row = d.IndexRow();
        const std::vector<int> marks = probe::DarkRows(img, tape.left() + 1);
        ASSERT_NE(std::find(marks.begin(), marks.end(), row), marks.end()) << "no mark on the line";
        EXPECT_TRUE(probe::Dark(img, tape.right() - 1, row));

        const QFont font = d.Tape().font();
        const QFontMetrics fm(font);
        const int pitch = Twips::ToPx(d.dial.DivPitch());
        auto shows = [&](const char* text, int markRow) {
            return probe::ShowsText(img, text, font,
                                    QPoint(tape.center().x() + 1 - fm.horizontalAdvance(text) / 2,
                                           markRow - fm.height() / 2));
        };
        EXPECT_TRUE(shows(c.onLine, row));
        // the mark line stops short of its label on both sides, so the label is not struck through
        int clear = 0;
        for (int x = tape.left(); x <= tape.right(); ++x) clear += !probe::Dark(img, x, row);
        EXPECT_GE(clear, 4);
        if (!c.above) continue;  // neighbours wider than the tape are cut off at its edges
        EXPECT_TRUE(shows(c.above, row - pitch));
        EXPECT_TRUE(shows(c.below, row + pitch));
        EXPECT_FALSE(shows(c.above, row));  // and not the neighbours' labels on the line
        EXPECT_FALSE(shows(c.below, row));
    }
}

TEST(DialPixels, NoWedgeWhenArrowsAreOff) {
    for (bool arrows : {false, true}) {
        Dial d(64, arrows);
        int pink = 0;
        for (float v : {0.25f, 0.75f, -0.5f, 3.9f})
            pink += probe::Count(d.Show(v), d.dial.rect(), kPink);
        if (arrows) {
            EXPECT_GT(pink, 0);
        } else {
            EXPECT_EQ(pink, 0);
        }
    }
}

// Halfway between two marks below the index line, the wedge's outline spans the shown
// fraction of the tape's width (of the magnitude for negative values).
TEST(DialPixels, HatchedWedgeWidensWithTheFraction) {
    const struct {
        float value;
        double fraction;
    } cases[] = {{0.25f, 0.25},  {0.5f, 0.5},    {0.75f, 0.75},  {3.75f, 0.75},
                 {-0.25f, 0.25}, {-0.75f, 0.75}, {1.125f, 0.125}};
    Dial d;
    const QRect tape = d.TapeRect();
    const int row = d.IndexRow() + Twips::ToPx(d.dial.DivPitch()) / 2;
    for (const auto& c : cases) {
        const QImage img = d.Show(c.value);
        const auto [left, right] = probe::Span(img, row, tape.left(), tape.right(), kPink);
        ASSERT_GE(left, 0) << c.value;
        const double expected = c.fraction * (tape.width() - 1);
        EXPECT_NEAR(right - left, expected, 2.5) << c.value;
        EXPECT_NEAR((left + right) / 2.0, tape.center().x() + 0.5, 1.5) << c.value;
        if (c.fraction >= 0.5) {  // hatched: pink and white alternate inside the outline
            const int pink =
                probe::Count(img, QRect(left + 2, row - 4, right - left - 3, 9), kPink);
            const int area = (right - left - 3) * 9;
            EXPECT_GT(pink, area / 10) << c.value;
            EXPECT_LT(pink, area * 6 / 10) << c.value;
        }
    }
}

// Each style fills a share of the wedge's inside; horizontal lines (2) leave some rows of it
// all pink, vertical ones (3) none.
TEST(DialPixels, FillStylesFillTheWedgeAccordingly) {
    const struct {
        int32_t style;
        double minShare, maxShare;
    } cases[] = {{0, 1.0, 1.0},  {1, 0.0, 0.0},  {2, 0.05, 0.5}, {3, 0.05, 0.5},
                 {4, 0.05, 0.5}, {5, 0.05, 0.5}, {6, 0.1, 0.6},  {7, 0.1, 0.6}};
    for (const auto& c : cases) {
        Dial d(64, true, c.style);
        const QImage img = d.Show(0.75f);
        const QRect tape = d.TapeRect();
        const int row = d.IndexRow() + Twips::ToPx(d.dial.DivPitch()) / 2;
        const QRect inside(tape.center().x() - 10, row - 4, 20, 9);
        const double share =
            probe::Count(img, inside, kPink) / double(inside.width() * inside.height());
        EXPECT_GE(share, c.minShare) << c.style;
        EXPECT_LE(share, c.maxShare) << c.style;
        int fullRows = 0;
        for (int y = row - 4; y <= row + 4; ++y)
            fullRows += probe::Count(img, QRect(tape.center().x() - 8, y, 16, 1), kPink) == 16;
        if (c.style == 2 || c.style == 3) {
            EXPECT_EQ(fullRows > 0, c.style == 2) << fullRows;
        }
    }
}

}  // namespace
