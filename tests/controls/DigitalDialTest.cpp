#include <gtest/gtest.h>

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include "controls/DigitalDial.h"
#include "tests/controls/ImageProbe.h"
#include "window/winsys/Twips.h"

namespace Twips = gradel::Twips;

namespace {

struct FormatCase {
    float value;
    const char* pattern;
    const char* shown;
};

class FormatValueTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatValueTest, ShowsTheValueByThePattern) {
    const FormatCase& c = GetParam();
    EXPECT_EQ(DigitalDial::FormatValue(c.value, c.pattern).toStdString(), c.shown)
        << c.value << " with \"" << c.pattern << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, FormatValueTest,
    ::testing::Values(
        // the last place in steps of 5, brought down in magnitude, sign kept
        FormatCase{1.2347f, "0.0005", "1.2345"}, FormatCase{1.2342f, "0.0005", "1.2340"},
        FormatCase{1.23449f, "0.0005", "1.2345"}, FormatCase{1.2349f, "0.0005", "1.2345"},
        FormatCase{1.23496f, "0.0005", "1.2350"}, FormatCase{-0.0007f, "0.0005", "-0.0005"},
        FormatCase{-0.0002f, "0.0005", "-0.0000"}, FormatCase{-1.2348f, "0.0005", "-1.2345"},
        FormatCase{0.0f, "0.0005", "0.0000"}, FormatCase{12.0f, "5", "10"},
        FormatCase{17.0f, "5", "15"}, FormatCase{-17.0f, "5", "-15"},
        // plain rounding to the pattern's places
        FormatCase{25.4f, "0.00", "25.40"}, FormatCase{-6.35f, "0.00", "-6.35"},
        FormatCase{0.004f, "0.00", "0.00"}, FormatCase{-0.0f, "0.00", "0.00"},
        FormatCase{1234.5678f, "0.00", "1234.57"}, FormatCase{0.5f, "#.00", ".50"},
        FormatCase{7.0f, "000.0", "007.0"}, FormatCase{2.5f, "0.0#", "2.50"},
        // the general form: no fixed places, at most seven significant digits
        FormatCase{12.5f, "", "12.5"}, FormatCase{0.1f, "", "0.1"}, FormatCase{0.0f, "", "0"},
        FormatCase{-3.0f, "", "-3"}, FormatCase{1234567.0f, "", "1234567"},
        FormatCase{12345678.0f, "", "1.234568E+07"}, FormatCase{0.00001f, "", "1E-05"}));

struct ReadingCase {
    float value;
    const char* pattern;
    const char* unit;
    const char* separator;
    const char* reading;
};

class DigitalReadingTest : public ::testing::TestWithParam<ReadingCase> {};

TEST_P(DigitalReadingTest, JoinsNumberSeparatorAndUnit) {
    const ReadingCase& c = GetParam();
    DigitalDial dd;
    dd.SetUnit(c.unit);
    dd.SetFormatString(c.pattern);
    dd.SetValue(c.value);
    EXPECT_EQ(dd.Reading(c.separator).toStdString(), c.reading);
    EXPECT_EQ(dd.labValue()->text(), DigitalDial::FormatValue(c.value, c.pattern));
}

INSTANTIATE_TEST_SUITE_P(Readings, DigitalReadingTest,
                         ::testing::Values(ReadingCase{25.4f, "0.00", "mm", "", "25.40mm"},
                                           ReadingCase{25.4f, "0.00", "mm", " ", "25.40 mm"},
                                           ReadingCase{1.2347f, "0.0005", "\"", "", "1.2345\""},
                                           ReadingCase{12.5f, "", "", "", "12.5"}));

