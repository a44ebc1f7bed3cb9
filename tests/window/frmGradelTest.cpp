// The main window: its controls and menus as designed, start-up, panel layout, key routing,
// label clicks and frame double-clicks.
#include <gtest/gtest.h>

#include <QAction>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolTip>
#include <optional>
#include <string>
#include <vector>

#include "SettingsSandbox.h"
#include "controls/AnalogueDial.h"
#include "controls/DigitalDial.h"
#include "window/clsIniFile.h"
#include "window/frmGradel.h"
#include "window/winsys/Tag.h"
#include "window/winsys/Twips.h"

namespace {

using gradel::Twips::FromPx;

// The window with its later-filled places replaced by recorders, so that what the window
// itself does (order of start-up, what reaches the key handler) can be observed.
class ProbeWindow : public frmGradel {
  public:
    std::vector<std::string> calls;
    std::vector<std::pair<int, int>> keys;  // (code, shift) as HandleKey received them
    bool consumeKeys = false;
    std::vector<QString> portsFound;  // captions CheckComports adds after "Com1"

    void InitMenu() override { calls.push_back("InitMenu"); }
    void HandleKey(int& KeyCode, int Shift) override {
        calls.push_back("HandleKey");
        keys.emplace_back(KeyCode, Shift);
        if (consumeKeys) KeyCode = 0;
    }
    void CheckComports() override {
        calls.push_back(SC ? "CheckComports" : "CheckComports without SC");
        for (const QString& caption : portsFound) {
            QAction* a = mnuPort->addAction(caption);
            a->setCheckable(true);
            mnuComPort.push_back(a);
        }
    }
    void TogglePort(int16_t n) override {
        int ticked = 0;
        for (QAction* a : mnuComPort) ticked += a->isChecked();
        calls.push_back("TogglePort " + std::to_string(n) + " ticked " + std::to_string(ticked));
    }
    void RemovePanel(const QString& key) override {
        calls.push_back("RemovePanel " + key.toStdString());
    }
};

QRectF TwipsOf(const QWidget* w) {
    const QRect g = w->geometry();
    return {FromPx(g.x()), FromPx(g.y()), FromPx(g.width()), FromPx(g.height())};
}

QString Caption(const QWidget* w) {
    if (auto* l = qobject_cast<const QLabel*>(w)) return l->text();
    if (auto* b = qobject_cast<const QPushButton*>(w)) return b->text();
    if (auto* g = qobject_cast<const QGroupBox*>(w)) return g->title();
    return QString();
}

enum : unsigned { kHidden = 1, kDisabled = 2, kOwnEnabled = 4, kCheckable = 8 };

// One control as designed; a label with a point size is a bold tip-coloured boxed label.
struct ControlRow {
    std::string name;
    const QWidget* widget;
    const QWidget* container;
    QString caption;
    QRectF twips;
    unsigned flags = 0;
    int labelPoints = 0;
    QString toolTip = QString();
};

void ExpectRow(const ControlRow& r) {
    SCOPED_TRACE(r.name);
    ASSERT_NE(r.widget, nullptr);
    EXPECT_EQ(r.widget->parentWidget(), r.container);
    EXPECT_EQ(Caption(r.widget), r.caption);
    EXPECT_EQ(TwipsOf(r.widget), r.twips);
    EXPECT_EQ(r.widget->isHidden(), (r.flags & kHidden) != 0);
    if (!(r.flags & kOwnEnabled)) {
        EXPECT_EQ(r.widget->isEnabled(), !(r.flags & kDisabled));
    }
    EXPECT_EQ(r.widget->toolTip(), r.toolTip);
    if (auto* b = qobject_cast<const QPushButton*>(r.widget)) {
        EXPECT_EQ(b->isCheckable(), (r.flags & kCheckable) != 0);
        EXPECT_FALSE(b->isChecked());
    }
    if (r.labelPoints == 0) return;
    EXPECT_EQ(r.widget->font().family(), "MS Sans Serif");
    EXPECT_EQ(r.widget->font().pointSize(), r.labelPoints);
    EXPECT_TRUE(r.widget->font().bold());
    auto* l = qobject_cast<const QLabel*>(r.widget);
    ASSERT_NE(l, nullptr);
    EXPECT_TRUE(l->autoFillBackground());
    EXPECT_EQ(l->palette().color(QPalette::Window),
              QToolTip::palette().color(QPalette::ToolTipBase));
    EXPECT_EQ(l->frameShape(), QFrame::Box);
    EXPECT_EQ(l->lineWidth(), 1);
}

std::vector<ControlRow> PanelRows(AxisPanel& p, QWidget* client, int i) {
    const std::string n = "(" + std::to_string(i) + ")";
    const QWidget* b = p.fraButtons;
    const QString adj = "drag to adjust current reading (left button slow, right button fast)";
    const QString absTip = "Selects Absolute setting", x2 = "Selects Times two (diameter) mode";
    return {
        {"fraAxis" + n, p.fraAxis, client, "Axis frame", {1560, 0, 6375, 1455}, kHidden},
        {"labAxis" + n, p.labAxis, p.fraAxis, "X", {120, 240, 735, 615}, 0, 24},
        {"ddMM" + n, p.ddMM, p.fraAxis, "", {960, 240, 1695, 615}, kOwnEnabled},
        {"ddInch" + n, p.ddInch, p.fraAxis, "", {2760, 240, 1695, 615}, kOwnEnabled},
        {"AnalogueDial" + n, p.AnalogueDial_, p.fraAxis, "", {4560, 240, 1695, 1095}},
        {"fraButtons" + n, p.fraButtons, p.fraAxis, "", {960, 960, 3495, 255}},
        {"cmdRS" + n, p.cmdRS, b, "Reset Rel", {0, 0, 855, 255}, kDisabled},
        {"cmdAdj" + n, p.cmdAdj, b, "Adj", {1200, 0, 495, 255}, 0, 0, adj},
        {"chkABS" + n, p.chkABS, b, "ABS", {1800, 0, 495, 255}, kCheckable, 0, absTip},
        {"chkX2" + n, p.chkX2, b, "X2", {2400, 0, 495, 255}, kCheckable | kDisabled, 0, x2},
        {"chkREV" + n, p.chkREV, b, "Rev", {3000, 0, 495, 255}, kCheckable, 0, "Reverses reading"},
    };
}

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override { gradel::testing::SettingsSandbox::Clear(App()); }
    static QString App() { return gradel::clsIniFile::ExecutableName(); }
    static void SavePort(const QString& text) {
        gradel::clsIniFile ini;
        ini.SaveIni("Comms", "port", text);
    }
};

