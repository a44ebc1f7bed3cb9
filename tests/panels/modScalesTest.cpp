// The panel module against the real template panel and a small stand-in window.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "controls/AnalogueDial.h"
#include "controls/DigitalDial.h"
#include "panels/modScales.h"
#include "scale/clsScaleControl.h"
#include "tests/panels/PanelHostFake.h"
#include "tests/support/ScriptedErrorDialog.h"

using gradel::Tag;

namespace {

int Chk(QPushButton* b) { return AxisPanel::Value(b); }

// A controller whose scale `key` reads 1.0 inch absolute and 0.25 inch relative.
struct OneScale {
    explicit OneScale(const std::string& key) {
        sc.AddScale(key);
        for (int n = 0; n < gradel::clsGradel::kRingSize; ++n) sc.DataInput(key + "+01.0000:");
        sc.SetRelativeInch(key, 0.25f);
    }
    const gradel::clsGradel& Record(const std::string& key) { return *sc.Scales().Item(key); }
    gradel::testing::ScriptedErrorDialog dialog;
    gradel::clsScaleControl sc{dialog};
};

}  // namespace

TEST(modScales, FirstScaleTakesTheTemplatePanelAndIsSetUp) {
    PanelHostFake w;
    modScales::AddPanel(w, "X");
    ASSERT_EQ(w.Panels().size(), 1u);  // no new panel elements
    const AxisPanel& p = w.Panels()[0];
    EXPECT_EQ(p.fraAxis->title(), "X Axis");
    EXPECT_EQ(p.labAxis->text(), "X");
    EXPECT_FALSE(p.fraAxis->isHidden());
    EXPECT_EQ(w.Directory(), QStringList{"X:0"});
    for (QObject* o : std::initializer_list<QObject*>{p.fraAxis, p.labAxis, p.ddInch, p.ddMM,
                                                      p.AnalogueDial_, p.cmdRS, p.cmdAdj,
                                                      p.chkX2, p.chkREV, p.chkABS})
        EXPECT_EQ(Tag(o), "X") << o->metaObject()->className();
    EXPECT_EQ(p.ddInch->Unit(), "\"");
    EXPECT_EQ(p.ddInch->FormatString(), "0.0005");
    EXPECT_EQ(p.ddMM->Unit(), "mm");
    EXPECT_EQ(p.ddMM->FormatString(), "0.00");
    EXPECT_TRUE(p.ddInch->Enabled() && p.ddMM->Enabled());
    EXPECT_TRUE(p.cmdRS->isEnabled() && p.cmdAdj->isEnabled() && p.chkX2->isEnabled());
    EXPECT_EQ(p.AnalogueDial_->Divisions(), 64);
    EXPECT_EQ(p.AnalogueDial_->ArrowFillStyle(), 7);
    EXPECT_EQ(p.AnalogueDial_->ArrowColour(), 0xC0C0FFu);
    EXPECT_TRUE(p.AnalogueDial_->ArrowEnable());
    EXPECT_EQ(p.ddInch->Reading(), "0.0000\"");
    EXPECT_EQ(p.ddMM->Reading(), "0.00mm");
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
            EXPECT_EQ(w.Panels()[i].fraAxis->title(), c.arrivals[i] + " Axis");
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
        const std::vector<Click> want = c.rev ? std::vector<Click>{{c.key, true}}
                                              : std::vector<Click>{};
        EXPECT_EQ(w.revClicks, want) << c.key.toStdString();
    }
}

TEST(modScales, ReaddingAKeyReshowsItsPanelWithItsStates) {
    PanelHostFake w;
    modScales::AddPanel(w, "X");
    modScales::AddPanel(w, "Y");
    AxisPanel x = w.Panels()[0];
    AxisPanel::SetValue(x.chkABS, 1);
    AxisPanel::SetValue(x.chkX2, 1);
    AxisPanel::SetValue(x.chkREV, 1);
    x.ddMM->SetFormatString("0.000");

    modScales::RemovePanel(w, "X");
    EXPECT_TRUE(x.fraAxis->isHidden());
    EXPECT_EQ(w.Directory(), QStringList{"Y:1"});
    EXPECT_EQ(w.layouts.back(), QStringList{"Y"});
    EXPECT_EQ(Tag(x.fraAxis), "X");

    const std::size_t layoutsBefore = w.layouts.size();
    modScales::AddPanel(w, "X");
    EXPECT_EQ(w.Panels().size(), 2u);
    EXPECT_FALSE(x.fraAxis->isHidden());
    EXPECT_EQ(w.Directory(), (QStringList{"X:0", "Y:1"}));
    EXPECT_EQ(w.layouts.size(), layoutsBefore + 1);
    EXPECT_EQ(Chk(x.chkABS), 1);
    EXPECT_EQ(Chk(x.chkX2), 1);
    EXPECT_EQ(Chk(x.chkREV), 1);
    EXPECT_EQ(x.ddMM->FormatString(), "0.000");  // no set-up ran
}

