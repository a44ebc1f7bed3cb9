#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "scale/HoleCircle.h"

using namespace gradel;

namespace {

// Rows: holes, diameter, start angle, centre | holes 1 and 2 worked out by hand. Every row is
// also held to what any circle of holes must be: each hole at the radius from the centre,
// neighbours one chord D·sin(π/N) apart and turning counter-clockwise, the positions summing to
// N times the centre, the numbering wrapping round both ways. A hole on a quarter turn from a
// centre at 0 lies on the axis exactly, with no sign: a distance to go of -0.00 would tell the
// operator he is not there yet.
TEST(HoleCircle, HolesLieEvenlyOnTheCircleCounterClockwiseFromTheStart) {
    struct Row {
        int n;
        double d, start, cx, cy, x1, y1, x2, y2;
    };
    const double h = std::sqrt(3.0) / 2, q = std::sqrt(2.0), pi = std::numbers::pi;
    // clang-format off
    const Row rows[] = {
        {4, 50.8, 0, 0, 0, 25.4, 0, 0, 25.4},
        {6, 20, 30, 5, -5, 5 + 10 * h, 0, 5, 5},
        {3, 2, 90, 0, 0, 0, 1, -h, -0.5},
        {2, 10, 180, 1, 1, -4, 1, 6, 1},
        {8, 4, 45, 0, 0, q, q, 0, 2},
        {5, 7, -90, -3, 2, -3, -1.5, -3 + 3.5 * std::sin(0.4 * pi), 2 - 3.5 * std::cos(0.4 * pi)},
        {360, 100, 720, 0, 0, 50, 0, 50 * std::cos(pi / 180), 50 * std::sin(pi / 180)},
        {12, 30, -450, 0, 0, 0, -15, 7.5, -15 * h},
        {20, 8, -3600, 0, 0, 4, 0, 4 * std::cos(pi / 10), 4 * std::sin(pi / 10)},
    };
    // clang-format on
    for (const Row& r : rows) {
        const HoleCircle circle{r.n, r.d, r.start, r.cx, r.cy};
        const auto [x1, y1] = holePosition(circle, 0);
        const auto [x2, y2] = holePosition(circle, 1);
        EXPECT_LT(std::hypot(x1 - r.x1, y1 - r.y1) + std::hypot(x2 - r.x2, y2 - r.y2), 1e-12);
        double sumX = 0, sumY = 0;
        for (int k = 0; k < r.n; ++k) {
            const auto [x, y] = holePosition(circle, k);
            const auto [nx, ny] = holePosition(circle, k + 1);
            sumX += x;
            sumY += y;
            EXPECT_NEAR(std::hypot(x - r.cx, y - r.cy), r.d / 2, 1e-12);
            EXPECT_NEAR(std::hypot(nx - x, ny - y), r.d * std::sin(pi / r.n), 1e-12);
            EXPECT_TRUE(r.n == 2 || (x - r.cx) * (ny - r.cy) > (y - r.cy) * (nx - r.cx));
            for (double v : {x, y})
                EXPECT_TRUE(r.cx || r.cy || std::abs(v) > 1e-6 || (v == 0 && !std::signbit(v)));
        }
        EXPECT_LT(std::hypot(sumX - r.n * r.cx, sumY - r.n * r.cy), 1e-9) << r.n << " holes";
        EXPECT_EQ(holePosition(circle, r.n), holePosition(circle, 0));
        EXPECT_EQ(holePosition(circle, -1), holePosition(circle, r.n - 1));
    }
}

}  // namespace
