#include "core/TrendText.h"

#include "core/NumText.h"

namespace vorn {
namespace {

std::string RateText(long double rate, int quantity) {
    std::string text = FloatToStrF(rate, Facts(quantity).precision, 2);
    if (text.starts_with('-'))
        text.replace(0, 1, "−");
    else if (text != "0.00")
        text.insert(0, "+");
    return text;
}

} // namespace

std::string TrendSummary(const Trend& trend, const Forecast& forecast, int quantity) {
    if (forecast.kind == Forecast::Kind::Reached)
        return "目標に到達しています";
    const std::string unit = Facts(quantity).unit;
    std::string text = "傾向 " + (trend.rate ? RateText(*trend.rate, quantity) : "--.--");
    text += unit.empty() ? "/週" : " " + unit + "/週";
    if (forecast.kind == Forecast::Kind::Date)
        text += "　目標到達予想 " + DayText(forecast.date);
    return text;
}

} // namespace vorn
