// The serial link on QSerialPort and the scale controller over a real pseudo-terminal, with
// gradel-boxsim playing the interface box: losing the device, closing and reopening our end, and
// the speed and type codes on the wire. (Readings, formats and zeroing through the whole program
// are covered by the end-to-end tests.)
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>
#include <map>
#include <memory>

#include "scale/clsScaleControl.h"
#include "tests/support/ScriptedErrorDialog.h"
#include "window/BoxSimulator.h"
#include "window/QtSerialPort.h"
#include "window/SerialLink.h"

using std::chrono::milliseconds;

namespace {

// The link and the controller wired as the window wires them.
struct Station {
    gradel::testing::ScriptedErrorDialog dialog;
    BoxSimulator sim;
    std::unique_ptr<SerialLink> link;
    gradel::clsScaleControl SC{dialog};
    std::map<std::string, int> updates;
    std::vector<std::string> added, removed;

    bool Start(const QStringList& options) {
        QString error;
        if (!sim.Start(options, &error)) {
            ADD_FAILURE() << error.toStdString();
            return false;
        }
        link =
            std::make_unique<SerialLink>(std::make_unique<QtSerialPort>(), PortTable({sim.Path()}));
        link->SetIdentifyPause(milliseconds(50));
        QObject::connect(link.get(), &SerialLink::TextReceived,
                         [this](const std::string& t) { SC.DataInput(t); });
        QObject::connect(link.get(), &SerialLink::LinesLost, [this] { SC.RemoveAll(); });
        SC.ScaleComms = [this](const std::string& m) {
            if (m == "I0")
                link->IdentifyBox();
            else
                link->Send(m);
        };
        SC.ScaleAdded = [this](gradel::clsGradel& s) {
            added.push_back(s.Key());
            link->Send("S2");
        };
        SC.ScaleRemoved = [this](const std::string& k) { removed.push_back(k); };
        SC.PositionUpdate = [this](gradel::clsGradel& s) { ++updates[s.Key()]; };
        return link->OpenPort(1);
    }
    bool Has(const std::string& key) const { return SC.Scales().Exists(key); }
};

}  // namespace

TEST(SerialBoxsim, AnUnpluggedBoxRemovesTheScalesAndThePortCanBeChosenAgainLater) {
    Station st;
    QStringList notices;
    ASSERT_TRUE(st.Start({"--scales", "XY", "--start-mode", "2", "--unplug-after", "1.2"}));
    QObject::connect(st.link.get(), &SerialLink::Notice, [&](const QString& t) { notices << t; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return st.Has("X") && st.Has("Y"); }, 3000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !st.link->PortOpen(); }, 5000));
    EXPECT_EQ(st.SC.Scales().Count(), 0);
    EXPECT_EQ(st.removed, (std::vector<std::string>{"X", "Y"}));
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices[0].contains(st.sim.Path()));
    // The terminal is gone: opening it again fails with a message, and nothing escapes.
    EXPECT_FALSE(st.link->OpenPort(1));
    EXPECT_EQ(notices.size(), 2);
}

TEST(SerialBoxsim, TheBoxServesTheProgramAgainAfterItClosedItsEnd) {
    Station st;
    ASSERT_TRUE(st.Start({"--scales", "X", "--motion", "ramp"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return st.updates["X"] >= 5; }, 5000));
    st.link->Close();  // as unticking the entry does
    st.SC.RemoveAll();
    QTest::qWait(100);
    st.updates.clear();
    ASSERT_TRUE(st.link->OpenPort(1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return st.updates["X"] >= 5; }, 5000));
    EXPECT_EQ(st.added, (std::vector<std::string>{"X", "X"}));
}

TEST(SerialBoxsim, SpeedAndTypeCodesChangeWhatTheBoxSendsThroughItsLink) {
    QTemporaryDir dir;
    const QString link = dir.filePath("box");
    BoxSimulator sim;
    ASSERT_TRUE(sim.Start({"--scales", "X", "--motion", "still", "--link", link}));
    SerialLink serial(std::make_unique<QtSerialPort>(), PortTable({link}));
    serial.SetIdentifyPause(milliseconds(20));
    std::string wire;
    QObject::connect(&serial, &SerialLink::TextReceived, [&](const std::string& t) { wire += t; });
    ASSERT_TRUE(serial.OpenPort(1));
    // Readings seen in a quarter of a second after a command (the first 50 ms are let pass).
    auto after = [&](const std::string& command) {
        serial.Send(command);
        QTest::qWait(50);
        wire.clear();
        QTest::qWait(250);
        return wire;
    };
    auto count = [](const std::string& text, const std::string& what) {
        int n = 0;
        for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1))
            ++n;
        return n;
    };
    const int fast = count(after("S2"), "X+012.70:");
    const int slow = count(after(std::string{'S', '\x01'}), "X+012.70:");
    EXPECT_GE(fast, 6);  // about 50 a second
    EXPECT_LE(slow, 3);  // about 5 a second
    EXPECT_EQ(after("S0"), "");
    EXPECT_GE(count(after(std::string{'S', '\x02'}), "X+012.70:"), 8);
    // 12.70 mm is half an inch: 10240 counts, sent negated.
    EXPECT_GE(count(after(std::string{'V', '\0'}), "XHFFD800:"), 8);
    EXPECT_GE(count(after(std::string{'V', '\x01'}), "X+012.70:"), 8);
    wire.clear();
    serial.Send("I0");
    QTest::qWait(200);
    EXPECT_EQ(count(wire, "IX,2,Decimal,mm:"), 1);
}
