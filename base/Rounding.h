#pragma once
// Rounding to a whole number the way the program has always rounded: halves go to the even
// neighbour (2.5 -> 2, 3.5 -> 4), so a position exactly between two pixels or two counts
// does not always fall the same way.
#include <cmath>
#include <cstdint>
#include <optional>

namespace gradel {

inline int roundHalfEven(double x) {
    return static_cast<int>(std::nearbyint(x));
}

// The same for a value that must fit 16 bits; nothing when it does not (or is not a number).
inline std::optional<int16_t> roundToInt16(double x) {
    const double r = std::nearbyint(x);
    if (!(r >= -32768.0 && r <= 32767.0)) return std::nullopt;
    return static_cast<int16_t>(r);
}

}  // namespace gradel
