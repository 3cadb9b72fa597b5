#pragma once

#include "core/Measurement.h"
#include "log/HistoryTable.h"
#include "targets/TargetTable.h"

#include <string>

namespace vorn {

// The values that live for the whole run, shared by the three windows.
struct ProgramValues {
    CurrentMeasurement measurement;
    TargetTable targets;
    std::string logFilePath;
    std::string dateStamp;
    HistoryTable history;
};

} // namespace vorn
