#include "scale/HoleCircle.h"

#include <cmath>
#include <numbers>

namespace gradel {

// The angle is brought to within 45 degrees of a quarter turn first, so that the quarter turns
// themselves come out as exact 0 and 1 and the rest lose nothing to a large argument.
std::pair<double, double> cosSinDegrees(double degrees) {
    const double quarters = std::round(degrees / 90.0);
    const double rest = (degrees - 90.0 * quarters) * std::numbers::pi / 180.0;
    const double c = std::cos(rest);
    const double s = rest == 0 ? 0.0 : std::sin(rest);
    switch (static_cast<int>(std::fmod(quarters, 4.0) + 4.0) % 4) {
        case 0:
            return {c, s};
        case 1:
            return {-s, c};
        case 2:
            return {-c, -s};
        default:
            return {s, -c};
    }
}

std::pair<double, double> holePosition(const HoleCircle& circle, int index) {
    const int n = circle.holes > 0 ? circle.holes : 1;
    const int k = ((index % n) + n) % n;
    const auto [c, s] = cosSinDegrees(circle.startDegrees + 360.0 * k / n);
    const double radius = circle.diameter / 2;
    return {circle.centreFirst + radius * c, circle.centreSecond + radius * s};
}

}  // namespace gradel
