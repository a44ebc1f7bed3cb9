// The axis panel (what it shows for its state, what its buttons and menus ask for), the panel
// stack (order, hiding, coming back) and the number entry dialog's keys.
#include <gtest/gtest.h>

#include <QAction>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <array>
#include <cmath>
#include <optional>

#include "controls/AnalogueDial.h"
#include "controls/DigitalDial.h"
#include "controls/IntegerStrip.h"
#include "panels/AxisPanel.h"
#include "panels/FunctionLabels.h"
#include "panels/HoleCircleDialog.h"
#include "panels/NumberEntryDialog.h"
#include "tests/support/DialogKeys.h"

using namespace gradel;
using namespace gradel::testing;

namespace {

QPushButton* button(AxisPanel& panel, const QString& caption) {
    for (QPushButton* b : panel.findChildren<QPushButton*>())
        if (b->text() == caption) return b;
    return nullptr;
}

// The text a readout's or the dial's "Copy" entry hands on.
QString copied(AxisPanel& panel, const char* menu) {
    QSignalSpy spy(&panel, &AxisPanel::copyRequested);
    panel.findChild<QMenu*>(menu)->actions().at(0)->trigger();
    return spy.size() == 1 ? spy.at(0).at(0).toString() : QStringLiteral("(none)");
}

// ABS and X2 change what the panel shows at once, from the position it was last given; the
// reset button works only on relative readings. With a target the readouts show the relative
// reading less the target (doubled in X2 mode) under a "to go" mark, whatever ABS says. Rows:
// ABS and X2 (1: on) | the target in inches (- none) | mm | inch | dial.
TEST(AxisPanel, ShowsThePositionAsItsButtonsSay) {
    AxisPanel panel("X");
    panel.showPosition(1.0f, 0.25f);
    const QLabel* mark = panel.findChild<QLabel*>("toGo");
    for (const QString row :
         {"00 - 6.35 0.2500 0.25", "10 - 25.40 1.0000 1", "01 - 12.70 0.5000 0.5",
          "11 - 50.80 2.0000 2", "11 0.25 0.00 0.0000 0", "00 1 -19.05 -0.7500 -0.75",
          "10 -0.5 19.05 0.7500 0.75", "01 0.5 -12.70 -0.5000 -0.5"}) {
        const bool absolute = row[0] == '1', target = row.section(' ', 1, 1) != "-";
        if (panel.isAbsolute() != absolute) QTest::mouseClick(button(panel, "ABS"), Qt::LeftButton);
        panel.setTimesTwo(row[1] == '1');
        panel.setTarget(target ? std::optional(row.section(' ', 1, 1).toFloat()) : std::nullopt);
        EXPECT_EQ(panel.mmReadout().text() + ' ' + panel.inchReadout().text() + ' ' +
                      QString::number(panel.dial().value()),
                  row.section(' ', 2));
        EXPECT_TRUE(button(panel, "Reset Rel")->isEnabled() == (!absolute || target) &&
                    button(panel, "ABS")->isChecked() == absolute && mark->isHidden() != target);
        panel.setTarget({});
    }
    panel.setAbsolute(false);
    panel.setTimesTwo(false);
    panel.showPosition(0, -0.0002f);  // a tiny negative reading keeps its sign
    EXPECT_EQ(panel.inchReadout().text() + panel.mmReadout().text(), "-0.0000-0.01");
}

// Only a Y axis starts reversed; Rev reports each change once, by click or by key.
TEST(AxisPanel, RevStartsForYAndReportsChanges) {
    EXPECT_TRUE(AxisPanel("Y").isReversed());
    AxisPanel panel("X");
    EXPECT_FALSE(panel.isReversed());
    QSignalSpy spy(&panel, &AxisPanel::reverseChanged);
    QTest::mouseClick(button(panel, "Rev"), Qt::LeftButton);
    panel.setReversed(true);
    panel.setReversed(false);
    EXPECT_TRUE(spy.size() == 2 && spy.at(0).at(0).toBool() && !spy.at(1).at(0).toBool());
    EXPECT_FALSE(button(panel, "Rev")->isChecked());
}

// Rows: the relative reading in inches, * once the scale has gone stale | what the dial's, the
// inch and the mm readouts copy: a stale panel still copies its last reading.
TEST(AxisPanel, CopyEntriesGiveTheReadingsAsShown) {
    AxisPanel panel("X");
    for (const QString row : {"3.75|3-3/4\"|3.7500\"|95.25mm", "*0.5|1/2\"|0.5000\"|12.70mm",
                              "-1.5|-1-1/2\"|-1.5000\"|-38.10mm"}) {
        panel.showPosition(0, row.section('|', 0, 0).remove('*').toFloat());
        panel.setStale(row[0] == '*');
        EXPECT_EQ(copied(panel, "dialMenu") + '|' + copied(panel, "inchMenu") + '|' +
                      copied(panel, "mmMenu"),
                  row.section('|', 1));
    }
}

// What is wrong with a readout's number, or "": its ink (the font's box of the text as drawn)
// must lie inside the readout, and the text shown must read back as its value to within
// `slack` (half its last place, a whole "…5" step), or be the overflow mark. What its Copy
// entry gives must read back so too, whatever is shown.
QString faultOf(const DigitalDial& r, const QString& copiedText, double slack, bool mark) {
    const QString shown = r.shownText();
    const QFontMetrics fm(r.numberFont());
    const QRect drawn = r.numberRect();
    const QRect ink = fm.boundingRect(shown).translated(
        drawn.right() + 1 - fm.horizontalAdvance(shown), drawn.top() + fm.ascent());
    const auto off = [&](const QString& text) {
        return std::abs(text.toDouble() - r.value()) > slack;
    };
    if (!r.rect().contains(ink | drawn)) return "cut: " + shown;
    if (mark != (shown == DigitalDial::overflowMark()) || (!mark && off(shown)))
        return "shows " + shown;
    if (std::isfinite(r.value()) && off(copiedText.chopped(r.unit().size())))
        return "copies " + copiedText;
    return {};
}

// Rows: millimetres from zero, X2 (x), times the design size, the readouts shown (m, i, d),
// and whether both readouts show the overflow mark (-). Either readout holds any reading a box
// can send (±2,540 mm, ±10,400 mm as counts, doubled in X2) and any relative one that can be
// set (±99,999.99 mm) whole, however it is laid out; so do the labels of the dial's whole
// inches.
TEST(AxisPanel, ReadoutsShowEveryReadingWholeOrTheOverflowMark) {
    for (const QString row :
         {"1.25 . 1 mid", "-12.7 . 2 mid", "-888.88 x 1 m", "1209.16 . 1 mid", "1209.16 . 2 m",
          "-2540 x 1 mid", "-10400 x 1 mid", "-10400 x 2 m", "99999 . 1 mid", "99999 . 2 mi",
          "-99999.99 x 1 mid", "-99999.99 x 2 i", "1e20 . 1 mid -", "nan . 1 mid -",
          "inf x 2 m -"}) {
        const QStringList c = row.split(' ');
        AxisPanel panel("X");
        panel.show();  // a hidden readout is laid out only once it is shown
        panel.setZoom(c[2].toDouble());
        panel.setReadoutsShown(c[3].contains('m'), c[3].contains('i'), c[3].contains('d'));
        panel.setTimesTwo(c[1] == "x");
        panel.showPosition(0, static_cast<float>(c[0].toDouble() / 25.4));
        EXPECT_EQ(
            faultOf(panel.mmReadout(), copied(panel, "mmMenu"), 0.00501, c.size() > 4) + '|' +
                faultOf(panel.inchReadout(), copied(panel, "inchMenu"), 0.00051, c.size() > 4),
            "|")
            << qPrintable(row);
        const auto* tape = panel.findChild<IntegerStrip*>();  // the dial's whole inches
        for (int i = -1; i <= 2 && tape->isVisible(); ++i)
            EXPECT_LE(QFontMetrics(tape->labelFont()).horizontalAdvance(tape->label(i)),
                      tape->width());
    }
}

// The dial's menu opens at a right click with its present divisions ticked, and sets them.
TEST(AxisPanel, DialMenuTicksAndSetsTheDivisions) {
    AxisPanel panel("X");
    panel.show();
    auto* menu = panel.findChild<QMenu*>("dialMenu");
    QTest::mouseClick(const_cast<AnalogueDial*>(&panel.dial()), Qt::RightButton);
    EXPECT_TRUE(menu->isVisible());
    auto ticked = [&] {
        QString t;
        for (QAction* a : menu->actions())
            if (a->isChecked()) t += a->text();
        return t;
    };
    EXPECT_EQ(ticked(), "&64ths");
    menu->actions().at(1)->trigger();
    EXPECT_EQ(panel.dial().divisions(), 16);
    EXPECT_EQ(ticked(), "&16ths");
    menu->hide();
}

TEST(AxisPanel, DoubleClickOnItsOwnSurfaceAsksToHide) {
    AxisPanel panel("X");
    panel.show();
    QSignalSpy spy(&panel, &AxisPanel::hideRequested);
    QTest::mouseDClick(panel.findChild<QLabel*>(), Qt::LeftButton);  // the axis letter's own
    EXPECT_EQ(spy.size(), 0);
    QTest::mouseDClick(&panel, Qt::LeftButton, {}, QPoint(3, panel.height() - 3));
    EXPECT_EQ(spy.size(), 1);
}

// The box around the dark pixels of `image`, or around its red ones.
QRect inked(const QImage& image, bool red = false) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (red ? qRed(c) > 150 && qGreen(c) < 60 : qGray(c) < 110) box |= QRect(x, y, 1, 1);
        }
    return box;
}

