// The serial link against a fake port: TogglePort, the bounded drain, received text, the
// clear-to-send line, open failures, and destruction in the middle of a wait.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <memory>

#include "tests/window/FakeSerialPort.h"
#include "window/SerialLink.h"

using gradel::testing::FakeSerialPort;
using std::chrono::milliseconds;
using Steps = std::vector<std::string>;

namespace {

struct Rig {
    FakeSerialPort* port;
    std::unique_ptr<SerialLink> link;
    std::vector<std::string> received;
    int linesLost = 0;
    std::vector<int> failed;
    QStringList notices;

    explicit Rig(QStringList devices = {"/dev/port1", "/dev/port2", "/dev/port3"}) {
        auto fake = std::make_unique<FakeSerialPort>();
        port = fake.get();
        link = std::make_unique<SerialLink>(std::move(fake), PortTable(devices));
        link->SetIdentifyPause(milliseconds(30));
        link->SetDrainLimit(milliseconds(300));
        QObject::connect(link.get(), &SerialLink::TextReceived,
                         [this](const std::string& t) { received.push_back(t); });
        QObject::connect(link.get(), &SerialLink::LinesLost, [this] { ++linesLost; });
        QObject::connect(link.get(), &SerialLink::PortFailed,
                         [this](int n) { failed.push_back(n); });
        QObject::connect(link.get(), &SerialLink::Notice,
                         [this](const QString& t) { notices << t; });
    }
    // Steps from the given one on.
    Steps From(std::size_t first) const {
        Steps all = port->Steps();
        return Steps(all.begin() + static_cast<std::ptrdiff_t>(first), all.end());
    }
};

}  // namespace

