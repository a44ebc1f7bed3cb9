// The main window's serial side with a fake port: start-up with the remembered port, the
// controller's box commands, the hidden Speed and Type entries, the Demo menu, received text,
// the clear-to-send line, a failing device, and closing while a port switch waits.
#include <gtest/gtest.h>

#include <QAction>
#include <QMessageBox>
#include <QTimer>

#include "tests/window/FakeSerialPort.h"
#include "tests/window/SettingsSandbox.h"
#include "window/ComportMenu.h"
#include "window/SerialLink.h"
#include "window/clsIniFile.h"
#include "window/frmGradel.h"

using gradel::testing::FakeSerialPort;
using std::chrono::milliseconds;
using Steps = std::vector<std::string>;

namespace {

QString App() {
    return gradel::clsIniFile::ExecutableName();
}

// A window on a fake port whose table has ports 1 to 3 (/dev/null and /dev/zero stand in for
// serial devices: the fake never opens them).
struct WindowRig {
    frmGradel w;
    FakeSerialPort* port = nullptr;

    explicit WindowRig(std::optional<QString> saved = std::nullopt, bool load = true) {
        gradel::testing::SettingsSandbox::Clear(App());
        if (saved) gradel::clsIniFile().SaveIni("Comms", "port", *saved);
        auto fake = std::make_unique<FakeSerialPort>();
        port = fake.get();
        w.SetSerialPort(std::move(fake), PortTable({"/dev/null", "/dev/zero", "/dev/full"}));
        w.Link().SetIdentifyPause(milliseconds(20));
        if (load) w.Load();
    }
    QString Saved() const { return gradel::clsIniFile().GetIni("Comms", "port", "(none)"); }
    QStringList Ticked() const {
        QStringList out;
        for (QAction* a : w.mnuComPort)
            if (a->isChecked()) out << a->text();
        return out;
    }
    std::size_t Mark() const { return port->steps.size(); }
    Steps From(std::size_t first) const {
        Steps all = port->Steps();
        return Steps(all.begin() + static_cast<std::ptrdiff_t>(first), all.end());
    }
};

const Steps kOpenAndIdentify = {"dtr 0", "rts 1", "discard", "write I0", "write I0"};

Steps Opened(const std::string& device) {
    Steps s{"open " + device};
    s.insert(s.end(), kOpenAndIdentify.begin(), kOpenAndIdentify.end());
    return s;
}

}  // namespace

TEST(SerialWindow, StartUpOpensTheRememberedPortAndTicksItWithoutSavingAnything) {
    struct Case {
        std::optional<QString> saved;
        Steps steps;
        QStringList ticked;
    };
    const Case cases[] = {
        {std::nullopt, {}, {}},
        {"0", {}, {}},
        {"Comm 2", Opened("/dev/zero"), {"Comm 2"}},
        {"Comm 9", {}, {}},  // no such port: reported, nothing ticked
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.saved.value_or("(none)").toStdString());
        WindowRig rig(c.saved);
        EXPECT_EQ(rig.w.mnuComPort.size(), 3u);
        EXPECT_EQ(rig.port->Steps(), c.steps);
        EXPECT_EQ(rig.Ticked(), c.ticked);
        EXPECT_EQ(rig.w.PortOpen(), !c.steps.empty());
        EXPECT_EQ(rig.Saved(), c.saved.value_or("(none)"));
    }
}

TEST(SerialWindow, TheSimulatedBoxIsOpenedInsteadOfTheRememberedPortWhichStays) {
    WindowRig rig("Comm 2", false);
    rig.w.UseSimulatedBox("/dev/ptmx");
    rig.w.Load();
    EXPECT_EQ(rig.port->Steps(), Opened("/dev/ptmx"));
    EXPECT_EQ(rig.w.mnuComPort.size(), 4u);
    EXPECT_EQ(rig.w.mnuComPort[0]->toolTip(), "/dev/ptmx");
    EXPECT_EQ(rig.Saved(), "Comm 2");
}

