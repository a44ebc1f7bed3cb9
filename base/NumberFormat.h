#pragma once
// Numbers as the readouts and the function-key labels show them.
#include <QString>

namespace gradel {

// `value` by a numeric pattern: '0' is a digit place always shown, '#' one shown only when
// needed, '.' the decimal point; text before the first and after the last place is copied.
// A pattern ending in "5" ("0.0005") shows only 0 or 5 in its last place, brought down in
// magnitude with the sign kept. An empty pattern gives the general form: at most seven
// significant digits, no trailing zeros, an exponent only for very large or small values.
QString formatNumber(double value, const QString& pattern);

}  // namespace gradel
