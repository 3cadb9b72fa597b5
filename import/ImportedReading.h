#pragma once

// One measurement read from another program's file, before it becomes a
// record of the log, and a row that could not be used.

#include "core/DateText.h"

#include <optional>
#include <string>
#include <vector>

namespace vorn {

struct ImportedReading {
    // The moment in local time (the system's zone): a zone or offset in the
    // file has already been applied.
    LocalTime at;
    // The weight in kg and the fat percentage, each rounded half away from
    // zero to two decimals, as the text a user would type ("73.05").
    std::string weightKg;
    std::optional<std::string> fatPercent;
    // Where in the file it was read, for messages: "12行目", "要素 3401227".
    std::string where;
};

// A row left out, with the reason in Japanese ("体重がありません").
struct RejectedRow {
    std::string where;
    std::string reason;
};

struct ImportedFile {
    std::string format; // the format found, as shown to the user ("openScale CSV (v3)")
    std::vector<ImportedReading> readings; // in the file's order
    std::vector<RejectedRow> rejected;
};

} // namespace vorn
