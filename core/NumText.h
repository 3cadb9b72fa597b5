#pragma once

#include "core/CharClass.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
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

// A plain fixed-point text of at most 15 digits and 3 decimals, such as the
// graph window's grid holds by the thousand, read as StrToDouble reads it:
// as the quotient of two doubles that hold their integers exactly. The
// division rounds it correctly; and the long double that StrToFloat reads
// lies too far from any halfway point between two doubles to round to
// another one. Nothing for any other text.
inline std::optional<double> ReadShortFixed(std::string_view s) {
    constexpr std::size_t kMaxDigits = 15; // below 2^53: exact in a double
    static constexpr double kScale[] = {1, 10, 100, 1000};
    const bool negative = !s.empty() && s[0] == '-';
    if (!s.empty() && (s[0] == '-' || s[0] == '+'))
        s.remove_prefix(1);
    std::uint64_t mantissa = 0; // wraps past 19 digits, refused below
    std::size_t point = s.size();
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (IsDigit(s[i]))
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(s[i] - '0');
        else if (s[i] != '.' || point != s.size())
            return std::nullopt;
        else
            point = i;
    }
    const std::size_t decimals = point == s.size() ? 0 : s.size() - point - 1;
    const std::size_t digits = s.size() - (point == s.size() ? 0 : 1);
    if (digits == 0 || digits > kMaxDigits || decimals >= std::size(kScale))
        return std::nullopt;
    const double value = static_cast<double>(mantissa) / kScale[decimals];
    return negative ? -value : value;
}

// StrToDouble for the texts that ReadShortFixed leaves.
std::optional<double> StrToDoubleSlowly(std::string_view text);

// The value StrToFloat reads from `text`, rounded to a double; nothing
// where StrToFloat would raise ConvertError or the value lies beyond a
// double. Raises nothing.
inline std::optional<double> StrToDouble(std::string_view text) {
    if (const std::optional<double> value = ReadShortFixed(text))
        return value;
    return StrToDoubleSlowly(text);
}

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

// The same through the 18-digit text always; FloatToStrF takes a shorter way
// for two decimals of the values a log holds, with the same result.
std::string FloatToStrFSlowly(long double value, int precision, int digits);

} // namespace vorn
