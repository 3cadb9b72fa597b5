#pragma once

// Decimal numbers read from another program's file, computed exactly: a
// weight in pounds becomes kilograms and a fat mass a percentage without a
// detour through binary floating point, so that the two decimals kept are
// those of the true value.

#include <optional>
#include <string>
#include <string_view>

namespace vorn {

// digits × 10^-scale, with its sign; digits has no leading zeros ("" is 0).
struct ExactDecimal {
    bool negative = false;
    std::string digits;
    int scale = 0;
};

// An optional sign, digits, and at most one decimal point (or `point`, when
// given, such as a decimal comma), at least one digit in all; blanks around
// it are allowed. Nothing for anything else, or for more than 30 digits.
std::optional<ExactDecimal> ParseExactDecimal(std::string_view text, char point = '.');

// The product, exactly.
ExactDecimal Multiply(const ExactDecimal& a, const ExactDecimal& b);

// value × 10^power, exactly.
ExactDecimal ShiftDecimal(ExactDecimal value, int power);

bool IsZero(const ExactDecimal& value);

// Rounded half away from zero to two decimals: "72.81", "-0.50", "0.00".
std::string RoundToHundredths(const ExactDecimal& value);

// part / whole × 100, rounded half away from zero to two decimals; nothing
// when whole is zero.
std::optional<std::string> PercentOf(const ExactDecimal& part, const ExactDecimal& whole);

// Pounds (avoirdupois, 0.45359237 kg) and stones (14 pounds) in kilograms.
ExactDecimal PoundsToKilograms(const ExactDecimal& pounds);
ExactDecimal StonesToKilograms(const ExactDecimal& stones);

} // namespace vorn
