// The panel module against the real template panel and a small stand-in window.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <tuple>

#include "controls/AnalogueDial.h"
#include "controls/DigitalDial.h"
#include "panels/modScales.h"
#include "tests/panels/PanelHostFake.h"

using gradel::Tag;

namespace {

int Chk(QPushButton* b) {
    return AxisPanel::Value(b);
}

}  // namespace

TEST(modScales, FirstScaleTakesTheTemplatePanelAndIsSetUp) {
    PanelHostFake w;
    modScales::AddPanel(w, "X");
    ASSERT_EQ(w.Panels().size(), 1u);  // no new panel elements
    const AxisPanel& p = w.Panels()[0];
    EXPECT_EQ(p.labAxis->text(), "X");
    for (QObject* o :
         std::initializer_list<QObject*>{p.fraAxis, p.labAxis, p.ddInch, p.ddMM, p.AnalogueDial_,
                                         p.cmdRS, p.cmdAdj, p.chkX2, p.chkREV, p.chkABS})
        EXPECT_EQ(Tag(o), "X") << o->metaObject()->className();
    EXPECT_EQ(p.ddInch->Reading() + p.ddMM->Reading(), "0.0000\"0.00mm");
    EXPECT_EQ(p.ddInch->FormatValue(1.2347f, p.ddInch->FormatString()), "1.2345");
    EXPECT_TRUE(p.ddInch->Enabled() && p.ddMM->Enabled());
    EXPECT_TRUE(p.cmdRS->isEnabled() && p.cmdAdj->isEnabled() && p.chkX2->isEnabled());
    const AnalogueDial& dial = *p.AnalogueDial_;
    EXPECT_EQ(
        std::tuple(dial.Divisions(), dial.ArrowFillStyle(), dial.ArrowColour(), dial.ArrowEnable()),
        std::tuple(64, 7, 0xC0C0FFu, true));
    // The re-layout (and the function-key menu drawn with it) already sees the new axis.
    ASSERT_FALSE(w.layouts.empty());
    EXPECT_EQ(w.layouts.back(), QStringList{"X"});
}

TEST(modScales, DirectoryIsSortedByKeyWhateverTheArrivalOrder) {
    struct Case {
        std::vector<QString> arrivals;
        QStringList directory;  // key:panel index
    };
    const Case cases[] = {
        {{"X", "Y", "Z"}, {"X:0", "Y:1", "Z:2"}},
        {{"Z", "X", "Y"}, {"X:1", "Y:2", "Z:0"}},
        {{"Y", "X"}, {"X:1", "Y:0"}},
        {{"Z", "Y", "X", "A"}, {"A:3", "X:2", "Y:1", "Z:0"}},
    };
    for (const Case& c : cases) {
        PanelHostFake w;
        for (const QString& key : c.arrivals) modScales::AddPanel(w, key);
        EXPECT_EQ(w.Directory(), c.directory) << c.directory.join(' ').toStdString();
        EXPECT_EQ(w.Panels().size(), c.arrivals.size());
        for (std::size_t i = 0; i < c.arrivals.size(); ++i) {
            const AxisPanel& p = w.Panels()[i];
            EXPECT_EQ(p.fraAxis->title(), c.arrivals[i] + " Axis");
            for (QWidget* part : std::initializer_list<QWidget*>{
                     p.fraAxis, p.fraButtons, p.ddInch, p.ddMM, p.AnalogueDial_, p.cmdRS, p.cmdAdj,
                     p.chkX2, p.chkREV, p.chkABS, p.labAxis})
                EXPECT_FALSE(part->isHidden()) << part->metaObject()->className();
            EXPECT_EQ(w.layouts.back(), w.ListKeys());
        }
    }
}

TEST(modScales, OnlyANewYPanelStartsReversedThroughTheRevClickPath) {
    struct Case {
        QString key;
        int rev;
    };
    for (const Case& c : {Case{"X", 0}, Case{"Y", 1}, Case{"y", 0}, Case{"Z", 0}}) {
        PanelHostFake w;
        modScales::AddPanel(w, "A");  // so the panel under test is a fresh copy
        modScales::AddPanel(w, c.key);
        const AxisPanel& p = w.Panels()[1];
        EXPECT_EQ(Chk(p.chkREV), c.rev) << c.key.toStdString();
        EXPECT_EQ(Chk(p.chkABS), 0);
        EXPECT_EQ(Chk(p.chkX2), 0);
        using Click = std::pair<QString, bool>;
        const std::vector<Click> want =
            c.rev ? std::vector<Click>{{c.key, true}} : std::vector<Click>{};
        EXPECT_EQ(w.revClicks, want) << c.key.toStdString();
    }
}

TEST(modScales, RemovePanelEdges) {
    PanelHostFake w;
    modScales::AddPanel(w, "X");
    modScales::AddPanel(w, "X");  // a shown key again: not listed twice, no new panel
    EXPECT_EQ(w.Panels().size(), 1u);
    const std::size_t layouts = w.layouts.size();
    modScales::RemovePanel(w, "Q");  // no panel: nothing at all
    EXPECT_EQ(w.layouts.size(), layouts);
    EXPECT_EQ(w.Directory(), QStringList{"X:0"});
    modScales::RemovePanel(w, "x");  // keys compare exactly
    EXPECT_EQ(w.Directory(), QStringList{"X:0"});
    modScales::RemovePanel(w, "X");
    modScales::RemovePanel(w, "X");  // panel found but not listed: re-laid out all the same
    EXPECT_EQ(w.layouts.size(), layouts + 2);
    EXPECT_TRUE(w.Directory().isEmpty());
}

TEST(modScales, IsX2FollowsThePanelsBox) {
    PanelHostFake w;
    EXPECT_FALSE(modScales::IsX2(w, "X"));  // no panel
    modScales::AddPanel(w, "X");
    modScales::AddPanel(w, "Y");
    EXPECT_FALSE(modScales::IsX2(w, "X"));
    AxisPanel::SetValue(w.Panels()[0].chkX2, 1);
    EXPECT_TRUE(modScales::IsX2(w, "X"));
    EXPECT_FALSE(modScales::IsX2(w, "Y"));
    EXPECT_FALSE(modScales::IsX2(w, "x"));
    modScales::RemovePanel(w, "X");
    EXPECT_TRUE(modScales::IsX2(w, "X"));  // a hidden panel keeps its mode
}
