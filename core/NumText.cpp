#include "core/NumText.h"

#include "core/CharClass.h"
#include "core/DecimalText.h"
#include "core/Errors.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>

namespace vorn {
namespace {

// Significant digits of the decimal text that a value stands for: more than
// a double needs to be told apart (17), fewer than a long double (21), so
// that a decimal typed with up to 18 digits comes back as typed.
constexpr int kTextDigits = 18;

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

[[noreturn]] void notANumber(std::string_view text) {
    throw ConvertError("'" + std::string(text) + "' は有効な数値ではありません。");
}

__extension__ typedef unsigned __int128 Wide;

// 10^0 .. 10^22.
constexpr std::array<Wide, 23> kPowersOfTen = [] {
    std::array<Wide, 23> powers{};
    Wide p = 1;
    for (Wide& power : powers) {
        power = p;
        p *= 10;
    }
    return powers;
}();

// The text of a double at kTextDigits significant digits, as to_chars
// writes it at that precision: 0.d1d2...d18 * 10^exp10, the exact binary
// value rounded to nearest, an exact tie to even. For the values between
// 1e-5 and 1e17, those of a log among them, the value times a power of ten
// is a 128-bit integer and the digits are its quotient, several times faster
// than the general conversion. False for any other value.
bool DoubleDigits(double magnitude, char (&mant)[kTextDigits], int& exp10) {
    if (!(magnitude >= 1e-5 && magnitude < 1e17))
        return false;
    std::uint64_t bits = 0;
    std::memcpy(&bits, &magnitude, sizeof bits);
    const int e = static_cast<int>(bits >> 52) - 1075; // magnitude = m * 2^e
    const std::uint64_t m = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    constexpr Wide kLow = kPowersOfTen[kTextDigits - 1];
    constexpr Wide kHigh = kPowersOfTen[kTextDigits];
    // 10^k <= magnitude < 10^(k + 1): guessed from the binary exponent,
    // which leaves it one too low at most, and checked on the quotient.
    int k = static_cast<int>(std::floor((e + 52) * 0.30102999566398120));
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int s = kTextDigits - 1 - k; // magnitude * 10^s has 18 digits before the point
        if (s < 0 || s >= static_cast<int>(kPowersOfTen.size()))
            return false;
        Wide q = 0;
        bool up = false;
        if (e >= 0) {
            q = (Wide{m} << e) * kPowersOfTen[static_cast<std::size_t>(s)];
        } else {
            const Wide n = Wide{m} * kPowersOfTen[static_cast<std::size_t>(s)];
            const int shift = -e;
            q = n >> shift;
            const Wide rest = n & ((Wide{1} << shift) - 1);
            const Wide half = Wide{1} << (shift - 1);
            up = rest > half || (rest == half && (q & 1) != 0);
        }
        if (q < kLow) {
            --k;
            continue;
        }
        if (q >= kHigh) {
            ++k;
            continue;
        }
        if (up && ++q == kHigh) {
            q = kLow;
            ++k;
        }
        auto digits = static_cast<std::uint64_t>(q);
        for (int i = kTextDigits - 1; i >= 0; --i) {
            mant[i] = static_cast<char>('0' + digits % 10);
            digits /= 10;
        }
        exp10 = k + 1;
        return true;
    }
    return false;
}

} // namespace

long double StrToFloat(std::string_view text) {
    if (const std::optional<long double> value = ReadLongDouble(trimBlanks(text)))
        return *value;
    notANumber(text);
}

std::optional<double> StrToDoubleSlowly(std::string_view text) {
    const std::string_view body = trimBlanks(text);
    if (const std::optional<double> value = ReadShortFixed(body))
        return value;
    const std::optional<long double> value = ReadLongDouble(body);
    if (!value || !std::isfinite(static_cast<double>(*value)))
        return std::nullopt;
    return static_cast<double>(*value);
}

