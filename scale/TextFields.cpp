#include "scale/TextFields.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

#include "base/Failure.h"

namespace gradel::TextFields {

namespace {

constexpr std::size_t kMaxFieldPosition = 32767;  // positions are counted in a 16-bit integer

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The text with blanks, tabs and line feeds removed; short texts stay in the small-string buffer.
std::string withoutBlanks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (!isBlank(c)) out.push_back(c);
    return out;
}

struct Scan {
    double value = 0;
    std::size_t used = 0;  // characters that took part in the number
};

// "&H..." / "&O...": digits up to the first one that cannot continue the literal.
Scan scanRadixLiteral(std::string_view s) {
    const bool hex = s[1] == 'H' || s[1] == 'h';
    std::uint64_t v = 0;
    std::size_t i = 2;
    std::size_t digits = 0;
    for (; i < s.size(); ++i) {
        const int d = hex ? hexDigit(s[i]) : (s[i] >= '0' && s[i] <= '7' ? s[i] - '0' : -1);
        if (d < 0) break;
        v = v * (hex ? 16u : 8u) + static_cast<std::uint64_t>(d);
        ++digits;
        if (v > 0xFFFFFFFFu) return {0, i + 1};  // beyond 32 bits: no number
    }
    if (digits == 0) return {0, 0};
    // Hexadecimal: the number of digits picks the width. Octal: the value does (177777 is the
    // largest 16-bit literal).
    const bool narrow = hex ? digits <= 4 : v <= 0xFFFFu;
    const double value = narrow ? static_cast<double>(static_cast<std::int16_t>(v))
                                : static_cast<double>(static_cast<std::int32_t>(v));
    return {value, i};
}

// Optional sign, digits with at most one ".", optional exponent (E or D, optional sign, digits).
Scan scanDecimal(std::string_view s) {
    std::string number;  // in the form from_chars understands
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    bool point = false;
    bool anyDigit = false;
    for (; i < s.size(); ++i) {
        if (isDigit(s[i])) {
            anyDigit = true;
            number.push_back(s[i]);
        } else if (s[i] == '.' && !point) {
            point = true;
            number.push_back('.');
        } else {
            break;
        }
    }
    if (!anyDigit) return {0, 0};
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent.push_back(s[j++]);
        const std::size_t firstDigit = j;
        while (j < s.size() && isDigit(s[j])) exponent.push_back(s[j++]);
        if (j > firstDigit) {  // an exponent marker without digits ends the number
            number += exponent;
            i = j;
        }
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    if (ec != std::errc() || !std::isfinite(value)) value = 0;  // beyond double: no number
    return {negative ? -value : value, i};
}

Scan scanNumber(std::string_view cleaned) {
    if (cleaned.size() >= 2 && cleaned[0] == '&') {
        const char r = cleaned[1];
        if (r == 'H' || r == 'h' || r == 'O' || r == 'o') return scanRadixLiteral(cleaned);
        return {0, 0};
    }
    return scanDecimal(cleaned);
}

}  // namespace

std::string nextField(std::string& text, std::string_view separator) {
    if (separator.empty()) return {};
    const std::size_t p = text.find(separator);
    if (p == std::string::npos) {
        std::string field = std::move(text);
        text.clear();
        return field;
    }
    if (p + 1 > kMaxFieldPosition) throw Failure(Fault::Overflow);
    std::string field = text.substr(0, p);
    text.erase(0, p + separator.size());
    return field;
}

double numericValue(std::string_view text) {
    std::string kept;
    for (char c : text)
        if (isDigit(c) || c == '.' || c == '-' || c == '+') kept.push_back(c);
    return leadingNumber(kept);
}

double leadingNumber(std::string_view text) {
    return scanNumber(withoutBlanks(text)).value;
}

std::optional<double> wholeNumber(std::string_view text) {
    const std::string cleaned = withoutBlanks(text);
    const Scan scan = scanNumber(cleaned);
    if (scan.used == 0 || scan.used != cleaned.size()) return std::nullopt;
    return scan.value;
}

}  // namespace gradel::TextFields
