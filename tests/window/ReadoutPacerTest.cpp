// Pacing of the readouts: changes from the box's stream are shown at most once per frame, the
// last one always reaches the screen, and every other change is shown at once.
#include <gtest/gtest.h>

#include <QTest>
#include <set>
#include <string>
#include <vector>

#include "window/ReadoutPacer.h"

namespace {

struct Rig {
    std::vector<std::string> held;  // keys shown at a frame's end
    ReadoutPacer pacer{[this](const std::string& key) { held.push_back(key); }};
    Rig() { pacer.SetFrameMs(40); }
    // Changes in one burst from the stream; returns which were shown at once.
    std::string Burst(const std::string& keys) {
        ReadoutPacer::StreamScope stream(pacer);
        std::string now;
        for (char k : keys)
            if (pacer.Changed(std::string(1, k))) now += k;
        return now;
    }
};

}  // namespace

TEST(ReadoutPacer, StreamedChangesWithinAFrameAreHeldAndTheLastStateIsShownOnce) {
    struct Case {
        const char* first;              // a burst
        const char* second;             // a burst right after it
        const char* atOnce;             // shown at once, over both bursts
        std::vector<std::string> held;  // shown right after them, in order
    };
    const Case cases[] = {
        {"X", "", "", {"X"}},  {"XXXX", "", "", {"X"}},           {"XYXY", "", "", {"X", "Y"}},
        {"X", "X", "", {"X"}}, {"XY", "ZX", "", {"X", "Y", "Z"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.first) + "|" + c.second);
        Rig r;
        std::string now = r.Burst(c.first);
        now += r.Burst(c.second);
        EXPECT_EQ(now, c.atOnce);
        EXPECT_TRUE(r.held.empty());  // nothing while the text is being read
        QCoreApplication::processEvents();
        EXPECT_EQ(r.held, c.held);  // the first arrival right after it
        // Within the next frame changes wait for its end; then the state is shown once more.
        r.held.clear();
        EXPECT_EQ(r.Burst(c.first), "");
        QTest::qWait(20);
        EXPECT_TRUE(r.held.empty());
        EXPECT_TRUE(QTest::qWaitFor([&] { return !r.held.empty(); }, 1000));
        QTest::qWait(60);
        const std::set<char> keys(c.first, c.first + std::string(c.first).size());
        EXPECT_EQ(r.held.size(), keys.size());
    }
}

TEST(ReadoutPacer, ChangesOutsideTheStreamAreShownAtOnceAndDropTheirHeldChange) {
    Rig r;
    EXPECT_EQ(r.Burst("XY"), "");
    EXPECT_TRUE(r.pacer.Changed("Y"));  // a key press: at once, and Y need not come again
    EXPECT_TRUE(r.pacer.Changed("Y"));
    QTest::qWait(100);
    EXPECT_EQ(r.held, std::vector<std::string>{"X"});
    EXPECT_TRUE(r.pacer.Changed("X"));
}

TEST(ReadoutPacer, NoFrameShowsEverythingAtOnce) {
    Rig r;
    r.pacer.SetFrameMs(0);
    EXPECT_EQ(r.Burst("XXYY"), "XXYY");
    QTest::qWait(20);
    EXPECT_TRUE(r.held.empty());
}

TEST(ReadoutPacer, FrameLengthFollowsTheScreen) {
    const std::pair<double, int> cases[] = {{60, 17}, {59.95, 17}, {144, 8}, {30, 34},
                                            {10, 40}, {0, 17},     {-1, 17}};
    for (const auto& [hz, ms] : cases) EXPECT_EQ(ReadoutPacer::FrameMsFor(hz), ms) << hz;
}
