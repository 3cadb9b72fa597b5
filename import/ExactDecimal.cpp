#include "import/ExactDecimal.h"

#include <algorithm>
#include <vector>

namespace vorn {
namespace {

constexpr std::size_t kMostDigits = 30;

std::string TrimLeadingZeros(std::string digits) {
    const std::size_t first = digits.find_first_not_of('0');
    return first == std::string::npos ? std::string() : digits.substr(first);
}

// Natural numbers as digit texts, most significant first, without leading
// zeros: the few operations the conversions need.
int CompareNatural(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

// a - b, for a >= b.
std::string SubtractNatural(const std::string& a, const std::string& b) {
    std::string out = a;
    int borrow = 0;
    for (std::size_t k = 0; k < out.size(); ++k) {
        const std::size_t i = out.size() - 1 - k;
        int d = out[i] - '0' - borrow - (k < b.size() ? b[b.size() - 1 - k] - '0' : 0);
        borrow = d < 0 ? 1 : 0;
        out[i] = static_cast<char>('0' + d + 10 * borrow);
    }
    return TrimLeadingZeros(out);
}

std::string MultiplyNatural(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty())
        return "";
    std::vector<int> sum(a.size() + b.size(), 0);
    for (std::size_t i = 0; i < a.size(); ++i)
        for (std::size_t j = 0; j < b.size(); ++j)
            sum[i + j + 1] += (a[i] - '0') * (b[j] - '0');
    for (std::size_t k = sum.size() - 1; k > 0; --k) {
        sum[k - 1] += sum[k] / 10;
        sum[k] %= 10;
    }
    std::string out;
    for (const int d : sum)
        out += static_cast<char>('0' + d);
    return TrimLeadingZeros(out);
}

std::string AddOne(const std::string& digits) {
    std::string out = digits.empty() ? "0" : digits;
    for (std::size_t k = out.size(); k-- > 0;) {
        if (out[k] != '9') {
            ++out[k];
            return out;
        }
        out[k] = '0';
    }
    return "1" + out;
}

// Hundredths, rounded half away from zero already, as "12.34".
std::string HundredthsText(bool negative, std::string hundredths) {
    if (hundredths.size() < 3)
        hundredths.insert(0, 3 - hundredths.size(), '0');
    std::string text = hundredths.substr(0, hundredths.size() - 2) + "." +
                       hundredths.substr(hundredths.size() - 2);
    const bool zero = hundredths.find_first_not_of('0') == std::string::npos;
    return (negative && !zero ? "-" : "") + text;
}

} // namespace

std::optional<ExactDecimal> ParseExactDecimal(std::string_view text, char point) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    ExactDecimal value;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        value.negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::string digits;
    bool seenPoint = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            digits += c;
            value.scale += seenPoint ? 1 : 0;
        } else if (c == point && !seenPoint) {
            seenPoint = true;
        } else {
            return std::nullopt;
        }
    }
    if (digits.empty() || digits.size() > kMostDigits)
        return std::nullopt;
    value.digits = TrimLeadingZeros(digits);
    return value;
}

ExactDecimal Multiply(const ExactDecimal& a, const ExactDecimal& b) {
    return {a.negative != b.negative, MultiplyNatural(a.digits, b.digits), a.scale + b.scale};
}

ExactDecimal ShiftDecimal(ExactDecimal value, int power) {
    value.scale -= power;
    if (value.scale < 0) {
        if (!value.digits.empty())
            value.digits.append(static_cast<std::size_t>(-value.scale), '0');
        value.scale = 0;
    }
    return value;
}

bool IsZero(const ExactDecimal& value) {
    return value.digits.empty();
}

std::string RoundToHundredths(const ExactDecimal& value) {
    std::string digits = value.digits;
    if (value.scale <= 2) {
        if (!digits.empty())
            digits.append(static_cast<std::size_t>(2 - value.scale), '0');
        return HundredthsText(value.negative, digits);
    }
    const std::size_t dropped = static_cast<std::size_t>(value.scale - 2);
    if (digits.size() < dropped)
        digits.insert(0, dropped - digits.size(), '0');
    const bool up = digits[digits.size() - dropped] >= '5';
    std::string kept = TrimLeadingZeros(digits.substr(0, digits.size() - dropped));
    return HundredthsText(value.negative, up ? AddOne(kept) : kept);
}

std::optional<std::string> PercentOf(const ExactDecimal& part, const ExactDecimal& whole) {
    if (IsZero(whole))
        return std::nullopt;
    // part/whole × 10^4 hundredths = (p × 10^(sw + 4)) / (w × 10^sp).
    std::string numerator = part.digits;
    if (!numerator.empty())
        numerator.append(static_cast<std::size_t>(whole.scale + 4), '0');
    std::string denominator = whole.digits;
    denominator.append(static_cast<std::size_t>(part.scale), '0');

    std::string quotient;
    std::string remainder;
    for (const char d : numerator) {
        remainder = TrimLeadingZeros(remainder + d);
        char q = '0';
        while (CompareNatural(remainder, denominator) >= 0) {
            remainder = SubtractNatural(remainder, denominator);
            ++q;
        }
        quotient += q;
    }
    quotient = TrimLeadingZeros(quotient);
    const std::string twice = MultiplyNatural(remainder, "2");
    if (CompareNatural(twice, denominator) >= 0)
        quotient = AddOne(quotient);
    return HundredthsText(part.negative != whole.negative, quotient);
}

ExactDecimal PoundsToKilograms(const ExactDecimal& pounds) {
    return Multiply(pounds, ExactDecimal{false, "45359237", 8});
}

ExactDecimal StonesToKilograms(const ExactDecimal& stones) {
    return Multiply(stones, ExactDecimal{false, "635029318", 8});
}

} // namespace vorn
