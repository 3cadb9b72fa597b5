#pragma once

#include "platform/NumText.h"

namespace vorn {

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime now() = 0;
};

} // namespace vorn
