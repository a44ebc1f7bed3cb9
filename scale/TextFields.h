#pragma once
// Small text helpers shared by the parser, the settings store and the window. They never touch
// a GUI and hold no state.
#include <optional>
#include <string>
#include <string_view>

namespace gradel::TextFields {

// Takes the next field off the front of `text`: returns what stands before the first
// `separator` and leaves in `text` what follows it. Without a separator the whole text is the
// field and `text` becomes empty. An empty separator returns "" and leaves `text` alone.
// Throws Failure(Fault::Overflow) when the separator is first found beyond position 32767.
std::string nextField(std::string& text, std::string_view separator);

// Keeps only the characters "0123456789.-+" of `text` and reads the leading number of what is
// kept: "Comm 3" gives 3, "1-2" gives 1, a text without digits gives 0.
double numericValue(std::string_view text);

// The leading number of a text: blanks, tabs and line feeds are ignored anywhere; "&H"/"&O"
// introduce hexadecimal/octal integers (up to 4 digits: signed 16-bit, 5 to 8: signed 32-bit,
// two's complement); otherwise an optional sign, digits with at most one ".", an optional
// exponent (E or D). Reading stops at the first character that cannot continue the number;
// no number gives 0. Never throws.
double leadingNumber(std::string_view text);

// The number when the whole of `text` (blanks, tabs and line feeds aside) is one number in the
// form leadingNumber reads, else nothing: "2" and " -1.5 " are numbers, "", "2x" and "x" are not.
std::optional<double> wholeNumber(std::string_view text);

}  // namespace gradel::TextFields