TEST_F(WindowTest, ControlsAreAsDesigned) {
    ProbeWindow w;
    std::vector<ControlRow> rows = {
        {"fraFunc(0)", w.fraFunc[0], w.client, "", {0, 0, 1455, 6615}},
        {"fraFunc(1)", w.fraFunc[1], w.client, "", {8040, 0, 1455, 6615}},
        {"lstGradels", &w.lstGradels(), w.client, "", {1560, 5640, 6375, 840}, kHidden},
    };
    for (int i = 0; i < 12; ++i) {
        rows.push_back({"labFunc(" + std::to_string(i) + ")", w.labFunc(i),
                        w.fraFunc[i < 6 ? 0 : 1], QStringLiteral("F%1").arg(i + 1),
                        QRectF(120, 240 + 1080 * (i % 6), 1215, 855), 0, 12});
    }
    ASSERT_EQ(w.Panels().size(), 1u);
    for (const ControlRow& r : PanelRows(w.Panels()[0], w.client, 0)) rows.push_back(r);
    // A copy made at run time is the template again.
    w.NewPanel();
    ASSERT_EQ(w.Panels().size(), 2u);
    for (const ControlRow& r : PanelRows(w.Panels()[1], w.client, 1)) rows.push_back(r);

    for (const ControlRow& r : rows) ExpectRow(r);
    EXPECT_EQ(w.labFuncCount(), 12);
    EXPECT_EQ(w.labFunc(12), nullptr);
    EXPECT_EQ(w.lstGradels().count(), 0);
    EXPECT_EQ(gradel::Tag(w.Panels()[0].fraAxis), "");
    EXPECT_TRUE(w.Timer1.isActive());
    EXPECT_EQ(w.Timer1.interval(), 100);
}

