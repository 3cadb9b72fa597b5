#include "ui/graph/AxisScale.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace vorn {
namespace {

constexpr double kValueSteps = 5;
// Finer on the index axis, so that it ends close to the last point.
constexpr double kIndexSteps = 8;

// The smallest of 1, 2 or 5 times a power of ten that is at least raw.
double NiceStep(double raw) {
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    const double fraction = raw / power;
    if (fraction <= 1)
        return power;
    if (fraction <= 2)
        return 2 * power;
    if (fraction <= 5)
        return 5 * power;
    return 10 * power;
}

int DecimalsFor(double step) {
    if (!(step > 0) || !std::isfinite(step))
        return 0;
    // A small allowance, so that 0.1 (just below a tenth in binary) needs 1.
    const double decimals = -std::floor(std::log10(step) + 1e-9);
    return static_cast<int>(std::clamp(decimals, 0.0, 340.0));
}

// Values this large would overflow in the margins and round steps below.
constexpr double kLargest = DBL_MAX / 8;

// An axis for values of nearly the largest magnitude a double holds: it
// spans them with a margin, within the doubles, in five plain steps.
AxisScale HugeAxisScale(double low, double high) {
    const auto widen = [](double v, double direction) {
        return std::clamp(v + direction * std::fabs(v) * 0.05, -DBL_MAX, DBL_MAX);
    };
    AxisScale s;
    s.min = widen(low, -1);
    s.max = widen(high, 1);
    s.step = s.max / kValueSteps - s.min / kValueSteps;
    s.decimals = 0;
    return s;
}

// min .. max rounded out to whole steps; the allowance keeps an end that is
// already on a step, but not exactly in binary, from gaining another step.
void RoundOut(AxisScale& s, double min, double max) {
    s.min = std::floor(min / s.step + 1e-9) * s.step;
    s.max = std::ceil(max / s.step - 1e-9) * s.step;
    if (!(s.max > s.min))
        s.max = s.min + s.step;
}

} // namespace

AxisScale ValueAxisScale(double low, double high) {
    if (low > high)
        std::swap(low, high);
    const double span = high - low;
    const double largest = std::max(std::fabs(low), std::fabs(high));
    if (largest > kLargest)
        return HugeAxisScale(low, high);
    double margin = span > 0 ? span * 0.05 : largest * 0.05;
    // Keep the margin above rounding noise, and give a line at 0 some room.
    margin = std::max({margin, largest * 1e-9, 1e-9});
    if (largest == 0)
        margin = 1;
    const double lo = low - margin;
    const double hi = high + margin;
    AxisScale s;
    s.step = NiceStep((hi - lo) / kValueSteps);
    s.min = std::floor(lo / s.step) * s.step;
    s.max = std::ceil(hi / s.step) * s.step;
    s.decimals = DecimalsFor(s.step);
    return s;
}

AxisScale ZoomedValueScale(double min, double max) {
    if (min > max)
        std::swap(min, max);
    const double largest = std::max(std::fabs(min), std::fabs(max));
    if (!std::isfinite(min) || !std::isfinite(max) || largest > kLargest) {
        // Round steps would overflow: the range stays as the zoom made it.
        AxisScale s;
        s.min = min;
        s.max = max;
        s.step = max / kValueSteps - min / kValueSteps;
        return s;
    }
    AxisScale s;
    const double finest = std::max(largest, 1.0) * 1e-9;
    s.step = NiceStep(std::max((max - min) / kValueSteps, finest));
    RoundOut(s, min, max);
    s.decimals = DecimalsFor(s.step);
    return s;
}

AxisScale ZoomedIndexScale(double min, double max) {
    if (!std::isfinite(min) || !std::isfinite(max))
        return IndexAxisScale(0);
    if (min > max)
        std::swap(min, max);
    min = std::max(min, 0.0);
    max = std::max(max, min + 1);
    AxisScale s;
    s.step = std::max(1.0, NiceStep((max - min) / kIndexSteps));
    RoundOut(s, min, max);
    return s;
}

AxisScale IndexAxisScale(int count) {
    AxisScale s;
    s.min = 0;
    const double last = std::max(count - 1, 1);
    s.step = std::max(1.0, NiceStep(last / kIndexSteps));
    s.max = std::ceil(last / s.step) * s.step;
    s.decimals = 0;
    return s;
}

} // namespace vorn
