#pragma once

namespace vorn {

// An axis range with round tick marks: ticks at min, min + step, ... max.
struct AxisScale {
    double min = 0;
    double max = 1;
    double step = 1;
    int decimals = 0; // decimals a tick label needs
};

// The value axis for data between low and high: the range reaches past both
// by a margin and is rounded out to whole steps, so that no line, not even a
// flat one, lies on the frame. Both values must be finite; near the largest
// doubles the range stays within them.
AxisScale ValueAxisScale(double low, double high);

// The index axis for count points at X 0 .. count - 1: whole-number steps,
// the last point within the last step.
AxisScale IndexAxisScale(int count);

// The value axis after a zoom to min .. max: that range rounded out to round
// steps, so that every tick falls on a value its label shows exactly, with as
// many decimals as the step needs. No finer than a billionth of the values'
// magnitude (or of 1), where the labels would stop telling ticks apart.
AxisScale ZoomedValueScale(double min, double max);

// The index axis after a zoom to min .. max: whole-number steps, never below
// record 0, at least one step wide.
AxisScale ZoomedIndexScale(double min, double max);

} // namespace vorn
