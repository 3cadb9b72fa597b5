#pragma once

#include "core/DateText.h"

namespace vorn {

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime now() = 0;
};

} // namespace vorn
