#pragma once

// The one-line summary of a trend, as the graph window shows it.

#include "core/Forecast.h"
#include "core/Trend.h"

#include <string>

namespace vorn {

// "傾向 −0.35 kg/週　目標到達予想 2027/02/14", "傾向 +0.20 %/週" when there is
// no forecast, "目標に到達しています" when the target is reached, and
// "傾向 --.-- kg/週" when there is no rate. The rate has two decimals and a
// sign, a true minus sign (U+2212) or a plus, none when it rounds to 0.00;
// the unit is the quantity's (BMI has none: "−0.05/週"); an ideographic space
// (U+3000) parts the rate from the forecast.
std::string TrendSummary(const Trend& trend, const Forecast& forecast, int quantity);

} // namespace vorn
