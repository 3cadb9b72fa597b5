#include "core/DecimalText.h"

#include "core/CharClass.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace vorn {
namespace {

// Reads `text` whole with `convert` (strtod_l or strtold_l), which needs a
// terminated copy: on the stack for the short texts a log or a field holds.
template <typename T, typename Convert>
std::optional<T> readWhole(std::string_view text, Convert convert) {
    if (!IsDecimalNumber(text))
        return std::nullopt;
    char small[64];
    std::string large;
    const char* copy = small;
    if (text.size() < sizeof small) {
        std::memcpy(small, text.data(), text.size());
        small[text.size()] = '\0';
    } else {
        large.assign(text);
        copy = large.c_str();
    }
    char* end = nullptr;
    const T value = convert(copy, &end, CLocale());
    if (end != copy + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

bool IsDecimalNumber(std::string_view s) {
    std::size_t i = 0;
    auto digits = [&] {
        const std::size_t from = i;
        while (i < s.size() && IsDigit(s[i]))
            ++i;
        return i - from;
    };
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    std::size_t mantissa = digits();
    if (i < s.size() && s[i] == '.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0)
        return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        if (digits() == 0)
            return false;
    }
    return i == s.size();
}

locale_t CLocale() {
    static const locale_t loc = newlocale(LC_ALL_MASK, "C", locale_t(0));
    return loc;
}

std::optional<double> ReadDouble(std::string_view text) {
    // std::from_chars rounds to the nearest double as strtod does, many
    // times faster (a log holds ten thousand numbers). It takes no '+', and
    // leaves a value out of its range (1e-400, 1e999) to the C library.
    if (IsDecimalNumber(text)) {
        const char* const last = text.data() + text.size();
        const char* const first = text[0] == '+' ? text.data() + 1 : text.data();
        double value = 0;
        const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
        if (error == std::errc() && end == last)
            return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
    }
    return readWhole<double>(text, strtod_l);
}

std::optional<long double> ReadLongDouble(std::string_view text) {
    return readWhole<long double>(text, strtold_l);
}

} // namespace vorn
