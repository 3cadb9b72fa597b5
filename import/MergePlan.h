#pragma once

// What an import does to a log, worked out before anything is written: each
// reading as the record the main window saves for the same typed inputs, at
// its place in time, the duplicates skipped and the rows that cannot go in
// left out, each with the reason.

#include "core/DateText.h"
#include "core/RecordDate.h"
#include "import/ImportedReading.h"
#include "log/PlaceInTime.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

struct ImportPlan {
    std::string format;
    // The records to add, in time order, and their places in the log.
    std::vector<TimedLine> added;
    std::vector<NewLine> lines;
    // Readings of the same moment and weight as a record of the log or an
    // earlier reading of the file.
    long long duplicates = 0;
    // The reader's rows left out, then the readings left out here.
    std::vector<RejectedRow> leftOut;
    // The first and last moment among the file's readings.
    std::optional<RecordDate> first;
    std::optional<RecordDate> last;
    // The height every record is measured with; empty when neither given
    // nor in the log: nothing is planned then.
    std::string height;
};

// Why a height typed for an import cannot be used (no number, outside the
// main window's range), or nothing.
std::string HeightProblem(const std::string& height);

// Plans the import of `file` into the log whose bytes are `log`, read at
// `now`. `height` is the height typed (see HeightProblem), or none for that
// of the log's latest record. Returns the reason nothing can go into the log
// (it is damaged), else an empty string.
std::string PlanImport(const ImportedFile& file, std::string_view log,
                       const std::optional<std::string>& height, const LocalTime& now,
                       ImportPlan& plan);

} // namespace vorn
