#pragma once

// One line of the measurement log: the date stamp and nine quantities.

#include "core/Measurement.h"

#include <array>
#include <string>

namespace vorn {

// The nine quantities of a record in quantity order (kHeight .. kObesityDegree),
// single-precision values widened to double.
using RecordValues = std::array<double, kQuantityCount>;

// The log line, line end included, exactly as C's
//   "%6d %5.2lf %5.2lf %5.2lf %5.2lf %5.2lf %5.2lf %5.2lf %4.2lf %5.2lf\n"      (full form)
//   "%6d %5.2lf %5.2lf 000.00 000.00 000.00 000.00 %5.2lf %4.2lf %5.2lf\n"      (short form)
// would print it in the C locale, whatever the process locale is. The short
// form ignores the fat percentage, fat mass, lean mass and water mass.
// Raises ConvertError when a value it prints is not finite: such a field
// could not be read back and would hide every later record.
std::string FormatRecord(int dateStamp, const RecordValues& values, bool fullForm);

} // namespace vorn
