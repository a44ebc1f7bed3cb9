#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>

#include "scale/HoleCircle.h"

using namespace gradel;

namespace {

// Rows: holes, diameter, start angle, centre | hole 1 worked out by hand. Every row is also held
// to what any circle of holes must be: each hole at the radius from the centre, neighbours one
// chord D·sin(π/N) apart and turning counter-clockwise, the positions summing to N times the
// centre, the numbering wrapping round both ways. A hole on a quarter turn from a centre at 0
// lies on the axis exactly, with no sign: a distance to go of -0.00 would tell the operator he
// is not there yet.
TEST(HoleCircle, HolesLieEvenlyOnTheCircleCounterClockwiseFromTheStart) {
    struct Row {
        int n;
        double d, start, cx, cy, x1, y1;
    };
    const double h = std::sqrt(3.0) / 2, q = std::sqrt(2.0), pi = std::numbers::pi;
    const Row rows[] = {
        {4, 50.8, 0, 0, 0, 25.4, 0},  {6, 20, 30, 5, -5, 5 + 10 * h, 0},
        {3, 2, 90, 0, 0, 0, 1},       {2, 10, 180, 1, 1, -4, 1},
        {8, 4, 45, 0, 0, q, q},       {5, 7, -90, -3, 2, -3, -1.5},
        {360, 100, 720, 0, 0, 50, 0}, {12, 30, -450, 0, 0, 0, -15},
        {20, 8, -3600, 0, 0, 4, 0},
    };
    for (const Row& r : rows) {
        const HoleCircle circle{r.n, r.d, r.start, r.cx, r.cy};
        const auto at = [&](int k) {
            const auto [x, y] = holePosition(circle, k);
            return std::complex(x, y);
        };
        const std::complex centre(r.cx, r.cy);
        EXPECT_LT(std::abs(at(0) - std::complex(r.x1, r.y1)), 1e-12) << r.n << " from " << r.start;
        std::complex<double> sum;
        for (int k = 0; k < r.n; ++k) {
            const auto here = at(k) - centre, next = at(k + 1) - centre;
            sum += at(k);
            EXPECT_NEAR(std::abs(here), r.d / 2, 1e-12);
            EXPECT_NEAR(std::abs(next - here), r.d * std::sin(pi / r.n), 1e-12);
            EXPECT_TRUE(r.n == 2 || (std::conj(here) * next).imag() > 0);
            for (double v : {at(k).real(), at(k).imag()})
                EXPECT_TRUE(r.cx || r.cy || std::abs(v) > 1e-6 || (v == 0 && !std::signbit(v)));
        }
        EXPECT_LT(std::abs(sum - double(r.n) * centre), 1e-9) << r.n << " from " << r.start;
        EXPECT_TRUE(at(r.n) == at(0) && at(-1) == at(r.n - 1));
    }
}

}  // namespace
