#pragma once
// Sums typed into the number entry: numbers joined by "+", "-", "*" and "/", worked out left to
// right with "*" and "/" before "+" and "-"; a "-" in front makes the first number negative. A
// number is a run of digits and points read as far as it makes sense ("1..5" is 1), as a
// single number typed has always been read.
#include <optional>
#include <string_view>

namespace gradel {

// The value of the sum, or nothing when it gives no finite number: a division by zero, an
// operator with no number after it ("5/"), anything but digits, points and the four operators.
// Nothing typed is 0.
std::optional<double> evaluateSum(std::string_view text);

}  // namespace gradel
