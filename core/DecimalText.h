#pragma once

// Decimal number texts, read the same way everywhere: by the number
// conversions, the log reader and the fuzz targets' references. "." is the
// decimal point whatever the process locale says.

#include <locale.h>
#include <optional>
#include <string_view>

namespace vorn {

// Whether `text` is, whole: an optional sign, digits with at most one period
// (at least one digit in all), then optionally an exponent ("e" or "E", an
// optional sign, digits). No blanks, no "inf", "nan" or hexadecimal.
bool IsDecimalNumber(std::string_view text);

// The C locale, for C's own conversions (strtod_l, strtold_l, and printf
// under uselocale) whatever the process locale is.
locale_t CLocale();

// A text that IsDecimalNumber accepts, read as C's strtod (strtold) reads it
// in the C locale: correctly rounded. Nothing when the text is not such a
// number or its value is beyond the type's range.
std::optional<double> ReadDouble(std::string_view text);
std::optional<long double> ReadLongDouble(std::string_view text);

} // namespace vorn
