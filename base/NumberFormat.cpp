#include "base/NumberFormat.h"

#include <cstdio>
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
    // shown it); a zero keeps no sign, but a value rounded to zero keeps its own.
    QString digits = printed("%.*f", decimals, value == 0.0 ? 0.0 : value);
    const bool negative = digits.startsWith(u'-');
    if (negative) digits.remove(0, 1);
    QString whole = digits.section(u'.', 0, 0);
    QString fraction = digits.section(u'.', 1);
    while (fraction.size() > decimalZeros && fraction.endsWith(u'0')) fraction.chop(1);
    if (whole == u"0" && wholeZeros == 0) whole.clear();
    if (whole.size() < wholeZeros) whole.prepend(QString(wholeZeros - whole.size(), u'0'));

    QString number = negative ? u'-' + whole : whole;
    if (!fraction.isEmpty()) number += u'.' + fraction;
    return pattern.left(first) + number + pattern.mid(last + 1);
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
