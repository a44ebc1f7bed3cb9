#include "base/NumberFormat.h"

#include <charconv>
#include <cstdio>
#include <string_view>
#include <string>

namespace gradel {

namespace {

// printf into a string of the right length (a pattern may ask for any number of places).
template <class... Args>
QString printed(const char* format, Args... args) {
    char buffer[64];  // every reading's number fits; a longer one is printed again below
    const int size = std::snprintf(buffer, sizeof buffer, format, args...);
    if (size <= 0) return {};
    if (size < static_cast<int>(sizeof buffer)) return QString::fromLatin1(buffer, size);
    std::string text(static_cast<std::size_t>(size), '\0');
    std::snprintf(text.data(), text.size() + 1, format, args...);
    return QString::fromStdString(text);
}

// At most seven significant digits, as a single-precision reading has; printf's %G drops the
// trailing zeros and switches to an exponent only from 1E+07 and below 1E-04.
QString generalForm(double value) {
    if (value == 0.0) return QStringLiteral("0");  // no "-0"
    return printed("%.7G", value);
}

bool isPlace(QChar c) {
    return c == u'0' || c == u'#' || c == u'.';
}

QString byPattern(double value, const QString& pattern) {
    qsizetype first = -1, last = -1;
    bool point = false;
    int wholeZeros = 0, decimals = 0, decimalZeros = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
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
    // shown it); a zero keeps no sign, but a value rounded to zero keeps its own. Printed into
    // a buffer on the stack: a readout formats its number at every frame.
    char buffer[128];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer,
                                            value == 0.0 ? 0.0 : value, std::chars_format::fixed,
                                            decimals);
    std::string printedDigits;
    std::string_view digits(buffer, static_cast<std::size_t>(end - buffer));
    if (error != std::errc{}) {  // a number too long for the buffer
        printedDigits = printed("%.*f", decimals, value == 0.0 ? 0.0 : value).toStdString();
        digits = printedDigits;
    }
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
    number += pattern.left(first);
    if (negative) number += u'-';
    if (whole.size() < static_cast<std::size_t>(wholeZeros))
        number += QString(wholeZeros - static_cast<qsizetype>(whole.size()), u'0');
    number += QLatin1StringView(whole.data(), static_cast<qsizetype>(whole.size()));
    if (!fraction.empty())
        number += u'.' + QLatin1StringView(fraction.data(), static_cast<qsizetype>(fraction.size()));
    return number + pattern.mid(last + 1);
}

}  // namespace

QString formatNumber(double value, const QString& pattern) {
    if (pattern.isEmpty()) return generalForm(value);
    if (!pattern.endsWith(u'5')) return byPattern(value, pattern);
    // The "5" stands for a digit place; the digit shown there is then brought down to 0 or 5,
    // so a reading never claims a resolution finer than the scale's half-step.
    QString shown = byPattern(value, pattern.left(pattern.size() - 1) + u'0');
    if (!shown.isEmpty()) {
        const QChar lastChar = shown.back();
        const int digit = lastChar.isDigit() ? lastChar.digitValue() : 0;
        shown.back() = digit < 5 ? u'0' : u'5';
    }
    return shown;
}

}  // namespace gradel
