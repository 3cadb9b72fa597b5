#pragma once

// The formats that are a table with a header row: this program's own CSV,
// openScale's two CSVs, Withings' weight.csv, GNOME Health's CSV and a
// spreadsheet's CSV whose header names its columns in Japanese or English.

#include "import/ImportRow.h"
#include "import/TextRecords.h"

#include <optional>
#include <string>
#include <vector>

namespace vorn {

struct TablePlan {
    std::string format;
    char separator = ',';
    int date = -1;
    int time = -1;
    int weight = -1;
    int fat = -1;
    bool fatIsMass = false;
    RowRules rules;
};

// The plan for a file whose first line is `header`; nothing when the
// header names no date and weight columns this reader knows.
std::optional<TablePlan> PlanTable(const std::string& header);

// Reads the rows after the header row.
void ReadTable(TextRecords& records, const TablePlan& plan, ImportedFile& into);

} // namespace vorn
