// FormatTarget on arbitrary typed text: it refuses exactly what StrToFloat
// refuses; otherwise its text is the value to within half a unit of its last
// significant digit (precision 5, two decimals), StrToFloat reads it back,
// and formatting that text again gives the same text.

#include "ReadBack.h"
#include "core/Errors.h"
#include "core/NumText.h"
#include "targets/TargetStore.h"

#include <cstdint>
#include <optional>
#include <string>

using namespace vorn;
using vorn::fuzz::CheckFloatText;
using vorn::fuzz::Fail;
using vorn::fuzz::Require;

namespace {

std::optional<std::string> format(const std::string& typed) {
    try {
        return FormatTarget(typed);
    } catch (const ConvertError&) {
        return std::nullopt;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string typed(reinterpret_cast<const char*>(data), size);
    std::optional<long double> value;
    try {
        value = StrToFloat(typed);
    } catch (const ConvertError&) {
    }
    const std::optional<std::string> text = format(typed);
    if (text.has_value() != value.has_value())
        Fail("FormatTarget and StrToFloat disagree on '" + typed + "'");
    if (!text)
        return 0;
    Require(CheckFloatText(*value, 5, 2, *text));
    if (format(*text) != text)
        Fail("formatting '" + *text + "' again changes it");
    return 0;
}
