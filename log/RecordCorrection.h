#pragma once

// Correcting one record of a log: its line taken out and the corrected one
// put in at its place in time, in one rewrite.

#include "log/LogFileSystem.h"
#include "log/PlaceInTime.h"
#include "log/RecordCut.h"

#include <string>

namespace vorn {

// Replaces the line of `old` in the log at `path`, read at `now`, by
// `corrected`, placed among the other records by its moment (PlaceInTime),
// through RewriteLog: the old log is kept as `path` + "~". Raises LogError
// naming the file and the reason when the log is damaged or no longer holds
// `old` as read, when the moment is still to come or its year could not be
// kept, or when any step fails; the log then keeps its bytes.
void CorrectRecord(LogFileSystem& fs, const std::string& path, const KnownRecord& old,
                   const TimedLine& corrected, const LocalTime& now);

} // namespace vorn
