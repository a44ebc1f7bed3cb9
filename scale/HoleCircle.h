#pragma once
// A bolt-hole circle: `holes` holes spaced evenly on a circle of `diameter` about a centre, in
// the plane of two axes. Hole 1 sits at `startDegrees` from the first axis, counter-clockwise
// (towards the second axis), and the holes follow counter-clockwise. Lengths are in whatever
// unit the caller uses for all of them.
#include <utility>

namespace gradel {

struct HoleCircle {
    int holes = 0;
    double diameter = 0;
    double startDegrees = 0;
    double centreFirst = 0;
    double centreSecond = 0;
};

// Where hole `index` (0 for hole 1, any integer: it wraps round) lies, on the first and the
// second axis. Holes on a quarter turn from the centre lie exactly on the centre line: a
// readout must show 0.00 there, not -0.00.
std::pair<double, double> holePosition(const HoleCircle& circle, int index);

// Cosine and sine of an angle in degrees, exact at every quarter turn.
std::pair<double, double> cosSinDegrees(double degrees);

}  // namespace gradel
