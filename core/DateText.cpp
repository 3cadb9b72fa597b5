#include "core/DateText.h"

#include <stdexcept>

namespace vorn {

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
