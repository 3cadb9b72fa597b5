#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vorn {

// Locale-independent number text. "." is the decimal point whatever the
// user's locale says.

// Reads a decimal number: optional blanks (space or tab), an optional sign,
// digits with at most one period (at least one digit in all), an optional
// exponent ("e" or "E", optional sign, digits), optional blanks. Anything
// else, or a value too large for long double, raises ConvertError with a
// Japanese message naming the text.
long double StrToFloat(std::string_view text);

// The value StrToFloat reads from `text`, rounded to a double; nothing
// where StrToFloat would raise ConvertError or the value lies beyond a
// double. Raises nothing, and reads short fixed-point texts quickly.
std::optional<double> StrToDouble(std::string_view text);

// Reads a decimal integer (optional blanks, optional sign, digits) that fits
// in an int; raises ConvertError otherwise.
int StrToInt(std::string_view text);

std::string IntToStr(long long value);

// Fixed-point text: rounds the decimal that the value stands for (its text
// at 18 significant digits) to at most `precision` significant digits and at
// most `digits` decimals, whichever leaves fewer, halves away from zero, and
// writes exactly `digits` decimals. So 1.005 read from text gives "1.01" at
// two decimals, although its binary value lies just below 1.005. A value whose
// integer part needs more than `precision` digits is written in scientific
// form, "1.000E+4" (precision significant digits). Non-finite values give
// "INF", "-INF" or "NAN". A value that rounds to zero has no minus sign.
std::string FloatToStrF(long double value, int precision, int digits);

} // namespace vorn
