#pragma once

#include "platform/Clock.h"

namespace vorn {

// The local date and time of the machine.
class SystemClock : public Clock {
public:
    LocalTime now() override;
};

} // namespace vorn