TEST_F(WindowTest, WindowIsFixedUntitledSizeAndCentred) {
    ProbeWindow w;
    w.show();
    EXPECT_EQ(w.windowTitle(), "Gradel Display");
    EXPECT_EQ(FromPx(w.client->width()), 9510);
    EXPECT_EQ(FromPx(w.client->height()), 6600);
    EXPECT_EQ(w.client->mapTo(&w, QPoint(0, 0)).y(), w.menuBar()->height());
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_EQ(w.size(), w.minimumSize());
    const Qt::WindowFlags f = w.windowFlags();
    EXPECT_FALSE(f & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(f & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(f & Qt::WindowCloseButtonHint);
    const QPoint centre = w.screen()->geometry().center();
    EXPECT_LE(std::abs(w.frameGeometry().center().x() - centre.x()), 1);
    EXPECT_LE(std::abs(w.frameGeometry().center().y() - centre.y()), 1);
}

struct MenuRow {
    const char* name;
    QMenu* menu;  // the File menu's and the pop-ups' entries are listed in their order
    QAction* action;
    QString text;  // "" for a separator
    bool visible;
    bool checked = false;
    std::optional<int> data = std::nullopt;
};

TEST_F(WindowTest, MenusAreAsDesigned) {
    ProbeWindow w;
    // The bar: File, Comport, Demo shown; View there but hidden and disabled.
    const QList<QAction*> bar = w.menuBar()->actions();
    ASSERT_EQ(bar.size(), 4);
    const QMenu* menus[] = {w.mnuFile, w.mnuPort, w.mnuDemo, w.mnuView};
    const char* titles[] = {"&File", "&Comport", "&Demo", "&View"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(bar[i], menus[i]->menuAction());
        EXPECT_EQ(bar[i]->text(), titles[i]);
        EXPECT_EQ(bar[i]->isVisible(), i < 3);
        EXPECT_EQ(bar[i]->isEnabled(), i < 3);
    }
    QMenu *F = w.mnuFile, *P = w.mnuPort, *D = w.mnuDemo, *V = w.mnuView;
    QMenu *A = w.mnuPopupAnalogue, *I = w.mnuPopupInch, *M = w.mnuPopupMM;
    const MenuRow rows[] = {
        {"mnuFileSpeed(0)", F, w.mnuFileSpeed[0], "&Slow", false},
        {"mnuFileSpeed(1)", F, w.mnuFileSpeed[1], "&Fast", false, true},
        {"mnusep", F, w.mnusep, "", false},
        {"mnuFileType(0)", F, w.mnuFileType[0], "&Hex ", false},
        {"mnuFileType(1)", F, w.mnuFileType[1], "&Decimal", false},
        {"mnuFileType(2)", F, w.mnuFileType[2], "&Auto", false},
        {"mnusep1", F, w.mnusep1, "", false},
        {"mnuFileExit", F, w.mnuFileExit, "E&xit", true},
        {"mnuComPort(0)", P, w.mnuComPort.at(0), "Com1", true},
        {"mnuDemoAdd(0)", D, w.mnuDemoAdd[0], "Add &X scale", true},
        {"mnuDemoAdd(1)", D, w.mnuDemoAdd[1], "Add &Y scale", true},
        {"mnuDemoRemove(0)", D, w.mnuDemoRemove[0], "Remove X scale", true},
        {"mnuDemoRemove(1)", D, w.mnuDemoRemove[1], "Remove Y Scale", true},
        {"mnuViewPanel(0)", V, w.mnuViewPanel[0], "&millimetre", true, true},
        {"mnuViewPanel(1)", V, w.mnuViewPanel[1], "&Inch", true, true},
        {"mnuViewPanel(2)", V, w.mnuViewPanel[2], "&Analogue Inch", true, true},
        {"mnuPopupAnalogueCopy", A, w.mnuPopupAnalogueCopy, "&Copy (Analogue)", true},
        {"mnuPopupDivisions(0)", A, w.mnuPopupDivisions[0], "&16ths", true, false, 16},
        {"mnuPopupDivisions(1)", A, w.mnuPopupDivisions[1], "&32nds", true, false, 32},
        {"mnuPopupDivisions(2)", A, w.mnuPopupDivisions[2], "&64ths", true, true, 64},
        {"mnuPopupInchCopy", I, w.mnuPopupInchCopy, "&Copy (Inch)", true},
        {"mnuPopupMMCopy", M, w.mnuPopupMMCopy, "&Copy (mm)", true},
    };
    for (const MenuRow& r : rows) {
        SCOPED_TRACE(r.name);
        ASSERT_NE(r.action, nullptr);
        EXPECT_EQ(r.action->text(), r.text);
        EXPECT_EQ(r.action->isSeparator(), r.text.isEmpty());
        EXPECT_TRUE(r.menu->actions().contains(r.action));
        EXPECT_EQ(r.action->isVisible(), r.visible);
        EXPECT_EQ(r.action->isEnabled(), r.visible);  // hidden entries cannot be chosen
        EXPECT_EQ(r.action->isChecked(), r.checked);
        if (r.data) {
            EXPECT_EQ(r.action->data().toInt(), *r.data);
        }
    }
    EXPECT_EQ(w.mnuComPort.size(), 1u);
    // Entries in order; the pop-ups are never on the bar.
    const std::pair<QMenu*, const char*> ordered[] = {
        {F, "&File"}, {A, "Popup1"}, {I, "Popup2"}, {M, "Popup3"}};
    for (auto [menu, title] : ordered) {
        QList<QAction*> expected;
        for (const MenuRow& r : rows) {
            if (r.menu == menu) expected.push_back(r.action);
        }
        EXPECT_EQ(menu->actions(), expected) << title;
        EXPECT_EQ(menu->title(), title);
        EXPECT_EQ(bar.contains(menu->menuAction()), menu == F) << title;
    }
}

TEST_F(WindowTest, ViewEntryFlipsItsTickOnceAndShowsOrHidesTheTemplateReadout) {
    ProbeWindow w;
    AxisPanel& p = w.Panels()[0];
    const QWidget* shown[] = {p.ddMM, p.ddInch, p.AnalogueDial_};
    for (int k = 0; k < 3; ++k) {
        w.mnuViewPanel[k]->trigger();  // as if chosen (the menu itself cannot be reached)
        EXPECT_FALSE(w.mnuViewPanel[k]->isChecked()) << k;
        for (int j = 0; j < 3; ++j) EXPECT_EQ(shown[j]->isHidden(), j <= k) << k << j;
    }
    w.mnuViewPanel[1]->trigger();
    EXPECT_TRUE(w.mnuViewPanel[1]->isChecked());
    EXPECT_FALSE(p.ddInch->isHidden());
}

// ---- Start-up ----

TEST_F(WindowTest, SavedPortTextGivesAPortNumber) {
    const std::pair<const char*, int> cases[] = {
        {"0", 0},          {"", 0},
        {"Comm 3", 3},     {"Comm 16", 16},
        {"Com1", 1},       {"Comm 2.5", 2},
        {"Comm 3.5", 4},   {"Comm -4", -4},
        {"junk", 0},       {"Comm 32767", 32767},
        {"Comm 32768", 0}, {"Comm 99999", 0},
        {"Comm 1e5", 15},
    };
    for (auto [text, n] : cases) EXPECT_EQ(frmGradel::SavedPortNumber(text), n) << text;
}

TEST_F(WindowTest, StartUpRunsItsStepsInOrderWithTheSavedPort) {
    struct Case {
        std::optional<QString> saved;
        std::vector<QString> ports;
        std::string toggle;
        std::vector<bool> ticks;
    } cases[] = {
        {std::nullopt, {"Comm 3"}, "TogglePort 0 ticked 0", {false, false}},
        {"0", {"Comm 3"}, "TogglePort 0 ticked 0", {false, false}},
        {"Comm 3",
         {"Comm 2", "Comm 3", "Comm 5"},
         "TogglePort 3 ticked 0",
         {false, false, true, false}},
        {"Comm 3", {"Comm 5"}, "TogglePort 3 ticked 0", {false, false}},  // port 3 absent
        {"Comm 1", {}, "TogglePort 1 ticked 0", {true}},                  // "Com1" reads as port 1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.saved.value_or("(none)").toStdString());
        gradel::testing::SettingsSandbox::Clear(App());
        if (c.saved) SavePort(*c.saved);
        ProbeWindow w;
        w.portsFound = c.ports;
        EXPECT_EQ(w.SC, nullptr);
        w.Load();
        ASSERT_NE(w.SC, nullptr);
        EXPECT_EQ(w.calls, (std::vector<std::string>{"CheckComports", "InitMenu", c.toggle}));
        ASSERT_EQ(w.mnuComPort.size(), c.ticks.size());
        for (std::size_t i = 0; i < c.ticks.size(); ++i) {
            EXPECT_EQ(w.mnuComPort[i]->isChecked(), c.ticks[i]) << i;
        }
        // Nothing is written at start.
        EXPECT_EQ(gradel::clsIniFile().GetIni("Comms", "port", "missing"),
                  c.saved.value_or("missing"));
    }
}

// ---- Panel layout ----

TEST_F(WindowTest, ResizeFormStacksShownPanelsInDirectoryOrder) {
    struct Case {
        std::vector<int> directory;
        std::vector<std::pair<int, int>> tops;  // (panel, top in twips)
    } cases[] = {
        {{2, 0, 1}, {{2, 0}, {0, 1455}, {1, 2910}}},
        {{1}, {{1, 0}}},
        {{0, 1, 2}, {{0, 0}, {1, 1455}, {2, 2910}}},
        {{1, 7, -1, 0}, {{1, 0}, {0, 1455}}},  // entries naming no panel are passed over
    };
    for (const Case& c : cases) {
        ProbeWindow w;
        w.NewPanel();
        w.NewPanel();
        for (AxisPanel& p : w.Panels()) gradel::Twips::Place(p.fraAxis, 1560, 4000, 6375, 1455);
        for (int p : c.directory) {
            auto* item = new QListWidgetItem(QStringLiteral("K%1").arg(p), &w.lstGradels());
            item->setData(Qt::UserRole, p);
        }
        w.Resize_form();
        for (auto [panel, top] : c.tops) {
            EXPECT_EQ(TwipsOf(w.Panels()[panel].fraAxis), QRectF(1560, top, 6375, 1455))
                << "panel " << panel;
        }
        EXPECT_EQ(w.calls, std::vector<std::string>{"InitMenu"});
    }
}

// ---- Keys, clicks, double-clicks ----

// Records, in one log with the window, when a control sees a key press.
class KeySpy : public QObject {
  public:
    KeySpy(QObject* target, std::vector<std::string>& log) : log_(log) {
        target->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::KeyPress) log_.push_back("control");
        return false;
    }

  private:
    std::vector<std::string>& log_;
};

TEST_F(WindowTest, KeyPressOnAPanelButtonReachesHandleKeyFirstAndOnce) {
    ProbeWindow w;
    AxisPanel& p = w.NewPanel();
    p.fraAxis->show();
    w.show();
    KeySpy spy(p.chkABS, w.calls);
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        int code, shift;
    } cases[] = {
        {Qt::Key_F7, Qt::NoModifier, 118, 0},
        {Qt::Key_F1, Qt::ShiftModifier, 112, 1},
        {Qt::Key_F12, Qt::ControlModifier | Qt::AltModifier, 123, 6},
        {Qt::Key_A, Qt::NoModifier, 65, 0},
        {Qt::Key_5, Qt::NoModifier, 53, 0},
    };
    for (const Case& c : cases) {
        w.calls.clear();
        w.keys.clear();
        QTest::keyClick(p.chkABS, c.key, c.mods);
        // Modifier keys arrive as key presses of their own first.
        std::vector<std::pair<int, int>> main;
        for (auto k : w.keys) {
            if (k.first < 16 || k.first > 18) main.push_back(k);
        }
        // F-keys are ignored by the button and travel up through its parents: still one call.
        EXPECT_EQ(main, (std::vector<std::pair<int, int>>{{c.code, c.shift}})) << c.code;
        std::vector<std::string> order;
        for (std::size_t i = 0; i < w.keys.size(); ++i) {
            order.insert(order.end(), {"HandleKey", "control"});
        }
        EXPECT_EQ(w.calls, order) << c.code;
    }
    // A key the handler consumes never reaches the control.
    for (bool consume : {true, false}) {
        w.consumeKeys = consume;
        AxisPanel::SetValue(p.chkABS, 0);
        QTest::keyClick(p.chkABS, Qt::Key_Space);
        EXPECT_EQ(AxisPanel::Value(p.chkABS), consume ? 0 : 1) << consume;
    }
    // Keys of other windows are not previewed.
    w.keys.clear();
    QPushButton other("elsewhere");
    other.show();
    QTest::keyClick(&other, Qt::Key_F7);
    EXPECT_TRUE(w.keys.empty());
}