TEST(modScales, ANewKeyGetsANewPanelEvenWhenOthersAreHidden) {
    PanelHostFake w;
    modScales::AddPanel(w, "X");
    modScales::RemovePanel(w, "X");
    modScales::AddPanel(w, "Z");
    ASSERT_EQ(w.Panels().size(), 2u);
    EXPECT_EQ(w.Directory(), QStringList{"Z:1"});
    EXPECT_TRUE(w.Panels()[0].fraAxis->isHidden());
    EXPECT_EQ(Tag(w.Panels()[0].fraAxis), "X");
    EXPECT_EQ(w.Panels()[1].fraAxis->title(), "Z Axis");
    EXPECT_FALSE(w.Panels()[1].fraAxis->isHidden());
    for (QWidget* c : std::initializer_list<QWidget*>{
             w.Panels()[1].fraButtons, w.Panels()[1].ddInch, w.Panels()[1].ddMM,
             w.Panels()[1].AnalogueDial_, w.Panels()[1].cmdRS, w.Panels()[1].cmdAdj,
             w.Panels()[1].chkX2, w.Panels()[1].chkREV, w.Panels()[1].chkABS,
             w.Panels()[1].labAxis})
        EXPECT_FALSE(c->isHidden()) << c->metaObject()->className();
}

TEST(modScales, RemovePanelEdges) {
    PanelHostFake w;
    modScales::AddPanel(w, "X");
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

TEST(modScales, AddingAShownKeyAgainDoesNotListItTwice) {
    PanelHostFake w;
    modScales::AddPanel(w, "X");
    modScales::AddPanel(w, "Y");
    modScales::AddPanel(w, "Y");
    EXPECT_EQ(w.Directory(), (QStringList{"X:0", "Y:1"}));
    EXPECT_EQ(w.Panels().size(), 2u);
}

TEST(modScales, ShowPositionChoosesAbsoluteOrRelativeAndDoubles) {
    struct Case {
        int abs, x2;
        float inch, mm;
        bool resetEnabled;
    };
    const Case cases[] = {
        {0, 0, 0.25f, 6.35f, true},
        {0, 1, 0.5f, 12.7f, true},
        {1, 0, 1.0f, 25.4f, false},
        {1, 1, 2.0f, 50.8f, false},
    };
    for (const Case& c : cases) {
        PanelHostFake w;
        OneScale s("X");
        modScales::AddPanel(w, "X");
        const AxisPanel& p = w.Panels()[0];
        AxisPanel::SetValue(p.chkABS, c.abs);
        AxisPanel::SetValue(p.chkX2, c.x2);
        modScales::ShowPosition(w, s.Record("X"));
        SCOPED_TRACE(testing::Message() << "abs " << c.abs << " x2 " << c.x2);
        EXPECT_NEAR(p.ddInch->Value(), c.inch, 1e-5);
        EXPECT_NEAR(p.AnalogueDial_->Value(), c.inch, 1e-5);
        EXPECT_NEAR(p.ddMM->Value(), c.mm, 1e-4);
        EXPECT_EQ(p.cmdRS->isEnabled(), c.resetEnabled);
    }
}

TEST(modScales, ShowPositionFindsHiddenPanelsAndIgnoresUnknownKeys) {
    PanelHostFake w;
    OneScale s("X");
    s.sc.AddScale("Q");
    modScales::AddPanel(w, "X");
    modScales::AddPanel(w, "Y");
    modScales::RemovePanel(w, "X");
    modScales::ShowPosition(w, s.Record("X"));
    EXPECT_NEAR(w.Panels()[0].ddInch->Value(), 0.25f, 1e-6);
    EXPECT_NEAR(w.Panels()[0].ddMM->Value(), 6.35f, 1e-5);

    modScales::ShowPosition(w, s.Record("Q"));  // no panel for Q: nothing changes
    EXPECT_NEAR(w.Panels()[0].ddInch->Value(), 0.25f, 1e-6);
    EXPECT_EQ(w.Panels()[1].ddInch->Value(), 0.0f);
    EXPECT_EQ(w.Panels()[1].AnalogueDial_->Value(), 0.0f);
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
