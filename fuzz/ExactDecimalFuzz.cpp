// The exact decimals of the import and its dates on arbitrary text. A
// number is rounded to the hundredth nearest its value (compared with
// long double where the text has few enough digits for it to be exact to
// well below a hundredth), in kilograms from pounds too, and a percentage
// of two numbers likewise; a date read as real names a real moment.
//
// Input: byte 0 picks the decimal point; the rest is split at the first
// "|" into two texts.

#include "ReadBack.h"
#include "import/ExactDecimal.h"
#include "import/ImportMoment.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace vorn;
using vorn::fuzz::Fail;

namespace {

long double Value(const std::string& text) {
    return std::strtold(text.c_str(), nullptr);
}

// The rounded text lies within half a hundredth (and a little for long
// double's own error) of `exact`.
void Near(const std::string& rounded, long double exact, const std::string& what) {
    const long double slack = 0.005L + std::fabs(exact) * 1e-16L + 1e-15L;
    if (std::fabs(Value(rounded) - exact) > slack)
        Fail(what + " rounded to " + rounded);
}

std::size_t Digits(const ExactDecimal& d) {
    return d.digits.size();
}

// The value as C reads it: "-12.345".
std::string PlainText(const ExactDecimal& d) {
    std::string digits = d.digits.empty() ? "0" : d.digits;
    const auto scale = static_cast<std::size_t>(d.scale);
    if (scale > 0) {
        if (digits.size() <= scale)
            digits.insert(0, scale + 1 - digits.size(), '0');
        digits.insert(digits.size() - scale, ".");
    }
    return (d.negative ? "-" : "") + digits;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const char point = data[0] % 2 ? ',' : '.';
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t bar = text.find('|');
    const std::string first = text.substr(0, bar);
    const std::string second = bar == std::string::npos ? "" : text.substr(bar + 1);

    const ReadMoment moment = ReadWrittenMoment(first);
    if (moment.result == MomentRead::Ok) {
        if (!IsRealMoment(moment.moment))
            Fail("a moment read as real that is not");
        ToLocalTime(moment.moment);
    }

    const auto a = ParseExactDecimal(first, point);
    if (!a)
        return 0;
    const std::string plain = PlainText(*a);
    if (Digits(*a) <= 15) {
        Near(RoundToHundredths(*a), Value(plain), "text " + plain);
        Near(RoundToHundredths(PoundsToKilograms(*a)), Value(plain) * 0.45359237L,
             "pounds " + plain);
    }
    const auto b = ParseExactDecimal(second, point);
    if (b && Digits(*a) <= 12 && Digits(*b) <= 12 && a->scale <= 6 && b->scale <= 6) {
        const auto percent = PercentOf(*a, *b);
        if (IsZero(*b) == percent.has_value())
            Fail("a percentage of zero, or none of a number");
        if (percent)
            Near(*percent, Value(plain) / Value(PlainText(*b)) * 100.0L, "percentage of " + plain);
    }
    return 0;
}