// Rows: the readouts shown (m mm, i inch, d dial) | times their design size. A stale panel's
// red mark stands inside the shown digit readouts (the dial when alone), at least as tall as
// their digits, and a right press on a readout still reaches it.
TEST(AxisPanel, AStalePanelIsMarkedOverItsReadoutsAtAnySize) {
    for (const QString row : {"mid 1", "mid 2.5", "m 1", "i 3", "d 1", "md 0.6"}) {
        AxisPanel panel("X");
        panel.setStale(true);  // before the readouts move: the mark follows them
        panel.setZoom(row.section(' ', 1).toDouble());
        panel.setReadoutsShown(row.contains('m'), row.contains('i'), row.contains('d'));
        const std::array<QWidget*, 3> readouts = {const_cast<DigitalDial*>(&panel.mmReadout()),
                                                  const_cast<DigitalDial*>(&panel.inchReadout()),
                                                  const_cast<AnalogueDial*>(&panel.dial())};
        QRect digits;
        for (int i = 0; i < 2; ++i)
            if (row.contains("mi"[i])) digits |= readouts[i]->geometry();
        panel.showPosition(0, 1.5f);
        QWidget* first = row[0] == 'd' ? readouts[2] : readouts[row[0] == 'i'];
        const QRect ink = inked(first->grab().toImage()), red = inked(panel.grab().toImage(), true);
        const QRect area = digits.isEmpty() ? readouts[2]->geometry() : digits;
        EXPECT_TRUE(area.contains(red) && red.height() >= (row[0] == 'd' ? 1 : ink.height()))
            << qPrintable(row);
        const QWidget* hit = panel.childAt(first->geometry().center());
        EXPECT_TRUE(hit == first || first->isAncestorOf(hit)) << qPrintable(row);
    }
}

