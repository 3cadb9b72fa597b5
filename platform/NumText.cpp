#include "platform/NumText.h"

#include "platform/Errors.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <stdexcept>

namespace vorn {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

[[noreturn]] void notANumber(std::string_view text) {
    throw ConvertError("'" + std::string(text) + "' は有効な数値ではありません。");
}

// True when s is: sign? digits* ('.' digits*)? with at least one digit,
// then optionally an exponent.
bool isDecimalNumber(std::string_view s) {
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    size_t digits = 0;
    while (i < s.size() && isDigit(s[i])) {
        ++i;
        ++digits;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        size_t expDigits = 0;
        while (i < s.size() && isDigit(s[i])) {
            ++i;
            ++expDigits;
        }
        if (expDigits == 0)
            return false;
    }
    return i == s.size();
}

locale_t cLocale() {
    static locale_t loc = newlocale(LC_ALL_MASK, "C", locale_t(0));
    return loc;
}

} // namespace

long double StrToFloat(std::string_view text) {
    const std::string_view body = trimBlanks(text);
    if (!isDecimalNumber(body))
        notANumber(text);
    const std::string copy(body); // strtold needs a terminated string
    char* end = nullptr;
    const long double value = strtold_l(copy.c_str(), &end, cLocale());
    if (end != copy.c_str() + copy.size() || !std::isfinite(value))
        notANumber(text);
    return value;
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
        if (!isDigit(c) || value > 10'000'000'000LL)
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

std::string FloatToStrF(long double value, int precision, int digits) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (precision < 1)
        precision = 1;
    if (precision > 18)
        precision = 18;
    if (digits < 0)
        digits = 0;
    if (digits > 18)
        digits = 18;

    const bool negative = std::signbit(value);
    const long double magnitude = std::fabs(value);

    // Forty significant digits: far more than a long double carries, so a
    // value next to a rounding tie is never mistaken for the tie itself.
    std::string mant; // decimal digits d1 d2 d3 ... with value = 0.d1d2d3... * 10^exp10
    int exp10 = 0;
    if (magnitude != 0) {
        char buf[128];
        // A value that a double holds exactly (every float does) prints the
        // same digits through the double conversion, which is much faster.
        const auto asDouble = static_cast<double>(magnitude);
        auto res =
            static_cast<long double>(asDouble) == magnitude
                ? std::to_chars(buf, buf + sizeof buf, asDouble, std::chars_format::scientific, 40)
                : std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific,
                                40);
        std::string_view sci(buf, static_cast<size_t>(res.ptr - buf));
        const size_t e = sci.find('e');
        for (char c : sci.substr(0, e))
            if (isDigit(c))
                mant.push_back(c);
        int sciExp = 0;
        std::from_chars(sci.data() + e + 1 + (sci[e + 1] == '+' ? 1 : 0), sci.data() + sci.size(),
                        sciExp);
        exp10 = sciExp + 1;
    }

    // Round at the position that keeps at most `precision` significant
    // digits and at most `digits` decimals, halves away from zero.
    std::string kept;
    if (!mant.empty()) {
        const int pos = std::min(precision, exp10 + digits);
        if (pos >= 0) {
            kept = mant.substr(0, static_cast<size_t>(pos));
            if (mant[static_cast<size_t>(pos)] >= '5') {
                int i = pos - 1;
                while (i >= 0 && kept[static_cast<size_t>(i)] == '9') {
                    kept[static_cast<size_t>(i)] = '0';
                    --i;
                }
                if (i >= 0) {
                    ++kept[static_cast<size_t>(i)];
                } else {
                    kept.insert(kept.begin(), '1');
                    ++exp10;
                }
            }
        }
        if (kept.find_first_not_of('0') == std::string::npos)
            kept.clear(); // rounded to zero
    }

    std::string out;
    if (kept.empty()) {
        out = "0";
        if (digits > 0) {
            out += '.';
            out.append(static_cast<size_t>(digits), '0');
        }
        return out;
    }
    if (negative)
        out = "-";

    if (exp10 > precision) {
        // Scientific form: d.ddd with precision significant digits.
        std::string sig = kept;
        sig.resize(static_cast<size_t>(precision), '0');
        out += sig[0];
        if (precision > 1)
            out.append(".").append(sig, 1, std::string::npos);
        out += "E+" + std::to_string(exp10 - 1);
        return out;
    }

    // Fixed form.
    auto digitAt = [&](int i) { // i-th decimal digit of the rounded value, 0-based
        return i >= 0 && i < static_cast<int>(kept.size()) ? kept[static_cast<size_t>(i)] : '0';
    };
    if (exp10 <= 0) {
        out += "0";
    } else {
        for (int i = 0; i < exp10; ++i)
            out += digitAt(i);
    }
    if (digits > 0) {
        out += ".";
        for (int i = 0; i < digits; ++i)
            out += digitAt(exp10 + i);
    }
    return out;
}

std::string FormatDateTime(std::string_view pattern, const LocalTime& t) {
    auto two = [](int v) {
        std::string s = std::to_string(v);
        return s.size() < 2 ? "0" + s : s;
    };
    if (pattern == "mm")
        return two(t.month);
    if (pattern == "dd")
        return two(t.day);
    if (pattern == "hh")
        return two(t.hour);
    throw std::invalid_argument("unsupported date pattern");
}

} // namespace vorn
