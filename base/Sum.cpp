#include "base/Sum.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace gradel {

namespace {

bool isNumberChar(char c) {
    return (c >= '0' && c <= '9') || c == '.';
}

// The number at `pos`, which moves past it. A lone point is 0, and a number beyond what a double
// holds is infinite, so that the sum refuses it.
std::optional<double> takeNumber(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    while (pos < text.size() && isNumberChar(text[pos])) ++pos;
    if (pos == start) return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data() + start, text.data() + pos, value);
    if (error == std::errc::result_out_of_range) return std::numeric_limits<double>::infinity();
    return value;
}

}  // namespace

// The sum so far is `total`, plus the product or quotient `term` still being worked out.
std::optional<double> evaluateSum(std::string_view text) {
    if (text.empty()) return 0.0;
    const bool negative = text[0] == '-';
    std::size_t pos = negative ? 1 : 0;
    const std::optional<double> first = takeNumber(text, pos);
    if (!first) return std::nullopt;
    double total = 0;
    double term = negative ? -*first : *first;
    while (pos < text.size()) {
        const char op = text[pos++];
        const std::optional<double> value = takeNumber(text, pos);
        if (!value) return std::nullopt;
        if (op == '*') {
            term *= *value;
        } else if (op == '/') {
            if (*value == 0) return std::nullopt;
            term /= *value;
        } else if (op == '+' || op == '-') {
            total += term;
            term = op == '-' ? -*value : *value;
        } else {
            return std::nullopt;
        }
    }
    total += term;
    if (!std::isfinite(total)) return std::nullopt;
    return total;
}

}  // namespace gradel