int StrToInt(std::string_view text) {
    std::string_view body = trimBlanks(text);
    bool negative = false;
    if (!body.empty() && (body.front() == '+' || body.front() == '-')) {
        negative = body.front() == '-';
        body.remove_prefix(1);
    }
    if (body.empty())
        throw ConvertError("'" + std::string(text) + "' は有効な整数ではありません。");
    long long value = 0;
    for (char c : body) {
        if (!IsDigit(c) || value > 10'000'000'000LL)
            throw ConvertError("'" + std::string(text) + "' は有効な整数ではありません。");
        value = value * 10 + (c - '0');
    }
    if (negative)
        value = -value;
    if (value < INT32_MIN || value > INT32_MAX)
        throw ConvertError("'" + std::string(text) + "' は有効な整数ではありません。");
    return static_cast<int>(value);
}

std::string IntToStr(long long value) {
    return std::to_string(value);
}

namespace {

// Two decimals of a double below 1000 in magnitude, rounded at once from its
// binary value, when the rounding keeps both decimals and leaves a digit
// that is not 0. The 18-digit text that FloatToStrFSlowly rounds lies on
// the same side of every tie of two decimals as the value itself: such a
// double below 1000 lies either on the tie or farther from it than half a
// unit of the text's last digit. Nothing otherwise.
std::optional<std::string> TwoDecimals(long double value, int precision) {
    const long double magnitude = std::fabs(value);
    if (!(magnitude >= 0.01L && magnitude < 1000) ||
        static_cast<long double>(static_cast<double>(magnitude)) != magnitude)
        return std::nullopt;
    // Exact: 53 bits of the double and 7 of the 100 fit in the 64 of a long
    // double.
    const long double scaled = magnitude * 100;
    const long double whole = std::floor(scaled);
    const auto hundredths =
        static_cast<unsigned long long>(whole) + (scaled - whole >= 0.5L ? 1 : 0);
    const auto integerDigits = [](unsigned long long h) {
        return h < 100 ? 0 : h < 1000 ? 1 : h < 10000 ? 2 : h < 100000 ? 3 : 4;
    };
    if (integerDigits(hundredths) + 2 > precision ||
        integerDigits(static_cast<unsigned long long>(whole)) + 2 > precision)
        return std::nullopt;
    char out[16];
    char* end = out;
    if (std::signbit(value))
        *end++ = '-';
    end = std::to_chars(end, out + sizeof out, hundredths / 100).ptr;
    *end++ = '.';
    *end++ = static_cast<char>('0' + hundredths / 10 % 10);
    *end++ = static_cast<char>('0' + hundredths % 10);
    return std::string(out, end);
}

} // namespace

std::string FloatToStrF(long double value, int precision, int digits) {
    if (digits == 2 && precision >= 2)
        if (std::optional<std::string> text = TwoDecimals(value, std::min(precision, kTextDigits)))
            return std::move(*text);
    return FloatToStrFSlowly(value, precision, digits);
}

namespace {

// The decimal that a magnitude other than 0 stands for, 0.d1d2...d18 *
// 10^exp10: its text at 18 significant digits, the binary value rounded to
// nearest (an exact tie to even, as printf does). That text, not the binary
// value, is what gets rounded, so that 1.005 typed (in binary just below
// 1.005) rounds up as it reads. A float never lies that close to a tie of the
// few digits shown, so the values of a measurement round as their exact
// binary value would.
void TextDigits(long double magnitude, char (&mant)[kTextDigits], int& exp10) {
    // A value that a double holds exactly (every float does) has the same
    // text through the double conversion, which is much faster.
    const auto asDouble = static_cast<double>(magnitude);
    const bool isDouble = static_cast<long double>(asDouble) == magnitude;
    if (isDouble && DoubleDigits(asDouble, mant, exp10))
        return;
    char buf[48];
    const auto res = isDouble ? std::to_chars(buf, buf + sizeof buf, asDouble,
                                              std::chars_format::scientific, kTextDigits - 1)
                              : std::to_chars(buf, buf + sizeof buf, magnitude,
                                              std::chars_format::scientific, kTextDigits - 1);
    // buf holds d.ddddddddddddddddde+XX (or e-XX).
    mant[0] = buf[0];
    std::copy(buf + 2, buf + 1 + kTextDigits, mant + 1);
    const char* expText = buf + 2 + kTextDigits;
    if (*expText == '+')
        ++expText;
    int sciExp = 0;
    std::from_chars(expText, res.ptr, sciExp);
    exp10 = sciExp + 1;
}

// The digits a text keeps once rounded, 0.d1...dcount * 10^exp10.
struct KeptDigits {
    char digit[kTextDigits + 1] = {};
    int count = 0;
    int exp10 = 0;
    bool nonZero = false;
    char at(int i) const { return i >= 0 && i < count ? digit[i] : '0'; }
};

// Rounds the text at the position that keeps at most `precision` significant
// digits and at most `digits` decimals, halves away from zero.
KeptDigits RoundText(const char (&mant)[kTextDigits], int exp10, int precision, int digits) {
    KeptDigits kept;
    kept.exp10 = exp10;
    const int pos = std::min(precision, exp10 + digits);
    if (pos >= 0) {
        kept.count = pos;
        std::copy(mant, mant + pos, kept.digit);
        if (pos < kTextDigits && mant[pos] >= '5') {
            int i = pos - 1;
            while (i >= 0 && kept.digit[i] == '9')
                kept.digit[i--] = '0';
            if (i >= 0) {
                ++kept.digit[i];
            } else {
                std::copy_backward(kept.digit, kept.digit + kept.count,
                                   kept.digit + kept.count + 1);
                kept.digit[0] = '1';
                ++kept.count;
                ++kept.exp10;
            }
        }
    }
    kept.nonZero =
        std::any_of(kept.digit, kept.digit + kept.count, [](char c) { return c != '0'; });
    return kept;
}

// d.ddd with `precision` significant digits, then E+ and the exponent.
std::string ScientificText(const KeptDigits& kept, bool negative, int precision) {
    char out[64];
    int n = 0;
    if (negative)
        out[n++] = '-';
    out[n++] = kept.digit[0];
    if (precision > 1) {
        out[n++] = '.';
        for (int i = 1; i < precision; ++i)
            out[n++] = kept.at(i);
    }
    out[n++] = 'E';
    out[n++] = '+';
    n = static_cast<int>(std::to_chars(out + n, out + sizeof out, kept.exp10 - 1).ptr - out);
    return std::string(out, static_cast<size_t>(n));
}

// The integer digits, then `digits` decimals; a value rounded to 0 is 0.00.
std::string FixedText(const KeptDigits& kept, bool negative, int digits) {
    char out[64];
    int n = 0;
    if (kept.nonZero && negative)
        out[n++] = '-';
    const int exp10 = kept.nonZero ? kept.exp10 : 0;
    if (exp10 <= 0)
        out[n++] = '0';
    for (int i = 0; i < exp10; ++i)
        out[n++] = kept.at(i);
    if (digits > 0) {
        out[n++] = '.';
        for (int i = 0; i < digits; ++i)
            out[n++] = kept.nonZero ? kept.at(exp10 + i) : '0';
    }
    return std::string(out, static_cast<size_t>(n));
}

} // namespace

std::string FloatToStrFSlowly(long double value, int precision, int digits) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    precision = std::clamp(precision, 1, kTextDigits);
    digits = std::clamp(digits, 0, kTextDigits);
    const long double magnitude = std::fabs(value);
    KeptDigits kept;
    if (magnitude != 0) {
        char mant[kTextDigits];
        int exp10 = 0;
        TextDigits(magnitude, mant, exp10);
        kept = RoundText(mant, exp10, precision, digits);
    }
    const bool negative = std::signbit(value);
    if (kept.nonZero && kept.exp10 > precision)
        return ScientificText(kept, negative, precision);
    return FixedText(kept, negative, digits);
}

} // namespace vorn
