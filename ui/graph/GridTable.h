#pragma once

#include "core/Quantities.h"
#include "log/HistoryTable.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace vorn {

// The history grid `sg`: kGridColumns columns (sequence number, date, the
// quantities) by 1000 rows, row 0 holding the column headers.
constexpr int kGridRows = 1000;
constexpr int kGridDateColumn = 1;

// The grid column of a quantity.
constexpr int GridColumnOf(int quantity) {
    return quantity + 2;
}

// The texts of one row of `sg`, column by column.
using GridRow = std::array<std::string, kGridColumns>;

// What the history grid holds: the text of every cell, and the value that
// text stands for, read once when its row is written. The plot, and
// whatever else works on the loaded records, takes the values from here and
// never reads a text again; so what it works on is exactly what the grid
// shows. Nothing clears the grid: a row keeps its texts and values until a
// load writes it again.
class GridTable {
public:
    GridTable();

    // Rows first, first + 1, ... take these texts and their values; the
    // other rows keep theirs.
    void setRows(int first, std::vector<GridRow> rows);

    const std::string& text(int column, int row) const;
    // The value of the cell's text as StrToFloat reads it, rounded to a
    // double; nothing for a text that is not a number or whose value lies
    // beyond a double.
    std::optional<double> value(int column, int row) const;

    // The one check of the grid's rows: raises std::out_of_range unless
    // rows first to first + count - 1 all lie within the grid. setRows,
    // text and value check their rows (and columns) with it.
    static void CheckRows(int first, long long count);

private:
    static void checkCell(int column, int row);

    std::vector<GridRow> texts_;
    // NaN where the text has no value.
    std::vector<std::array<double, kGridColumns>> values_;
};

// The grid's header row and one row per record of `history`, entries 1 to
// `records`: its number from 0, its stamp of six digits, its nine values.
std::vector<GridRow> GridRowsOf(const HistoryTable& history, int records);

} // namespace vorn