TEST(SerialLink, TogglePortFollowsThePortState) {
    struct Case {
        const char* name;
        bool openFirst;
        int16_t n;
        Steps expected;  // steps after the set-up
        bool openAfter;
    };
    const Case cases[] = {
        {"below one does nothing", false, 0, {}, false},
        {"negative does nothing", true, -3, {}, true},
        {"closed port opens",
         false,
         3,
         {"open /dev/port3", "dtr 0", "rts 1", "discard", "write I0", "write I0"},
         true},
        {"open port polls, drains and closes, whatever the number",
         true,
         3,
         {"write S0", "drained", "close"},
         false},
        {"a number without a device is reported, not opened", false, 9, {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        if (c.openFirst) rig.link->OpenPort(1);
        rig.port->pendingOutput = 5;
        const std::size_t mark = rig.port->steps.size();
        rig.link->TogglePort(c.n);
        EXPECT_EQ(rig.From(mark), c.expected);
        EXPECT_EQ(rig.link->PortOpen(), c.openAfter);
    }
}

TEST(SerialLink, DrainWaitEndsAfterItsLimitWhenThePortIsStuck) {
    Rig rig;
    rig.link->OpenPort(1);
    rig.port->pendingOutput = 100;
    rig.port->drainOnPoll = false;
    rig.link->CloseAfterPoll();
    EXPECT_FALSE(rig.link->PortOpen());
    const qint64 sent = rig.port->WriteTimes("S0").at(0);
    const qint64 closed = rig.port->steps.back().ms;
    EXPECT_EQ(rig.port->steps.back().what, "close");
    EXPECT_GE(closed - sent, 300);
    EXPECT_LT(closed - sent, 1000);
}

TEST(SerialLink, ReceivedTextIsHandedOnExactlyAsItArrived) {
    const std::vector<std::vector<QByteArray>> feeds = {
        {"X+01", ".2500:"},
        {"CX:IX,2,Decimal,mm:X+012.70:"},
        {QByteArray("\r\nX\0+0", 6), ":"},
    };
    for (const auto& blocks : feeds) {
        Rig rig;
        rig.link->OpenPort(1);
        std::vector<std::string> expected;
        for (const QByteArray& b : blocks) {
            rig.port->Feed(b);
            expected.emplace_back(b.constData(), static_cast<std::size_t>(b.size()));
        }
        EXPECT_EQ(rig.received, expected);
    }
}

TEST(SerialLink, TextArrivingDuringTheIdentifyPauseIsDelivered) {
    Rig rig;
    rig.link->OpenPort(1);
    // The first block's handler waits (as a connect message does); text that comes meanwhile
    // must not sit in the port until the next arrival.
    bool nested = false;
    QObject::connect(rig.link.get(), &SerialLink::TextReceived, [&](const std::string& t) {
        if (t == "CX:" && !nested) {
            nested = true;
            QTimer::singleShot(5, [&] { rig.port->Feed("IX,0,Decimal,Inch:"); });
            rig.link->IdentifyBox();
        }
    });
    rig.port->Feed("CX:");
    EXPECT_EQ(rig.received, (std::vector<std::string>{"CX:", "IX,0,Decimal,Inch:"}));
}

TEST(SerialLink, ClearToSendChangesIdentifyOrDropTheScalesAndUnknownIsNeverOff) {
    using Cts = std::optional<bool>;
    struct Case {
        const char* name;
        Cts atOpen;
        std::vector<Cts> polls;
        int lost;
        int identifies;
    };
    const Case cases[] = {
        {"drop", true, {false}, 1, 0},
        {"steady on", true, {true, true}, 0, 0},
        {"unknown throughout (pseudo-terminal)", std::nullopt, {std::nullopt, std::nullopt}, 0, 0},
        {"unknown at open, then off, then on", std::nullopt, {false, true}, 0, 1},
        {"off at open, on, off, on", false, {true, false, true}, 1, 2},
        {"unknown in between does not hide a drop", true, {std::nullopt, false}, 1, 0},
        {"unknown after on is not a drop", true, {std::nullopt, true}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        rig.port->cts = c.atOpen;
        rig.link->OpenPort(1);
        const std::size_t mark = rig.port->steps.size();
        for (const Cts& v : c.polls) {
            rig.port->cts = v;
            rig.link->PollLines();
        }
        EXPECT_EQ(rig.linesLost, c.lost);
        EXPECT_EQ(rig.From(mark).size(), static_cast<std::size_t>(2 * c.identifies));
        for (const std::string& s : rig.From(mark)) EXPECT_EQ(s, "write I0");
    }
}

TEST(SerialLink, OpenFailureNamesThePortAndWhyAndHintsAtTheGroupWhenRefused) {
    struct Case {
        bool permission;
        bool hint;
    };
    for (const Case c : {Case{false, false}, Case{true, true}}) {
        Rig rig({"/dev/null"});
        rig.port->refused.insert("/dev/null");
        rig.port->refuseWithPermission = c.permission;
        EXPECT_FALSE(rig.link->OpenPort(1));
        EXPECT_FALSE(rig.link->PortOpen());
        ASSERT_EQ(rig.notices.size(), 1);
        const QString& text = rig.notices.front();
        EXPECT_TRUE(text.contains("Comm 1")) << text.toStdString();
        EXPECT_TRUE(text.contains("/dev/null")) << text.toStdString();
        EXPECT_TRUE(text.contains(rig.port->ErrorString())) << text.toStdString();
        // /dev/null belongs to root, so the hint names the usual serial group.
        EXPECT_EQ(text.contains("dialout"), c.hint) << text.toStdString();
        EXPECT_EQ(rig.port->Writes(), Steps{});
    }
}

TEST(SerialLink, DestroyedDuringAWaitReturnsWithoutTouchingItself) {
    // The owner (the window) may go while the identify pause or the drain processes events.
    for (int which = 0; which < 2; ++which) {
        SCOPED_TRACE(which == 0 ? "identify" : "drain");
        auto fake = std::make_unique<FakeSerialPort>();
        fake->pendingOutput = 10;
        fake->drainOnPoll = false;
        auto* link = new SerialLink(std::move(fake), PortTable({"/dev/port1"}));
        link->SetDrainLimit(milliseconds(5000));
        link->SetIdentifyPause(milliseconds(1));
        link->OpenPort(1);
        link->SetIdentifyPause(milliseconds(5000));
        QPointer<SerialLink> guard(link);
        QTimer::singleShot(20, [link] { delete link; });
        QElapsedTimer clock;
        clock.start();
        if (which == 0)
            link->IdentifyBox();
        else
            link->CloseAfterPoll();
        EXPECT_TRUE(guard.isNull());
        EXPECT_LT(clock.elapsed(), 2000);
    }
}
