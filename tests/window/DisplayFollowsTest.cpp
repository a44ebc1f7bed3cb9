// A demo scale (like a box in poll mode) sends nothing after its first reading, so whatever the
// operator changes must reach the readouts at once, not with a reading that never comes.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include "SettingsSandbox.h"
#include "controls/AnalogueDial.h"
#include "controls/DigitalDial.h"
#include "panels/AxisPanel.h"
#include "window/frmGradel.h"

// Failure messages show texts as texts.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

class QuietWindow : public frmGradel {
  public:
    void CheckComports() override {}
    void TogglePort(int16_t) override {}
};

TEST(DisplayFollows, SettingsAndSetPositionShowWithoutAFurtherReading) {
    QuietWindow w;
    w.Load();
    w.mnuDemoAdd_Click(0);  // X, absolute 0
    w.SC->DataInput("X+01.0000:");  // one more reading: absolute 1/9 inch, then silence
    const AxisPanel& p = w.Panels().at(0);
    const auto inch = [&] { return p.ddInch->Reading(); };
    const auto mm = [&] { return p.ddMM->Reading(); };

    struct Step {
        const char* what;
        std::function<void()> act;
        QString inch, mm;
        float dial;
    };
    const Step steps[] = {
        {"set relative 0.5 in", [&] { w.SetRelativeInch("X", 0.5f); }, "0.5000\"", "12.70mm", 0.5f},
        {"X2 by the menu's operation", [&] { w.ToggleX2("X"); }, "1.0000\"", "25.40mm", 1.0f},
        {"set 0.5 in X2 (the shown value)", [&] { w.SetRelativeInch("X", 0.5f); }, "0.5000\"",
         "12.70mm", 0.5f},
        {"ABS by a click on the button", [&] { QTest::mouseClick(p.chkABS, Qt::LeftButton); },
         "0.2220\"", "5.64mm", 2.0f / 9.0f},
        {"X2 off by a click", [&] { QTest::mouseClick(p.chkX2, Qt::LeftButton); }, "0.1110\"",
         "2.82mm", 1.0f / 9.0f},
        {"ABS off by the menu's operation", [&] { w.ToggleABS("X"); }, "0.2500\"", "6.35mm",
         0.25f},
    };
    for (const Step& s : steps) {
        s.act();
        QApplication::processEvents();
        EXPECT_EQ(inch(), s.inch) << s.what;
        EXPECT_EQ(mm(), s.mm) << s.what;
        EXPECT_NEAR(p.AnalogueDial_->Value(), s.dial, 1e-6) << s.what;
    }
}

}  // namespace
