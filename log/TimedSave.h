#pragma once

// Saving a record measured at another moment than the program's start: at
// its place in time.

#include "log/LogError.h"
#include "log/LogFileSystem.h"
#include "log/PlaceInTime.h"

#include <string>

namespace vorn {

// Saves `record` into the log at `path`, read at `now`. When it goes after
// every record (or the log is missing or empty), it is appended as every
// save appends (AppendRecord); before one, the log is rewritten with the
// line at its place (RewriteLog: the old log kept as `path` + "~"). Raises
// UnplacedRecord for a moment still to come or one whose year the log
// could not keep, LogError for a damaged log or any failure of the file;
// each names the file and the reason.
// The log cannot take the record at its moment: still to come, or a year
// it could not keep.
class UnplacedRecord : public LogError {
public:
    using LogError::LogError;
};

void SaveRecordAt(LogFileSystem& fs, const std::string& path, const TimedLine& record,
                  const LocalTime& now);

} // namespace vorn