// The entry dialog: F1..F9 and F10 are digits, F11 the point, F12 ends; typed digits, "." (or
// ",") and the operators append, Backspace takes one back, Escape cancels (no number: NaN), any
// other character ends; every end keeps what was typed; a repaint keeps it too. A sum that
// gives no number is refused with a message (seen at the next key: the `refused` column) and
// the entry goes on, to be mended; a key no typing on could mend is not taken.
TEST(NumberEntryDialog, KeysGiveTheirNumber) {
    const QString nines(38, u'9');  // one more would not fit a single
    const std::tuple<std::vector<Stroke>, float, QString, bool> rows[] = {
        {{fkey(1), fkey(2), fkey(11), fkey(5), fkey(12)}, 12.5f, "12.5", false},
        {typed("3.25\r"), 3.25f, "3.25", false},
        {typed("1..5\t"), 1, "1..5", false},
        {typed("\x1b"), NAN, "", false},
        {typed("5/0\r\x1b"), NAN, "5/0", true},
        {typed("\b\b7\b8\r"), 8, "8", false},
        {typed("5/0\b2\r"), 2.5f, "5/2", false},
        {typed("5/0\r\b\b\r"), 5, "5", true},
        {typed("0012,7/2\r"), 6.35f, "0012.7/2", false},
        {{fkey(10), fkey(9), fkey(12)}, 9, "09", false},
        {typed(".5\t"), 0.5f, ".5", false},
        {typed("4x"), 4, "4", false},
        {{typed("6")[0], fkey(13), {Qt::Key_Shift, ""}, fkey(12)}, 6, "6", false},
        {typed((nines + "99.1\r").toLatin1().constData()), 1e38f, nines + ".1", false},
        {{typed("3")[0], fkey(12), typed("9")[0], fkey(12)}, 3, "3", false},  // keys after the end
        {typed("12.7/2\r"), 6.35f, "12.7/2", false},
        {typed("1+2*3\r"), 7, "1+2*3", false},
        {typed("-2.5\r"), -2.5f, "-2.5", false},
        {typed("2-3*4/8+1-.5\r"), 1, "2-3*4/8+1-.5", false},
        {typed("5/0\r4\r"), 1.25f, "5/04", true},
        {typed("5/\r1\r"), 5, "5/1", true},
        {typed("-\r2\r"), -2, "-2", true},
        {typed("7--1\r"), 6, "7-1", false},
        {typed("+*2\r"), 2, "2", false},
        {typed("5/0..5\r"), 10, "5/0.5", false},
    };
    QWidget owner;
    NumberEntryDialog dialog(&owner);
    struct : QObject {
        NumberEntryDialog* dialog;
        bool refused;
        bool eventFilter(QObject*, QEvent* e) override {
            refused |= e->type() == QEvent::KeyPress && !dialog->message().isEmpty();
            return false;
        }
    } spy;
    spy.dialog = &dialog;
    dialog.installEventFilter(&spy);
    for (const auto& [keys, number, text, refused] : rows) {
        spy.refused = false;
        answer(&dialog, keys, [&] { dialog.repaint(); });
        const float value = dialog.enterNumber("mm", "0.00").value_or(NAN);
        QTest::qWait(10);  // keys still queued reach the hidden dialog
        EXPECT_EQ(dialog.typed(), text);
        // The sum as shown fits its line and ends as typed (a long one behind a mark).
        const QLabel* sum = dialog.findChildren<QLabel*>().first();
        EXPECT_LE(sum->fontMetrics().horizontalAdvance(sum->text()), sum->width());
        EXPECT_TRUE(text.endsWith(sum->text().remove(u'\u2026'))) << qPrintable(sum->text());
        EXPECT_EQ(spy.refused, refused) << qPrintable(text);
        EXPECT_EQ(QString::number(value), QString::number(number));  // NaN: "nan"
        EXPECT_TRUE(dialog.isHidden());
    }
}