TEST(DigitalDial, StartsWithDesignCaptionsAndDisabled) {
    DigitalDial dd;
    EXPECT_EQ(dd.labValue()->text(), "0");
    EXPECT_EQ(dd.labUnit()->text(), "  ");
    EXPECT_FALSE(dd.Enabled());
    EXPECT_FALSE(dd.labValue()->isEnabled());
    EXPECT_FALSE(dd.labUnit()->isEnabled());
    EXPECT_EQ(dd.Value(), 0.0f);
    EXPECT_TRUE(dd.Unit().isEmpty());
    EXPECT_TRUE(dd.FormatString().isEmpty());

    dd.SetEnabled(true);
    EXPECT_TRUE(dd.labValue()->isEnabled());
    EXPECT_TRUE(dd.labUnit()->isEnabled());
}

struct LayoutCase {
    int heightTwips;
    const char* unit;
};

class DigitalLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(DigitalLayoutTest, UnitAtRightEdgeNumberBeforeItSharedTop) {
    const LayoutCase& c = GetParam();
    DigitalDial dd;
    dd.SetFormatString("0.00");
    dd.SetValue(25.4f);
    Twips::Place(&dd, 0, 0, 1695, c.heightTwips);
    dd.SetUnit(c.unit);
    const QLabel* value = dd.labValue();
    const QLabel* unit = dd.labUnit();

    const double H = Twips::FromPx(dd.height());
    EXPECT_DOUBLE_EQ(value->font().pointSizeF(), H / 35);
    EXPECT_DOUBLE_EQ(unit->font().pointSizeF(), value->font().pointSizeF() / 1.5);
    EXPECT_EQ(unit->text(), QString(" %1 ").arg(c.unit));
    EXPECT_GT(unit->width(), 0);
    EXPECT_EQ(unit->x() + unit->width(), dd.width());
    EXPECT_EQ(value->x() + value->width(), unit->x());
    EXPECT_EQ(value->y(), unit->y());
    EXPECT_LE(std::abs(2 * value->y() + value->height() - dd.height()), 1);
    EXPECT_EQ(value->size(), value->sizeHint());  // auto-sized to its text
}

INSTANTIATE_TEST_SUITE_P(Heights, DigitalLayoutTest,
                         ::testing::Values(LayoutCase{615, "mm"}, LayoutCase{615, "\""},
                                           LayoutCase{615, ""}, LayoutCase{1230, "mm"},
                                           LayoutCase{300, "mm"}));

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

struct ClickCase {
    Where where;
    Qt::MouseButton button;
    bool enabled;
    int expected;
};

class DigitalRightClickTest : public ::testing::TestWithParam<ClickCase> {};

TEST_P(DigitalRightClickTest, RaisedOnlyForTheRightButtonWhileEnabled) {
    const ClickCase& c = GetParam();
    DigitalDial dd;
    Twips::Place(&dd, 0, 0, 1695, 615);
    dd.SetUnit("mm");
    dd.SetEnabled(c.enabled);
    dd.show();
    QSignalSpy spy(&dd, &DigitalDial::RightClick);
    QWidget* target = &dd;
    QPoint at(2, 2);  // left of the right-aligned labels
    if (c.where != Where::Surface) {
        target = const_cast<QLabel*>(c.where == Where::ValueLabel ? dd.labValue() : dd.labUnit());
        at = target->rect().center();
    }
    ASSERT_FALSE(c.where == Where::Surface && dd.childAt(at));
    QTest::mousePress(target, c.button, {}, at);
    QTest::mouseRelease(target, c.button, {}, at);
    EXPECT_EQ(spy.count(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Buttons, DigitalRightClickTest,
                         ::testing::Values(ClickCase{Where::ValueLabel, Qt::RightButton, true, 1},
                                           ClickCase{Where::UnitLabel, Qt::RightButton, true, 1},
                                           ClickCase{Where::Surface, Qt::RightButton, true, 1},
                                           ClickCase{Where::ValueLabel, Qt::LeftButton, true, 0},
                                           ClickCase{Where::Surface, Qt::MiddleButton, true, 0},
                                           ClickCase{Where::ValueLabel, Qt::RightButton, false, 0},
                                           ClickCase{Where::Surface, Qt::RightButton, false, 0}));

}  // namespace
