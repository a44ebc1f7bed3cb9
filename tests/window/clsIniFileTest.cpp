// The settings store: where values live, defaults, round trips, window positions and the error
// dialogs of its guarded procedures.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "SettingsSandbox.h"
#include "tests/support/ScriptedErrorDialog.h"
#include "window/clsIniFile.h"
#include "window/winsys/Twips.h"

namespace {

using gradel::clsIniFile;
using gradel::ErrorAnswer;
using gradel::IPlacedWindow;
using gradel::RunTimeError;
using gradel::testing::g_settingsSandbox;
using gradel::testing::ScriptedErrorDialog;
using gradel::testing::SettingsSandbox;

const QString kApp = QStringLiteral("GradelIniTest");

struct Moved {
    double left, top;
    std::optional<double> width, height;
    bool operator==(const Moved&) const = default;
};

// A window that records its moves and can be told to fail in named accessors.
class FakeWindow : public IPlacedWindow {
  public:
    QString name = QStringLiteral("frmTest");
    double left = 0, top = 0, width = 0, height = 0;
    std::set<std::string> failing;  // accessors that raise a fault
    int failuresLeft = 1000;        // how many faults they raise in all
    std::vector<Moved> moves;

    QString Name() const override { return Check("Name"), name; }
    double Left() const override { return Check("Left"), left; }
    double Top() const override { return Check("Top"), top; }
    double Width() const override { return Check("Width"), width; }
    double Height() const override { return Check("Height"), height; }
    void Move(double l, double t, std::optional<double> w, std::optional<double> h) override {
        Check("Move");
        moves.push_back({l, t, w, h});
        left = l;
        top = t;
        if (w) width = *w;
        if (h) height = *h;
    }

  private:
    void Check(const std::string& what) const {
        if (failing.count(what) && failuresLeft > 0) {
            --const_cast<FakeWindow*>(this)->failuresLeft;
            throw RunTimeError::InvalidCall();
        }
    }
};

class IniFileTest : public ::testing::Test {
  protected:
    void SetUp() override { SettingsSandbox::Clear(kApp); }
    ScriptedErrorDialog dialog;
    clsIniFile ini{kApp, dialog};
};

TEST_F(IniFileTest, GetIniGivesTheDefaultOnlyWhenNothingIsStored) {
    ini.SaveIni("Comms", "port", "Comm 3");
    ini.SaveIni("Comms", "empty", "");
    struct Case {
        const char *section, *key;
        std::optional<QString> def;
        QString expected;
    } cases[] = {
        {"Comms", "port", QStringLiteral("0"), QStringLiteral("Comm 3")},
        {"Comms", "missing", QStringLiteral("0"), QStringLiteral("0")},
        {"Comms", "missing", std::nullopt, QString()},
        {"Other", "port", QStringLiteral("0"), QStringLiteral("0")},  // sections are separate
        {"Comms", "empty", QStringLiteral("0"), QString()},           // stored "" is a value
        {"", "port", QStringLiteral("d"), QStringLiteral("d")},       // faults give the default
        {"Comms", "", QStringLiteral("d"), QStringLiteral("d")},
    };
    for (const auto& c : cases) {
        const QString got =
            c.def ? ini.GetIni(c.section, c.key, *c.def) : ini.GetIni(c.section, c.key);
        EXPECT_EQ(got, c.expected) << c.section << "/" << c.key;
    }
    EXPECT_TRUE(dialog.reports.empty());
}

TEST_F(IniFileTest, SavedTextsComeBackUnchanged) {
    const QString values[] = {"Comm 3", "600,450,900,700", "&Hex ", " lead", "a=b;c", "ünï", ""};
    for (const QString& v : values) {
        ini.SaveIni("Files", "value", v);
        EXPECT_EQ(ini.GetIni("Files", "value", "default"), v);
        // Overwriting leaves no trace of the earlier value.
        ini.SaveIni("Files", "value", "x");
        EXPECT_EQ(ini.GetIni("Files", "value"), "x");
    }
}

TEST_F(IniFileTest, StoreLivesInTheUserConfigFolderUnderTheApplicationName) {
    ini.SaveIni("Comms", "port", "Comm 3");
    QFile f(g_settingsSandbox.File(kApp));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << f.fileName().toStdString();
    const QString text = QString::fromUtf8(f.readAll());
    EXPECT_TRUE(text.contains("[Comms]\nport=Comm 3\n")) << text.toStdString();
    // Another application name has its own settings.
    clsIniFile other(kApp + "2", dialog);
    EXPECT_EQ(other.GetIni("Comms", "port", "0"), "0");
}

TEST_F(IniFileTest, HandWrittenListIsReadAsItsText) {
    QFile f(g_settingsSandbox.File(kApp));
    QDir().mkpath(QFileInfo(f).absolutePath());  // run alone, nothing has made the folder yet
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Forms]\nfrmTest=1,2,3,4\n");
    f.close();
    EXPECT_EQ(ini.GetIni("Forms", "frmTest"), "1,2,3,4");
}