// Rows: a caption | the zoom. Every caption shows whole inside its label's frame, however
// large the number Set Position would apply.
TEST(FunctionLabels, CaptionsShowWholeInTheirLabels) {
    QWidget window;
    FunctionLabels labels(&window);
    for (const QString row : {"X =-20807.68 mm|1", "X =20807.68 mm|2", "X =-819.2 \"|1",
                              "Y at -15000.00 mm|1", "F10 Fwd/Rev|1", "X =-20807.68mm|0.5"}) {
        labels.setZoom(row.section('|', 1).toDouble());
        labels.setCaption(0, row.section('|', 0, 0));
        const QRect room = labels.label(0)->contentsRect();
        EXPECT_TRUE(room.contains(QFontMetrics(labels.label(0)->font())
                                      .boundingRect(room, Qt::TextWordWrap, labels.caption(0))))
            << qPrintable(row);
    }
}

// The number being typed is drawn as a panel draws a live reading, in the same ink.
TEST(NumberEntryDialog, DrawsTheTypedNumberInTheColoursOfALiveReadout) {
    const auto ink = [](QWidget* readout) {  // the darkest grey in it
        const QImage image = readout->grab().toImage();
        int darkest = 255;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                darkest = std::min(darkest, qGray(image.pixel(x, y)));
        return darkest;
    };
    AxisPanel panel("X");
    NumberEntryDialog dialog;
    EXPECT_EQ(ink(dialog.findChild<DigitalDial*>()), ink(panel.findChild<DigitalDial*>()));
}

