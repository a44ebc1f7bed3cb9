#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <string>

#include "scale/StaleWatch.h"

using namespace gradel;

namespace {

// Rows: the time of a look in ms | what happened before it: "+X2" adds X in mode 2, "X" is a
// reading of X and then its showing, "!X" a showing with no reading (a key press), "X=2" a new
// mode from an info message, "-X" takes X away | the scales a showing made live again | what
// the look reports, "X+" stale and "X-" live. X streams, Y streams slowly, P is polled and W
// streams all along.
TEST(StaleWatch, ASecondOfSilenceFromAStreamingScaleIsStaleUntilItsNextReading) {
    const std::tuple<int, const char*, const char*, const char*> rows[] = {
        {0, "+X2 +Y1 +P0 +W2 X Y W", "", ""},
        {900, "W", "", ""},
        {999, "W", "", ""},
        {1000, "W", "", "X+ Y+"},
        {1050, "!X W", "", ""},
        {1100, "X P", "X", ""},
        {2000, "W", "", ""},
        {2100, "W", "", "X+"},
        {2200, "W P=2", "", ""},
        {3100, "W", "", ""},
        {3200, "W", "", "P+"},
        {3300, "W -Y +Y1", "", "Y-"},
        {4300, "W", "", "Y+"},
        {4400, "X X -P", "X", "P-"},
        {5300, "", "", "W+"},
        {5400, "", "", "X+"},
    };
    ScaleList scales;
    StaleWatch watch;
    for (const auto& [ms, actions, revived, changes] : rows) {
        std::istringstream in(actions);
        std::string shown, reported;
        for (std::string a; in >> a;) {
            const std::string key = a.substr(a[0] == '+' || a[0] == '-' || a[0] == '!', 1);
            if (a[0] == '+') scales.add(key)->setMode(static_cast<int16_t>(a[2] - '0'));
            if (a[0] == '-') scales.remove(key);
            if (a.size() == 3 && a[1] == '=') scales.find(key)->setMode(int16_t(a[2] - '0'));
            if (a.size() == 1) scales.find(key)->addReading("+01.0000");
            if (a.size() <= 2 && a[0] != '-' && watch.revive(*scales.find(key))) shown += key;
        }
        const auto now = StaleWatch::Clock::time_point(std::chrono::milliseconds(ms));
        for (const StaleWatch::Change& c : watch.look(scales, now))
            reported += (reported.empty() ? "" : " ") + c.key + (c.stale ? "+" : "-");
        EXPECT_EQ(shown, revived) << ms;
        EXPECT_EQ(reported, changes) << ms;
    }
}

}  // namespace
