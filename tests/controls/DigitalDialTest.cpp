#include <gtest/gtest.h>

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include "controls/DigitalDial.h"
#include "tests/controls/ImageProbe.h"
#include "window/winsys/Twips.h"

namespace Twips = gradel::Twips;

namespace {

// "0.0005": the last place in steps of 5, brought down in magnitude, sign kept; other patterns
// round to their places; the empty pattern is the general form (seven significant digits).
// clang-format off
TEST(DigitalDial, FormatValueFollowsThePattern) {
    const struct {
        float value;
        const char* pattern;
        const char* shown;
    } cases[] = {
        {1.2347f, "0.0005", "1.2345"}, {1.2342f, "0.0005", "1.2340"},
        {1.23449f, "0.0005", "1.2345"}, {1.23496f, "0.0005", "1.2350"},
        {-0.0007f, "0.0005", "-0.0005"}, {-0.0002f, "0.0005", "-0.0000"},
        {-1.2348f, "0.0005", "-1.2345"}, {12.0f, "5", "10"}, {17.0f, "5", "15"},
        {-17.0f, "5", "-15"}, {25.4f, "0.00", "25.40"}, {-6.35f, "0.00", "-6.35"},
        {-0.0f, "0.00", "0.00"}, {1234.5678f, "0.00", "1234.57"}, {0.5f, "#.00", ".50"},
        {7.0f, "000.0", "007.0"}, {2.5f, "0.0#", "2.50"}, {12.5f, "", "12.5"}, {0.0f, "", "0"},
        {-3.0f, "", "-3"}, {1234567.0f, "", "1234567"}, {12345678.0f, "", "1.234568E+07"},
        {0.00001f, "", "1E-05"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DigitalDial::FormatValue(c.value, c.pattern).toStdString(), c.shown)
            << c.value << " with \"" << c.pattern << "\"";
}
// clang-format on

TEST(DigitalDial, ReadingJoinsNumberSeparatorAndUnit) {
    const struct {
        float value;
        const char *pattern, *unit, *separator, *reading;
    } cases[] = {
        {25.4f, "0.00", "mm", "", "25.40mm"},
        {25.4f, "0.00", "mm", " ", "25.40 mm"},
        {1.2347f, "0.0005", "\"", "", "1.2345\""},
        {12.5f, "", "", "", "12.5"},
    };
    for (const auto& c : cases) {
        DigitalDial dd;
        dd.SetUnit(c.unit);
        dd.SetFormatString(c.pattern);
        dd.SetValue(c.value);
        EXPECT_EQ(dd.Reading(c.separator).toStdString(), c.reading);
        EXPECT_EQ(dd.labValue()->text(), DigitalDial::FormatValue(c.value, c.pattern));
    }
}

TEST(DigitalDial, StartsWithDesignCaptionsAndDisabled) {
    DigitalDial dd;
    EXPECT_EQ(dd.labValue()->text(), "0");
    EXPECT_EQ(dd.labUnit()->text(), "  ");
    EXPECT_FALSE(dd.labValue()->isEnabled() || dd.labUnit()->isEnabled());
    dd.SetEnabled(true);
    EXPECT_TRUE(dd.labValue()->isEnabled() && dd.labUnit()->isEnabled());
}

TEST(DigitalDial, UnitAtRightEdgeNumberBeforeItSharedTop) {
    const std::pair<int, const char*> cases[] = {
        {615, "mm"}, {615, "\""}, {615, ""}, {1230, "mm"}, {300, "mm"}};
    for (const auto& [heightTwips, unitText] : cases) {
        SCOPED_TRACE(heightTwips);
        DigitalDial dd;
        dd.SetFormatString("0.00");
        dd.SetValue(25.4f);
        Twips::Place(&dd, 0, 0, 1695, heightTwips);
        dd.SetUnit(unitText);
        const QLabel* value = dd.labValue();
        const QLabel* unit = dd.labUnit();
        const double H = Twips::FromPx(dd.height());
        EXPECT_DOUBLE_EQ(value->font().pointSizeF(), H / 35);
        EXPECT_DOUBLE_EQ(unit->font().pointSizeF(), value->font().pointSizeF() / 1.5);
        EXPECT_EQ(unit->text(), QString(" %1 ").arg(unitText));
        EXPECT_GT(unit->width(), 0);
        EXPECT_EQ(unit->x() + unit->width(), dd.width());
        EXPECT_EQ(value->x() + value->width(), unit->x());
        EXPECT_EQ(value->y(), unit->y());
        EXPECT_LE(std::abs(2 * value->y() + value->height() - dd.height()), 1);
        EXPECT_EQ(value->size(), value->sizeHint());  // auto-sized to its text
    }
}

TEST(DigitalDial, GrowingNumberKeepsEndingWhereTheUnitBegins) {
    DigitalDial dd;
    Twips::Place(&dd, 0, 0, 2400, 615);
    dd.SetUnit("mm");
    dd.SetFormatString("0.00");
    dd.SetValue(9.99f);
    const int unitLeft = dd.labUnit()->x();
    const int narrow = dd.labValue()->width();
    dd.SetValue(-10000.0f);
    EXPECT_GT(dd.labValue()->width(), narrow);
    EXPECT_EQ(dd.labValue()->x() + dd.labValue()->width(), unitLeft);
}

TEST(DigitalDial, DrawsOnTheToolTipBackground) {
    DigitalDial dd;
    Twips::Place(&dd, 0, 0, 1695, 615);
    dd.SetEnabled(true);
    dd.show();
    const QImage img = probe::Grab(dd);
    EXPECT_EQ(img.pixel(1, 1) & 0xFFFFFF,
              dd.palette().color(QPalette::ToolTipBase).rgb() & 0xFFFFFF);
}

enum class Where { ValueLabel, UnitLabel, Surface };

// Raised only for the right button while enabled, over either label or the bare surface.
TEST(DigitalDial, RightClick) {
    const struct {
        Where where;
        Qt::MouseButton button;
        bool enabled;
        int expected;
    } cases[] = {{Where::ValueLabel, Qt::RightButton, true, 1},
                 {Where::UnitLabel, Qt::RightButton, true, 1},
                 {Where::Surface, Qt::RightButton, true, 1},
                 {Where::ValueLabel, Qt::LeftButton, true, 0},
                 {Where::Surface, Qt::MiddleButton, true, 0},
                 {Where::ValueLabel, Qt::RightButton, false, 0},
                 {Where::Surface, Qt::RightButton, false, 0}};
    for (const auto& c : cases) {
        DigitalDial dd;
        Twips::Place(&dd, 0, 0, 1695, 615);
        dd.SetUnit("mm");
        dd.SetEnabled(c.enabled);
        dd.show();
        QSignalSpy spy(&dd, &DigitalDial::RightClick);
        QWidget* target = &dd;
        QPoint at(2, 2);  // left of the right-aligned labels
        if (c.where != Where::Surface) {
            target =
                const_cast<QLabel*>(c.where == Where::ValueLabel ? dd.labValue() : dd.labUnit());
            at = target->rect().center();
        }
        ASSERT_FALSE(c.where == Where::Surface && dd.childAt(at));
        QTest::mousePress(target, c.button, {}, at);
        QTest::mouseRelease(target, c.button, {}, at);
        EXPECT_EQ(spy.count(), c.expected) << static_cast<int>(c.where) << " " << c.button;
    }
}

}  // namespace