TEST_F(WindowTest, ClickOnAFunctionLabelActsAsItsKey) {
    ProbeWindow w;
    w.show();
    for (int i = 0; i < 12; ++i) {
        w.keys.clear();
        QTest::mouseClick(w.labFunc(i), Qt::LeftButton);
        EXPECT_EQ(w.keys, (std::vector<std::pair<int, int>>{{112 + i, 0}})) << i;
    }
    // labFunc(6) and the key F7 give the same call.
    w.keys.clear();
    QTest::mouseClick(w.labFunc(6), Qt::LeftButton);
    QTest::keyClick(w.labFunc(6), Qt::Key_F7);
    ASSERT_EQ(w.keys.size(), 2u);
    EXPECT_EQ(w.keys[0], w.keys[1]);
    // Other buttons do not click.
    w.keys.clear();
    QTest::mouseClick(w.labFunc(6), Qt::RightButton);
    EXPECT_TRUE(w.keys.empty());
}

TEST_F(WindowTest, DoubleClickOnAPanelFrameRemovesItsPanel) {
    ProbeWindow w;
    AxisPanel& p = w.NewPanel();
    gradel::SetTag(p.fraAxis, "Y");
    p.fraAxis->show();
    w.show();
    QTest::mouseDClick(p.labAxis, Qt::LeftButton);  // a control of the frame: not the frame
    EXPECT_TRUE(w.calls.empty());
    QTest::mouseDClick(p.fraAxis, Qt::LeftButton, {}, QPoint(4, p.fraAxis->height() - 4));
    EXPECT_EQ(w.calls, std::vector<std::string>{"RemovePanel Y"});
}

}  // namespace
