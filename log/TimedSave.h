#pragma once

// Saving a record measured at another moment than the program's start: at
// its place in time.

#include "log/LogFileSystem.h"
#include "log/PlaceInTime.h"

#include <string>

namespace vorn {

// Saves `record` into the log at `path`, read at `now`. When it goes after
// every record (or the log is missing or empty), it is appended as every
// save appends (AppendRecord); before one, the log is rewritten with the
// line at its place (RewriteLog: the old log kept as `path` + "~"). Raises
// LogError naming the file and the reason when the log cannot take it: a
// moment still to come, one whose year the log could not keep, a damaged
// log, or any failure of the file.
void SaveRecordAt(LogFileSystem& fs, const std::string& path, const TimedLine& record,
                  const LocalTime& now);

} // namespace vorn
