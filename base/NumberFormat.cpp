#include "base/NumberFormat.h"

#include <charconv>
#include <string>
#include <string_view>

namespace gradel {

namespace {

// Always with a full stop, whatever the locale (the C library's printf would follow the one
// Qt sets at start, and the readouts would show commas): into a buffer on the stack, or on the
// heap for the rare number that does not fit it.
template <class... Format>
std::string_view printed(char (&stack)[128], std::string& heap, double value, Format... format) {
    const std::to_chars_result r = std::to_chars(stack, stack + sizeof stack, value, format...);
    if (r.ec == std::errc{}) return {stack, static_cast<std::size_t>(r.ptr - stack)};
    heap.resize(400);  // the longest double with no places has 309 digits
    for (;;) {
        char* const first = heap.data();
        const std::to_chars_result h = std::to_chars(first, first + heap.size(), value, format...);
        if (h.ec == std::errc{}) return {first, static_cast<std::size_t>(h.ptr - first)};
        heap.resize(heap.size() * 2);
    }
}

// At most seven significant digits, as a single-precision reading has; trailing zeros dropped,
// and an exponent ("1.234568E+07") only from 1E+07 and below 1E-04, as printf's %G writes it.
QString generalForm(double value) {
    if (value == 0.0) return QStringLiteral("0");  // no "-0"
    char stack[128];
    std::string heap;
    return QString::fromLatin1(printed(stack, heap, value, std::chars_format::general, 7)).toUpper();
}

bool isPlace(QChar c) {
    return c == u'0' || c == u'#' || c == u'.';
}

// `halves`: the pattern's last character, a "5", is read as a "0" place.
QString byPattern(double value, const QString& pattern, bool halves) {
    qsizetype first = -1, last = -1;
    bool point = false;
    int wholeZeros = 0, decimals = 0, decimalZeros = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = halves && i == pattern.size() - 1 ? QChar(u'0') : pattern[i];
        if (!isPlace(c)) continue;
        if (first < 0) first = i;
        last = i;
        if (c == u'.') {
            point = true;
        } else if (!point) {
            wholeZeros += c == u'0';
        } else {
            ++decimals;
            decimalZeros += c == u'0';
        }
    }
    if (first < 0) return pattern;

    // Rounded from the exact binary value, a tie to the even digit (as the readouts have always
    // shown it); a zero keeps no sign, but a value rounded to zero keeps its own.
    char stack[128];
    std::string heap;
    std::string_view digits =
        printed(stack, heap, value == 0.0 ? 0.0 : value, std::chars_format::fixed, decimals);
    const bool negative = !digits.empty() && digits.front() == '-';
    if (negative) digits.remove_prefix(1);
    const std::size_t dot = digits.find('.');
    std::string_view whole = digits.substr(0, dot);
    std::string_view fraction =
        dot == std::string_view::npos ? std::string_view() : digits.substr(dot + 1);
    while (fraction.size() > static_cast<std::size_t>(decimalZeros) && fraction.back() == '0')
        fraction.remove_suffix(1);
    if (whole == "0" && wholeZeros == 0) whole = {};

    QString number;
    number.reserve(pattern.size() + static_cast<qsizetype>(digits.size()) + wholeZeros + 2);
    number += QStringView(pattern).left(first);
    if (negative) number += u'-';
    if (whole.size() < static_cast<std::size_t>(wholeZeros))
        number += QString(wholeZeros - static_cast<qsizetype>(whole.size()), u'0');
    number += QLatin1StringView(whole.data(), static_cast<qsizetype>(whole.size()));
    if (!fraction.empty()) {
        number += u'.';
        number += QLatin1StringView(fraction.data(), static_cast<qsizetype>(fraction.size()));
    }
    number += QStringView(pattern).mid(last + 1);
    return number;
}

}  // namespace

QString formatNumber(double value, const QString& pattern) {
    if (pattern.isEmpty()) return generalForm(value);
    if (!pattern.endsWith(u'5')) return byPattern(value, pattern, false);
    // The "5" stands for a digit place; the digit shown there is then brought down to 0 or 5,
    // so a reading never claims a resolution finer than the scale's half-step.
    QString shown = byPattern(value, pattern, true);
    if (!shown.isEmpty()) {
        const QChar lastChar = shown.back();
        const int digit = lastChar.isDigit() ? lastChar.digitValue() : 0;
        shown.back() = digit < 5 ? u'0' : u'5';
    }
    return shown;
}

}  // namespace gradel
