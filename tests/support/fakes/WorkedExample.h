#pragma once

#include <string>

namespace vorn::test {

// The worked example, 170 cm, 65 kg and 20 % measured on 30 August at 20:00,
// as its record stands in the log.
inline const std::string kWorkedLine =
    " 83020 170.00 65.00 20.00 13.00 52.00 38.06 63.58 22.49  2.23\n";

} // namespace vorn::test
