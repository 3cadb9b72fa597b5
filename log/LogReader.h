#pragma once

// Loading a log file into the history table.

#include "log/HistoryTable.h"
#include "log/LogFileSystem.h"

#include <array>
#include <string>
#include <vector>

namespace vorn {

struct LoadResult {
    enum class Stop {
        End,        // the whole file was read
        NotANumber, // a field that is not a finite decimal number
        CutShort,   // the file ended inside a record
    };
    int records = 0; // complete records stored, entries 1..records
    Stop stop = Stop::End;
    long long stopRecord = 0; // 1-based record in the file at which reading stopped; 0 after End
    long long stopLine = 0;   // 1-based line where that record (NotANumber: that field) begins
    long long skipped = 0;    // complete records before the stored ones, left out
};

// Reads the log at `path` as a stream of numbers, ten to a record, separated
// by any run of spaces, tabs, CRs and LFs, and stores the last 999 complete
// records (all of them in a shorter log) into entries 1, 2, ... of `table`,
// oldest first; later entries keep what they held. A number is what C's
// strtod reads in the C locale ("+1.5", "-2", "1e3", "000.00"), but only
// decimal and finite. The file is read once, in chunks; reading stops at the
// first field that is not such a number or at a record cut short by the end
// of the file, and the complete records before the stop count.
// Raises LogError naming the file and the reason when it cannot be opened or
// read (missing, a folder, a FIFO or a device, not allowed); the table is
// then left unchanged.
LoadResult ReadHistory(LogFileSystem& fs, const std::string& path, HistoryTable& table);

// The ten fields of one record: date stamp, then the nine quantities.
using RecordFields = std::array<double, HistoryTable::kColumns>;

// Every record of a log, oldest first, read as ReadHistory reads it but
// without its limit of 999; `result` says where reading stopped.
struct WholeLog {
    std::vector<RecordFields> records;
    // savedWithoutFat[k]: records[k] was saved without a fat percentage (a
    // short line), so its fat percentage, fat mass, lean mass and water mass
    // read as 0 but were never measured. A fat percentage typed as 0 is
    // saved with one.
    std::vector<bool> savedWithoutFat;
    LoadResult result{};
};
// Raises LogError as ReadHistory does.
WholeLog ReadWholeLog(LogFileSystem& fs, const std::string& path);

// The notice for the user about an export of a log that stopped early:
// where it stopped and how many records were written; empty after End.
std::string ExportNotice(const WholeLog& log);

// Where reading stopped and why, for a notice: "記録 3 件目（5 行目）で…";
// empty after End.
std::string StopNotice(const LoadResult& result);

// The notice for the user about a load that stopped early; empty after End.
std::string LoadNotice(const LoadResult& result);

// Where a reading stopped, as the notices name it: "記録 3 件目（5 行目）".
std::string StopPlace(const LoadResult& result);

} // namespace vorn
