#include "core/TrendText.h"

#include "core/NumText.h"

namespace vorn {
namespace {

std::string RateText(long double rate, int quantity) {
    const std::string digits = FloatToStrF(rate, Facts(quantity).precision, 2);
    if (digits == "0.00")
        return digits;
    const bool negative = digits.starts_with('-');
    std::string text = negative ? "−" : "+";
    text.append(digits, negative ? 1 : 0);
    return text;
}

} // namespace

std::string TrendSummary(const Trend& trend, const Forecast& forecast, int quantity) {
    if (forecast.kind == Forecast::Kind::Reached)
        return "目標に到達しています";
    const std::string unit = Facts(quantity).unit;
    // Appended piece by piece: GCC 12 at -O3 warns of a false overlap in
    // inserting at the front of a string.
    std::string text = "傾向 ";
    text += trend.rate ? RateText(*trend.rate, quantity) : "--.--";
    text += unit.empty() ? "" : " ";
    text += unit;
    text += "/週";
    if (forecast.kind == Forecast::Kind::Date) {
        text += "　目標到達予想 ";
        text += DayText(forecast.date);
    }
    return text;
}

} // namespace vorn
