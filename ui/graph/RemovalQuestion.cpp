#include "ui/graph/RemovalQuestion.h"

#include "core/NumText.h"

namespace vorn {
namespace {

const char* const kGap = "　";

// "体重(kg) 63.50"
std::string Cell(const GridTable& grid, int column, int row) {
    return grid.text(column, 0) + ' ' + grid.text(column, row);
}

} // namespace

std::string RemovalQuestion(const GridTable& grid, const RecordDates& dates,
                            const std::vector<int>& rows, int quantity, const std::string& copy) {
    const int count = static_cast<int>(rows.size());
    std::string text =
        "選択した " + IntToStr(count) + " 件の記録を記録ファイルから削除しますか？\n\n";
    for (int k = 0; k < count && k < kNamedRecords; ++k) {
        const int row = rows[static_cast<std::size_t>(k)];
        const std::size_t record = static_cast<std::size_t>(row - 1);
        const bool dated = record < dates.size() && dates[record];
        text += Cell(grid, 0, row) + kGap +
                (dated ? RecordDateText(*dates[record]) : grid.text(kGridDateColumn, row)) + kGap +
                Cell(grid, GridColumnOf(kWeight), row);
        if (quantity != kWeight)
            text += kGap + Cell(grid, GridColumnOf(quantity), row);
        text += '\n';
    }
    if (count > kNamedRecords)
        text += "ほか " + IntToStr(count - kNamedRecords) + " 件\n";
    return text + "\n削除する前の記録ファイルは、控え「" + copy + "」に残ります。";
}

} // namespace vorn