TEST_F(IniFileTest, SaveIniWithoutSectionOrKeyIsAFaultForTheCaller) {
    for (auto [section, key] : {std::pair{"", "k"}, std::pair{"s", ""}}) {
        try {
            ini.SaveIni(section, key, "v");
            ADD_FAILURE() << "no fault for '" << section << "'/'" << key << "'";
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.Number(), 5);
        }
    }
}

TEST_F(IniFileTest, DataBaseFileReadsAndStoresItsText) {
    EXPECT_EQ(ini.DataBaseFile().toString(), "");
    ini.SetDataBaseFile(QStringLiteral("C:\\data\\parts.mdb"));
    EXPECT_EQ(ini.GetIni("Files", "DataBaseFile"), "C:\\data\\parts.mdb");
    ini.SetDataBaseFile(42);  // a value's text form is stored
    clsIniFile fresh(kApp, dialog);
    EXPECT_EQ(fresh.DataBaseFile().toString(), "42");
}

TEST_F(IniFileTest, MoveToReadsFourFieldsAndIgnoresShortTexts) {
    struct Case {
        const char* text;
        std::optional<Moved> expected;
    } cases[] = {
        {"0,0,0,0", Moved{0, 0, 0.0, 0.0}},
        {"600,450,900,700", Moved{600, 450, 900.0, 700.0}},
        {"1,2,3", std::nullopt},                       // fewer than 7 characters
        {"1,2,3,", std::nullopt},                      // 6 characters
        {"100,200,300", Moved{100, 200, 300.0, 0.0}},  // no fourth field: height 0
        {"1.5,-2,x,7", Moved{1.5, -2, 0.0, 7.0}},      // unreadable field: 0
        {"1,2,3,4,5", Moved{1, 2, 3.0, 4.0}},          // the rest's leading number
        {" 12 , 3x,&H10,7", Moved{12, 3, 16.0, 7.0}},
    };
    for (const auto& c : cases) {
        FakeWindow w;
        ini.MoveTo(c.text, w);
        if (c.expected) {
            ASSERT_EQ(w.moves.size(), 1u) << c.text;
            EXPECT_EQ(w.moves[0], *c.expected) << c.text;
        } else {
            EXPECT_TRUE(w.moves.empty()) << c.text;
        }
    }
    EXPECT_TRUE(dialog.reports.empty());
}

TEST_F(IniFileTest, PositionTextUsesTheGeneralNumberForm) {
    struct Case {
        double l, t, w, h;
        const char* text;
    } cases[] = {
        {600, 450, 900, 700, "600,450,900,700"},
        {0, -15, 12.5, 0.25, "0,-15,12.5,0.25"},
        {1234567, 0.1, 1e7, 1.5e-5, "1234567,0.1,1E+07,1.5E-05"},
    };
    for (const auto& c : cases) {
        FakeWindow w;
        w.left = c.l, w.top = c.t, w.width = c.w, w.height = c.h;
        EXPECT_EQ(ini.strPosition(w), c.text);
        ini.SavePosition(w);
        EXPECT_EQ(ini.GetIni("Forms", "frmTest"), c.text);
    }
}