TEST(SerialWindow, BoxCommandsGoOutOnlyWhileThePortIsOpen) {
    struct Case {
        bool open;
        std::string message;
        Steps written;
    };
    const Case cases[] = {
        {false, "I0", {}},          {false, "ZX", {}},
        {true, "ZX", {"write ZX"}}, {true, "I0", {"write I0", "write I0"}},
        {true, "S2", {"write S2"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        WindowRig rig(c.open ? std::optional<QString>("Comm 1") : std::nullopt);
        const std::size_t mark = rig.Mark();
        rig.w.SC_ScaleComms(c.message);
        EXPECT_EQ(rig.From(mark), c.written);
        const std::size_t mark2 = rig.Mark();
        rig.w.SendToBox(c.message);
        EXPECT_EQ(rig.From(mark2).empty(), !c.open);
    }
}

TEST(SerialWindow, HiddenSpeedAndTypeEntriesSendTheirCodesAsCharacters) {
    struct Case {
        bool speed;
        int index;
        std::string bytes;
    };
    const Case cases[] = {
        {true, 0, std::string{'S', '\x01'}},  {true, 1, std::string{'S', '\x02'}},
        {false, 0, std::string{'V', '\0'}},   {false, 1, std::string{'V', '\x01'}},
        {false, 2, std::string{'V', '\x02'}},
    };
    for (bool open : {true, false}) {
        WindowRig rig(open ? std::optional<QString>("Comm 1") : std::nullopt);
        for (const Case& c : cases) {
            const std::size_t mark = rig.Mark();
            const std::vector<QAction*> group =
                c.speed
                    ? std::vector<QAction*>(rig.w.mnuFileSpeed.begin(), rig.w.mnuFileSpeed.end())
                    : std::vector<QAction*>(rig.w.mnuFileType.begin(), rig.w.mnuFileType.end());
            group.at(static_cast<std::size_t>(c.index))->trigger();
            EXPECT_EQ(rig.From(mark), open ? Steps{"write " + c.bytes} : Steps{});
            // The chosen entry alone is ticked in its group.
            for (std::size_t k = 0; k < group.size(); ++k)
                EXPECT_EQ(group[k]->isChecked(), k == static_cast<std::size_t>(c.index)) << k;
        }
    }
}

TEST(SerialWindow, DemoEntriesFeedTheControllerOneMessageACallWithoutThePort) {
    WindowRig rig;
    std::vector<std::string> seen;  // event and what was still waiting in the controller
    auto comms = rig.w.SC->ScaleComms;
    rig.w.SC->ScaleComms = [&](const std::string& m) {
        seen.push_back("comms " + m + " [" + std::string(rig.w.SC->InputBuffer()) + "]");
        comms(m);
    };
    auto added = rig.w.SC->ScaleAdded;
    rig.w.SC->ScaleAdded = [&](gradel::clsGradel& s) {
        seen.push_back("added " + s.Key() + " [" + std::string(rig.w.SC->InputBuffer()) + "]");
        added(s);
    };
    auto removed = rig.w.SC->ScaleRemoved;
    rig.w.SC->ScaleRemoved = [&](const std::string& k) {
        seen.push_back("removed " + k);
        removed(k);
    };
    rig.w.mnuDemoAdd[0]->trigger();
    rig.w.mnuDemoAdd[1]->trigger();
    // Had the three texts gone in one call, the rest would still wait in the buffer here.
    EXPECT_EQ(seen,
              (std::vector<std::string>{"comms I0 []", "added X []", "comms I0 []", "added Y []"}));
    ASSERT_TRUE(rig.w.SC->Scales().Exists("X"));
    EXPECT_EQ(rig.w.SC->Scales().Item("X")->Unit(), "Inch");
    EXPECT_EQ(rig.w.SC->Scales().Item("Y")->ScaleType(), "Decimal");
    seen.clear();
    rig.w.mnuDemoRemove[0]->trigger();
    rig.w.mnuDemoRemove[0]->trigger();
    EXPECT_EQ(seen, std::vector<std::string>{"removed X"});
    EXPECT_TRUE(rig.w.SC->Scales().Exists("Y"));
    EXPECT_TRUE(rig.port->steps.empty());
}

TEST(SerialWindow, ReceivedTextReachesTheControllerUnchanged) {
    WindowRig rig("Comm 1");
    rig.w.mnuDemoAdd[0]->trigger();
    rig.port->Feed("X+01");
    EXPECT_EQ(rig.w.SC->InputBuffer(), "X+01");
    rig.port->Feed(".2500:");
    EXPECT_EQ(rig.w.SC->InputBuffer(), "");
    EXPECT_FLOAT_EQ(rig.w.SC->Scales().Item("X")->AbsValueInch(), 1.25f / 9);
}

TEST(SerialWindow, ClearToSendDropRemovesAllScalesAndItsReturnIdentifies) {
    WindowRig rig(std::nullopt, false);
    rig.port->cts = true;
    gradel::clsIniFile().SaveIni("Comms", "port", "Comm 1");
    rig.w.Load();
    rig.w.mnuDemoAdd[0]->trigger();
    rig.w.mnuDemoAdd[1]->trigger();
    ASSERT_EQ(rig.w.SC->Scales().Count(), 2);
    rig.port->cts = false;
    std::size_t mark = rig.Mark();
    rig.w.Timer1_Timer();
    EXPECT_EQ(rig.w.SC->Scales().Count(), 0);
    EXPECT_EQ(rig.From(mark), Steps{});
    rig.port->cts = true;
    mark = rig.Mark();
    rig.w.Timer1_Timer();
    EXPECT_EQ(rig.From(mark), (Steps{"write I0", "write I0"}));
}

TEST(SerialWindow, AFailingDeviceIsReportedWithoutBlockingAndItsEntryUnticked) {
    WindowRig rig("Comm 3");
    rig.w.mnuDemoAdd[0]->trigger();
    ASSERT_EQ(rig.Ticked(), QStringList{"Comm 3"});
    rig.port->Pull("Input/output error");
    rig.port->Pull("Input/output error");  // a second report of the same failure changes nothing
    EXPECT_FALSE(rig.w.PortOpen());
    EXPECT_TRUE(rig.Ticked().isEmpty());
    EXPECT_EQ(rig.w.SC->Scales().Count(), 0);
    auto* box = rig.w.findChild<QMessageBox*>("portNotice");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_FALSE(box->isModal());
    EXPECT_TRUE(box->text().contains("Comm 3")) << box->text().toStdString();
    EXPECT_TRUE(box->text().contains("/dev/full")) << box->text().toStdString();
    EXPECT_TRUE(box->text().contains("Input/output error")) << box->text().toStdString();
    EXPECT_EQ(rig.w.findChildren<QMessageBox*>().size(), 1);
}

TEST(SerialWindow, ExitAndClosingTheWindowCloseTheOpenPortSendingNothing) {
    for (bool viaExit : {true, false}) {
        WindowRig rig("Comm 1");
        rig.w.show();
        const std::size_t mark = rig.Mark();
        if (viaExit)
            rig.w.mnuFileExit->trigger();
        else
            rig.w.close();
        EXPECT_EQ(rig.From(mark), Steps{"close"});
        EXPECT_FALSE(rig.w.PortOpen());
        EXPECT_EQ(rig.Saved(), "Comm 1");
    }
}

TEST(SerialWindow, ClosingTheWindowDuringAPortSwitchLeavesBothPortsClosed) {
    WindowRig rig("Comm 1");
    rig.w.show();
    rig.port->pendingOutput = 10;
    rig.port->drainOnPoll = false;  // the old port never drains
    rig.w.Link().SetDrainLimit(milliseconds(1500));
    QTimer::singleShot(50, &rig.w, [&] { rig.w.close(); });
    const std::size_t mark = rig.Mark();
    rig.w.mnuComPort[1]->trigger();
    EXPECT_EQ(rig.From(mark), (Steps{"write S0", "close"}));
    EXPECT_FALSE(rig.w.PortOpen());
    EXPECT_TRUE(rig.Ticked().isEmpty());
}
