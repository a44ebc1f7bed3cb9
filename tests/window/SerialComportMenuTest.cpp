// The Comport menu over a fake port: which entries are listed, ticks, the remembered port, and
// what choosing an entry does to the port.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <memory>

#include "tests/window/FakeSerialPort.h"
#include "window/ComportMenu.h"
#include "window/SerialLink.h"

using gradel::testing::FakeSerialPort;
using std::chrono::milliseconds;
using Steps = std::vector<std::string>;

namespace {

// A table whose present ports are character devices this user may open (/dev/null stands in for
// a serial device: it is never opened here); absent ports name nothing.
QStringList TableWith(std::initializer_list<int> present, int size) {
    QStringList devices;
    for (int n = 1; n <= size; ++n)
        devices << (std::find(present.begin(), present.end(), n) != present.end()
                        ? QStringLiteral("/dev/null")
                        : QStringLiteral("/nonexistent/port%1").arg(n));
    return devices;
}

struct MenuRig {
    QMenu menu;
    QAction* entry0;
    FakeSerialPort* port;
    std::unique_ptr<SerialLink> link;
    std::unique_ptr<ComportMenu> comport;
    QStringList saved;
    int removeAll = 0;

    explicit MenuRig(QStringList devices) {
        entry0 = menu.addAction(QStringLiteral("Com1"));
        auto fake = std::make_unique<FakeSerialPort>();
        port = fake.get();
        link = std::make_unique<SerialLink>(std::move(fake), PortTable(devices));
        link->SetIdentifyPause(milliseconds(20));
        comport = std::make_unique<ComportMenu>(menu, *entry0, *link);
        comport->SavePort = [this](const QString& c) { saved << c; };
        comport->RemoveAll = [this] { ++removeAll; };
        comport->CheckComports();
    }
    QStringList Captions() const {
        QStringList out;
        for (QAction* a : comport->Entries()) out << a->text();
        return out;
    }
    QStringList Ticked() const {
        QStringList out;
        for (QAction* a : comport->Entries())
            if (a->isChecked()) out << a->text();
        return out;
    }
    void Choose(const QString& caption) {
        for (QAction* a : comport->Entries())
            if (a->text() == caption) return a->trigger();
        FAIL() << "no entry " << caption.toStdString();
    }
    Steps From(std::size_t first) const {
        Steps all = port->Steps();
        return Steps(all.begin() + static_cast<std::ptrdiff_t>(first), all.end());
    }
};

}  // namespace

TEST(SerialComportMenu, ListsThePortsThatExistWithoutGaps) {
    struct Case {
        std::initializer_list<int> present;
        int tableSize;
        QStringList captions;
    };
    const Case cases[] = {
        {{1, 3, 5}, 6, {"Comm 1", "Comm 3", "Comm 5"}},
        {{4}, 5, {"Com1", "Comm 4"}},
        {{}, 3, {"Com1"}},
        {{2, 16, 17}, 17, {"Com1", "Comm 2", "Comm 16"}},  // ports above 16 are never listed
    };
    for (const Case& c : cases) {
        MenuRig rig(TableWith(c.present, c.tableSize));
        EXPECT_EQ(rig.Captions(), c.captions);
        EXPECT_EQ(rig.menu.actions().size(), c.captions.size());
        EXPECT_TRUE(rig.port->steps.empty()) << "probing must not open a port";
        // Each entry carries its device path as its tip.
        for (QAction* a : rig.comport->Entries()) {
            const QString device = rig.link->Table().Device(ComportMenu::PortNumber(a->text()));
            EXPECT_EQ(a->toolTip(), device);
            EXPECT_EQ(a->statusTip(), device);
        }
        EXPECT_TRUE(rig.Ticked().isEmpty());
    }
}

TEST(SerialComportMenu, ChoosingAnUntickedEntryOpensIdentifiesOneSecondApartAndRemembersIt) {
    MenuRig rig(TableWith({1, 3, 5}, 5));
    rig.link->SetIdentifyPause(milliseconds(1000));
    rig.Choose("Comm 3");
    EXPECT_EQ(rig.port->Steps(),
              (Steps{"open /dev/null", "dtr 0", "rts 1", "discard", "write I0", "write I0"}));
    const std::vector<qint64> t = rig.port->WriteTimes("I0");
    ASSERT_EQ(t.size(), 2u);
    EXPECT_GE(t[1] - t[0], 1000);
    EXPECT_LT(t[1] - t[0], 1500);
    EXPECT_EQ(rig.link->OpenPortNumber(), 3);
    EXPECT_EQ(rig.Ticked(), QStringList{"Comm 3"});
    EXPECT_EQ(rig.saved, QStringList{"Comm 3"});
}

TEST(SerialComportMenu, ChoosingTheTickedEntryClosesWithoutSendingAndDropsTheScales) {
    MenuRig rig(TableWith({1, 3, 5}, 5));
    rig.Choose("Comm 3");
    const std::size_t mark = rig.port->steps.size();
    rig.Choose("Comm 3");
    EXPECT_EQ(rig.From(mark), Steps{"close"});
    EXPECT_FALSE(rig.link->PortOpen());
    EXPECT_TRUE(rig.Ticked().isEmpty());
    EXPECT_EQ(rig.removeAll, 1);
    EXPECT_EQ(rig.saved, QStringList{"Comm 3"});  // unticking is not remembered
}

TEST(SerialComportMenu, ChoosingAnotherEntryPollsDrainsClosesThenOpensTheChosenOne) {
    QStringList devices = {"/dev/null", "/nonexistent/2", "/dev/zero"};
    MenuRig rig(devices);
    rig.Choose("Comm 1");
    rig.port->pendingOutput = 2;
    const std::size_t mark = rig.port->steps.size();
    rig.Choose("Comm 3");
    EXPECT_EQ(rig.From(mark), (Steps{"write S0", "drained", "close", "open /dev/zero", "dtr 0",
                                     "rts 1", "discard", "write I0", "write I0"}));
    EXPECT_EQ(rig.link->OpenPortNumber(), 3);
    EXPECT_EQ(rig.Ticked(), QStringList{"Comm 3"});
    EXPECT_EQ(rig.saved, (QStringList{"Comm 1", "Comm 3"}));
    EXPECT_EQ(rig.removeAll, 0);  // the scales already shown stay
}

TEST(SerialComportMenu, AnEntryWhosePortFailsLosesItsTick) {
    // Failing to open, and failing while open, both leave no tick behind.
    MenuRig rig(TableWith({1, 2}, 2));
    QStringList notices;
    QObject::connect(rig.link.get(), &SerialLink::Notice, [&](const QString& t) { notices << t; });
    rig.port->refused.insert("/dev/null");
    rig.Choose("Comm 2");
    EXPECT_FALSE(rig.link->PortOpen());
    EXPECT_TRUE(rig.Ticked().isEmpty());
    EXPECT_EQ(notices.size(), 1);

    rig.port->refused.clear();
    rig.Choose("Comm 2");
    ASSERT_TRUE(rig.link->PortOpen());
    rig.port->Pull("Input/output error");
    EXPECT_FALSE(rig.link->PortOpen());
    EXPECT_TRUE(rig.Ticked().isEmpty());
    EXPECT_EQ(notices.size(), 2);
    rig.Choose("Comm 2");  // one choice reopens it
    EXPECT_TRUE(rig.link->PortOpen());
}
