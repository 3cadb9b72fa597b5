#include "ui/graph/GridTable.h"

#include "core/Measurement.h"
#include "core/NumText.h"

#include <cmath>
#include <limits>
#include <stdexcept>
#include <utility>

namespace vorn {

GridTable::GridTable()
    : texts_(static_cast<std::size_t>(kGridRows)), values_(static_cast<std::size_t>(kGridRows)) {
    for (auto& row : values_)
        row.fill(std::numeric_limits<double>::quiet_NaN());
}

void GridTable::CheckRows(int first, long long count) {
    if (first < 0 || first > kGridRows || count < 0 || count > kGridRows - first)
        throw std::out_of_range("no grid rows " + std::to_string(first) + " to " +
                                std::to_string(first + count - 1));
}

void GridTable::checkCell(int column, int row) {
    CheckRows(row, 1);
    if (column < 0 || column >= kGridColumns)
        throw std::out_of_range("no grid column " + std::to_string(column));
}

void GridTable::setRows(int first, std::vector<GridRow> rows) {
    CheckRows(first, static_cast<long long>(rows.size()));
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const std::size_t row = static_cast<std::size_t>(first) + k;
        for (std::size_t column = 0; column < rows[k].size(); ++column)
            values_[row][column] =
                StrToDouble(rows[k][column]).value_or(std::numeric_limits<double>::quiet_NaN());
        texts_[row] = std::move(rows[k]);
    }
}

const std::string& GridTable::text(int column, int row) const {
    checkCell(column, row);
    return texts_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

std::optional<double> GridTable::value(int column, int row) const {
    checkCell(column, row);
    const double v = values_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    if (std::isnan(v))
        return std::nullopt;
    return v;
}

std::vector<GridRow> GridRowsOf(const HistoryTable& history, int records) {
    GridTable::CheckRows(0, records + 1LL);
    std::vector<GridRow> grid(static_cast<std::size_t>(records) + 1);
    grid[0][0] = kGridNumberHeader;
    grid[0][1] = kGridDateHeader;
    for (int q = 0; q < kQuantityCount; ++q)
        grid[0][static_cast<std::size_t>(q + 2)] = Facts(q).gridHeader;
    for (int r = 1; r <= records; ++r) {
        GridRow& row = grid[static_cast<std::size_t>(r)];
        row[0] = IntToStr(r - 1);
        const double stamp = history.at(0, r);
        row[1] = FloatToStrF(stamp, 6, 0);
        if (stamp < 100000)
            row[1].insert(0, 1, '0');
        for (int q = 0; q < kQuantityCount; ++q)
            row[static_cast<std::size_t>(q + 2)] = GridText(history.at(q + 1, r), q);
    }
    return grid;
}

} // namespace vorn