TEST_F(IniFileTest, RepositionCentresAWindowNeverSaved) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const double sw = gradel::Twips::FromPx(screen.width());
    const double sh = gradel::Twips::FromPx(screen.height());
    FakeWindow w;
    w.left = 15, w.top = 30, w.width = 901, w.height = 700;
    ini.Reposition(w);
    ASSERT_EQ(w.moves.size(), 1u);
    EXPECT_EQ(w.moves[0], (Moved{(sw - 901) / 2, (sh - 700) / 2, std::nullopt, std::nullopt}));
    EXPECT_EQ(w.width, 901);  // size kept
}

TEST_F(IniFileTest, WidgetPositionsRoundTripInTwips) {
    QWidget widget;
    widget.setObjectName("frmWidget");
    gradel::Twips::Place(&widget, 600, 450, 900, 705);
    gradel::WidgetPlacement placed(&widget);
    EXPECT_EQ(placed.Name(), "frmWidget");
    ini.SavePosition(placed);
    EXPECT_EQ(ini.GetIni("Forms", "frmWidget"), "600,450,900,705");
    gradel::Twips::Place(&widget, 0, 0, 300, 300);
    ini.Reposition(placed);
    EXPECT_EQ(widget.geometry(), gradel::Twips::ToPx(600, 450, 900, 705));
}

// Each guarded procedure reports its own faults under its own name.
TEST_F(IniFileTest, FaultsShowTheStandardDialogWithTheProcedureName) {
    struct Case {
        const char* procedure;
        const char* failing;  // accessor of the window that fails
        std::function<void(clsIniFile&, FakeWindow&)> run;
    } cases[] = {
        {"MoveTo", "Move", [](clsIniFile& i, FakeWindow& w) { i.MoveTo("1,2,3,4", w); }},
        {"strPosition", "Left", [](clsIniFile& i, FakeWindow& w) { i.strPosition(w); }},
        {"SavePosition", "Name", [](clsIniFile& i, FakeWindow& w) { i.SavePosition(w); }},
        {"Reposition", "Width", [](clsIniFile& i, FakeWindow& w) { i.Reposition(w); }},
        // A store fault (no key to save under) reaches SavePosition's trap.
        {"SavePosition", "",
         [](clsIniFile& i, FakeWindow& w) {
             w.name = "";
             i.SavePosition(w);
         }},
    };
    for (const auto& c : cases) {
        ScriptedErrorDialog d;  // answers Abort
        clsIniFile store(kApp, d);
        FakeWindow w;
        w.failing = {c.failing};
        c.run(store, w);
        ASSERT_EQ(d.reports.size(), 1u) << c.procedure;
        EXPECT_EQ(d.reports[0].Text(), std::string("The following error occurred in\r\n"
                                                   "module clsIniFile, procedure ") +
                                           c.procedure +
                                           "\r\n\r\nError Number 5\r\n"
                                           "(Invalid procedure call or argument.)");
        EXPECT_TRUE(w.moves.empty()) << c.procedure;
    }
}

TEST_F(IniFileTest, AnswersAbortRetryAndIgnoreActAsChosen) {
    // strPosition: Abort gives ""; Retry after one fault gives the full text.
    FakeWindow w;
    w.left = 1, w.top = 2, w.width = 3, w.height = 4;
    w.failing = {"Top"};
    w.failuresLeft = 1;
    EXPECT_EQ(ini.strPosition(w), "");
    w.failuresLeft = 1;
    dialog.Script({ErrorAnswer::Retry});
    EXPECT_EQ(ini.strPosition(w), "1,2,3,4");

    // Reposition: Ignore on the failed centring goes on (nothing moved); Retry moves it.
    FakeWindow r;
    r.width = 100, r.height = 100;
    r.failing = {"Width"};
    r.failuresLeft = 1;
    dialog.Script({ErrorAnswer::Ignore});
    ini.Reposition(r);
    EXPECT_TRUE(r.moves.empty());
    r.failuresLeft = 1;
    dialog.Script({ErrorAnswer::Retry});
    ini.Reposition(r);
    EXPECT_EQ(r.moves.size(), 1u);
    EXPECT_EQ(dialog.reports.size(), 4u);
}

}  // namespace
