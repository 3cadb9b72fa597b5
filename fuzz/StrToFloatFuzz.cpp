// StrToFloat on arbitrary bytes: it either gives a finite number, the one C
// reads from the same text, or refuses with a ConvertError that names the
// text; blanks around the text and a minus sign in front behave as they
// should. StrToDouble agrees with it.

#include "ReadBack.h"
#include "core/DecimalText.h"
#include "core/Errors.h"
#include "core/NumText.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

using namespace vorn;
using vorn::fuzz::Fail;

namespace {

std::optional<long double> read(const std::string& text) {
    try {
        return StrToFloat(text);
    } catch (const ConvertError& e) {
        // what() ends at a NUL byte, if the text holds one.
        const std::string named = "'" + text.substr(0, text.find('\0'));
        if (std::string(e.what()).find(named) == std::string::npos)
            Fail("the message does not name the text: " + std::string(e.what()));
        return std::nullopt;
    }
}

bool same(long double a, long double b) {
    return a == b && std::signbit(a) == std::signbit(b);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::optional<long double> value = read(text);

    // StrToDouble, with its quicker way for short fixed-point texts, gives
    // that value rounded to a double, and nothing where it is not finite.
    const std::optional<double> quick = StrToDouble(text);
    const bool finite = value && std::isfinite(static_cast<double>(*value));
    if (quick.has_value() != finite || (quick && !same(*quick, static_cast<double>(*value))))
        Fail("StrToDouble reads '" + text + "' otherwise");

    const std::size_t begin = text.find_first_not_of(" \t");
    const std::size_t end = text.find_last_not_of(" \t");
    const std::string body = begin == std::string::npos ? "" : text.substr(begin, end - begin + 1);

    // Blanks around the text change nothing.
    const std::optional<long double> padded = read(" \t" + text + "  ");
    if (padded.has_value() != value.has_value())
        Fail("blanks change whether '" + text + "' reads");
    if (!value)
        return 0;
    if (!same(*padded, *value))
        Fail("blanks change the value of '" + text + "'");

    if (!std::isfinite(*value))
        Fail("not finite: '" + text + "'");
    if (body.find_first_not_of("0123456789+-.eE") != std::string::npos)
        Fail("accepted a character outside a decimal number: '" + text + "'");
    char* stop = nullptr;
    const long double reference = strtold_l(body.c_str(), &stop, CLocale());
    if (stop != body.c_str() + body.size())
        Fail("C reads only part of '" + text + "'");
    if (!same(reference, *value))
        Fail("C reads '" + text + "' otherwise");

    // A minus sign in front negates.
    if (body[0] != '+' && body[0] != '-') {
        const std::optional<long double> negated = read("-" + body);
        if (!negated || !same(*negated, -*value))
            Fail("'-" + body + "' is not the negative");
    }
    return 0;
}
