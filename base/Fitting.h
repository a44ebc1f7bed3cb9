#pragma once
// Lettering that must fit its room: the readouts' numbers, the dial's whole-inch labels.
#include <algorithm>

namespace gradel {

// The largest point size, up to `points`, at which lettering `width(size)` pixels wide fits
// `room` pixels: the size in proportion first, then smaller in steps of 3 % while it still does
// not fit, since text does not narrow in exact proportion to its size. The steps stop once the
// size is under `smallest`, fitting or not; what so small a size means is the caller's to say.
template <class Width>
double fittingPointSize(double points, int room, double smallest, const Width& width) {
    double size = std::min(points, points * std::max(room, 1) / std::max(width(points), 1));
    while (size >= smallest && width(size) > room) size *= 0.97;
    return size;
}

}  // namespace gradel
