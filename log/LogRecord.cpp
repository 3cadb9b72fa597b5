// Formatting of a log line without printf, so that the locale cannot change
// the decimal point.

#include "log/LogRecord.h"

#include "core/Errors.h"

#include <charconv>
#include <cmath>

namespace vorn {
namespace {

void padLeft(std::string& out, const char* first, const char* last, std::size_t width) {
    const auto len = static_cast<std::size_t>(last - first);
    if (len < width)
        out.append(width - len, ' ');
    out.append(first, last);
}

// "%<width>.2lf": std::to_chars rounds exactly as printf does.
void appendFixed(std::string& out, double value, std::size_t width) {
    if (!std::isfinite(value))
        throw ConvertError("記録できない数値があります（大きすぎるか、数値ではありません）。"
                           "ファイルには何も書き込んでいません。");
    char buf[400]; // DBL_MAX has 309 integer digits
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 2);
    padLeft(out, buf, res.ptr, width);
}

} // namespace

std::string FormatRecord(int dateStamp, const RecordValues& values, bool fullForm) {
    std::string line;
    line.reserve(80);
    char buf[16];
    const auto res = std::to_chars(buf, buf + sizeof buf, dateStamp);
    padLeft(line, buf, res.ptr, 6);

    for (int q = kHeight; q < kQuantityCount; ++q) {
        line += ' ';
        const QuantityFacts& facts = Facts(q);
        if (facts.fatField && !fullForm)
            line += "000.00";
        else
            appendFixed(line, values[static_cast<std::size_t>(q)],
                        static_cast<std::size_t>(facts.logWidth));
    }
    line += '\n';
    return line;
}

} // namespace vorn
