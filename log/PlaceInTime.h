#pragma once

// Where a new record goes in a log that keeps no year. A record's year is
// read from the order of the records (DateRecords), so a record goes in at
// its place in time, and one that would be read in another year stays out.

#include "core/RecordDate.h"
#include "log/RecordCut.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

// The records of a log's bytes, oldest first, as far as the new ones need
// them.
struct LogRecords {
    std::vector<double> stamps;
    std::vector<double> heights;
    std::vector<double> weights;
};

// Reads every record of `log`. Returns the reason when it is damaged (a
// field that is no number, a record cut short): no record can then go in
// safely. Empty when read.
std::string ReadLogRecords(std::string_view log, LogRecords& records);

// A record's line and the moment it was measured.
struct TimedLine {
    RecordDate when;
    std::string line;
};

// The stamp a record written at `when` carries: MMDDHH.
int StampOf(const RecordDate& when);

// What becomes of the lines handed to PlaceInTime.
struct Placement {
    // The lines kept, in time order, each with the place it goes in at.
    std::vector<NewLine> lines;
    std::vector<std::size_t> kept; // which of the lines given, in that order
    // Those left out, with the reason.
    struct LeftOut {
        std::size_t line;
        const char* reason;
    };
    std::vector<LeftOut> leftOut;
    // Not empty when the records already there would be read in another
    // year: nothing can go in.
    std::string refusal;
};

inline const char* const kYearLost = "この記録の後、1年以内の記録がないため、"
                                     "記録ファイルからは年が正しく読めなくなります";
inline const char* const kNotYet = "まだ来ていない日時です";

// Places each line among the records with `stamps`, read at `now`: after
// every record whose date (DateRecords) is no later, before the first later
// one; lines of one moment in the order given. A line that would then be
// read in another year than its own (no record, nor `now`, follows it within
// a year), or that lies after `now`, is left out. Every record already there
// keeps its date, and every line kept is read at its own date.
Placement PlaceInTime(std::span<const double> stamps, const std::vector<TimedLine>& lines,
                      const LocalTime& now);

} // namespace vorn