// Rows: keys | the circle handed back (holes, diameter, start, centre, axes), "-" when
// cancelled | the start of the message the dialog shows just before the last key. The listed
// axes are X, Y, Z; the function keys' way is taken through the window. A refused value keeps the
// dialog open on its field, and the next character typed there replaces it.
TEST(HoleCircleDialog, FieldsFilledByFunctionKeysOrKeyboardAndBadValuesRefused) {
    const char* rows[] = {
        "6\t20\r-30\t1.5\t-2\r3\r1\r|6 20 -30 1.5 -2 Z X|",
        "12\r100\r\r\r\rz\ry\r|12 100 0 0 0 Z Y|",
        "\t\t\t\t\t\t\t45\b\r10\r\r\r\r9\rq\r|4 10 0 0 0 X Y|",
        "\x1b|-|",
        "\r\r\r\r\r\r\r \x1b|-|Holes: enter",
        "1\r5\r\r\r\r\r\r \x1b|-|Holes: from 2 to 360",
        "361\r5\r\r\r\r\r\r \x1b|-|Holes: from 2 to 360",
        "2.5\r5\r\r\r\r\r\r \x1b|-|Holes: a whole",
        "1\r5\r\r\r\r\r\r 3\r\r\r\r\r\r\r|3 5 0 0 0 X Y|Holes: from",
        "4\r0\r\r\r\r\r\r \x1b|-|Diameter (mm): more than 0",
        "4\r1..5\r\r\r\r\r\r \x1b|-|Diameter (mm): \"1..5\" is not",
        "4\r\r\r\r\r\r\r \x1b|-|Diameter (mm): enter",
        "4\r5\r5-\r\r\r\r\r \x1b|-|Start angle (deg): \"5-\"",
        "4\r5\r\r-\r\r\r\r \x1b|-|Centre X (mm): \"-\"",
        "4\r5\r\r\r20000\r\r\r \x1b|-|Centre Y (mm): from -10000",
        "4\r5\r\r\r\r2\r\r \x1b|-|Choose two different axes",
    };
    QWidget owner;
    HoleCircleDialog dialog(&owner);
    for (const QString row : rows) {
        const QStringList c = row.split('|');
        QString shown;
        answer(&dialog, strokes(c[0]), [&] { shown = dialog.message(); });
        const auto got = dialog.ask({"X", "Y", "Z"});
        QTest::qWait(10);
        const HoleCircle& h = got ? got->circle : HoleCircle{};
        const QString text = QString::asprintf("%d %g %g %g %g ", h.holes, h.diameter,
                                               h.startDegrees, h.centreFirst, h.centreSecond);
        EXPECT_EQ(got ? text + got->firstAxis + ' ' + got->secondAxis : "-", c[1])
            << qPrintable(row);
        EXPECT_TRUE(shown.left(c[2].size()) == c[2] && shown.isEmpty() == c[2].isEmpty())
            << qPrintable(shown + " | " + row);
        EXPECT_TRUE(dialog.isHidden());
    }
}

}  // namespace
