#include "ReadBack.h"
#include "core/DecimalText.h"

#include "core/Errors.h"
#include "core/NumText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace vorn::fuzz {
namespace {

// C's own reading of a decimal text: correctly rounded, hence monotonic, and
// infinite beyond the range of long double.
long double readC(const std::string& s) {
    return strtold_l(s.c_str(), nullptr, CLocale());
}

bool allDigits(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// n - 1 for a decimal integer n >= 1.
std::string decrement(std::string n) {
    std::size_t i = n.size() - 1;
    while (n[i] == '0')
        n[i--] = '9';
    --n[i];
    const std::size_t first = n.find_first_not_of('0');
    return first == std::string::npos ? "0" : n.substr(first);
}

// The decimal that FloatToStrF rounds: the value's text at 18 significant
// digits, read back; the value itself where that text lies beyond the
// largest long double.
long double standsFor(long double v) {
    char buf[64];
    const locale_t previous = uselocale(CLocale());
    std::snprintf(buf, sizeof buf, "%.17Le", v);
    uselocale(previous);
    const long double at18 = readC(buf);
    return std::isinf(at18) ? v : at18;
}

std::string describe(long double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.21Lg (%La)", v, v);
    return buf;
}

} // namespace

std::string CheckFloatText(long double value, int precision, int digits, const std::string& text) {
    auto fail = [&](const std::string& why) {
        return why + ": \"" + text + "\" for " + describe(value) + ", precision " +
               std::to_string(precision) + ", digits " + std::to_string(digits);
    };
    if (std::isnan(value))
        return text == "NAN" ? "" : fail("not NAN");
    if (std::isinf(value))
        return text == (value < 0 ? "-INF" : "INF") ? "" : fail("not INF");

    // Every digit written, the place (power of ten) of the first of them and
    // whether the text is in exponent form.
    const bool minus = !text.empty() && text[0] == '-';
    const std::size_t from = minus ? 1 : 0;
    std::string all;
    int leadPlace = 0;
    const std::size_t e = text.find('E');
    const bool scientific = e != std::string::npos;
    if (!scientific) {
        const std::size_t dot = text.find('.');
        const std::string whole = text.substr(from, dot == std::string::npos ? dot : dot - from);
        const std::string decimals = dot == std::string::npos ? "" : text.substr(dot + 1);
        if (whole.empty() || !allDigits(whole) || !allDigits(decimals))
            return fail("not a fixed-point number");
        if ((dot == std::string::npos) != (digits == 0) ||
            decimals.size() != static_cast<std::size_t>(digits))
            return fail("not exactly that many decimals");
        if (whole.size() > 1 && whole[0] == '0')
            return fail("leading zero");
        all = whole + decimals;
        leadPlace = static_cast<int>(whole.size()) - 1;
    } else {
        const std::string mantissa = text.substr(from, e - from);
        const std::string exponent = text.substr(e + 1);
        if (mantissa.empty() || mantissa[0] < '1' || mantissa[0] > '9')
            return fail("exponent form without a leading digit 1 to 9");
        all = mantissa.substr(0, 1);
        if (precision > 1) {
            if (mantissa.size() != static_cast<std::size_t>(precision) + 1 || mantissa[1] != '.')
                return fail("exponent form without precision digits");
            all += mantissa.substr(2);
        } else if (mantissa.size() != 1) {
            return fail("exponent form without precision digits");
        }
        if (exponent.size() < 2 || exponent.size() > 6 || exponent[0] != '+' ||
            !allDigits(exponent.substr(1)) || !allDigits(all))
            return fail("malformed exponent form");
        leadPlace = std::stoi(exponent.substr(1));
        if (leadPlace < precision)
            return fail("exponent form for a number whose integer part fits the precision");
    }

    // A text beyond the largest long double (the largest values rounded up
    // at a low precision) cannot be read back: StrToFloat must refuse it.
    std::optional<long double> back;
    try {
        back = StrToFloat(text);
    } catch (const ConvertError&) {
    }
    const long double exact = readC(text);
    if (std::isinf(exact) && back)
        return fail("StrToFloat reads a text beyond the largest long double");
    if (!std::isinf(exact) && !back)
        return fail("StrToFloat refuses it");
    if (back && *back != exact)
        return fail("StrToFloat reads it otherwise than C");

    // Rounded from the value's 18-digit decimal, the text may lie a little
    // more than half a unit from the binary value, never from that decimal.
    const long double magnitude = standsFor(std::fabs(value));
    const std::size_t first = all.find_first_not_of('0');
    if (first == std::string::npos) {
        // Rounded to zero: no sign, and less than half the last decimal.
        if (minus)
            return fail("zero with a minus sign");
        if (magnitude > readC("5E" + std::to_string(-digits - 1)))
            return fail("zero for half a unit or more");
        return "";
    }
    if (minus != (value < 0))
        return fail("wrong sign");

    // The place of the last significant digit: precision digits from the
    // first one, and no further than the last decimal.
    const int lead = leadPlace - static_cast<int>(first);
    if (!scientific && lead + 1 > precision)
        return fail("fixed form with more integer digits than the precision");
    const int floor = scientific ? lead - precision + 1 : -digits;
    int unitPlace = std::max(floor, lead - precision + 1);
    // A carry (9.996 to 10.00) moves the first digit up a place: the value is
    // then below the text, and it was rounded at one place lower.
    const bool powerOfTen =
        all[first] == '1' && all.find_first_not_of('0', first + 1) == std::string::npos;
    if (powerOfTen && magnitude < readC(text.substr(from)))
        unitPlace = scientific ? unitPlace - 1 : std::max(floor, unitPlace - 1);

    // The digits beyond that place are padding.
    std::string kept;
    for (std::size_t k = first; k < all.size(); ++k) {
        const int place = leadPlace - static_cast<int>(k);
        if (place >= unitPlace)
            kept += all[k];
        else if (all[k] != '0')
            return fail("more significant digits than allowed");
    }
    const int lastPlace = leadPlace - static_cast<int>(all.size()) + 1;
    if (lastPlace > unitPlace)
        kept += std::string(static_cast<std::size_t>(lastPlace - unitPlace), '0');

    // Half a unit either side of the text: kept*10 -+ 5 at the place below.
    const std::string scale = "E" + std::to_string(unitPlace - 1);
    const long double lower = readC(decrement(kept) + "5" + scale);
    const long double upper = readC(kept + "5" + scale);
    if (magnitude < lower || magnitude > upper)
        return fail("more than half a unit (10^" + std::to_string(unitPlace) + ") away");
    return "";
}

void Fail(const std::string& what) {
    std::fprintf(stderr, "\nPROPERTY FAILED: %s\n", what.c_str());
    std::abort();
}

void Require(const std::string& what) {
    if (!what.empty())
        Fail(what);
}

} // namespace vorn::fuzz
