#include "ui/graph/RemovalQuestion.h"

#include "core/NumText.h"

namespace vorn {
namespace {

const char* const kGap = "　";

} // namespace

std::string RemovalQuestion(const GridTable& grid, const RecordDates& dates,
                            const std::vector<int>& rows, int quantity, const std::string& copy) {
    const RecordCells cell = [&](int column, long long k) {
        if (k < 0)
            return grid.text(column, 0);
        const int row = rows[static_cast<std::size_t>(k)];
        const std::size_t record = static_cast<std::size_t>(row - 1);
        if (column == kGridDateColumn && record < dates.size() && dates[record])
            return RecordDateText(*dates[record]);
        return grid.text(column, row);
    };
    return RemovalQuestion(static_cast<long long>(rows.size()), cell, quantity, copy);
}

std::string RemovalQuestion(long long count, const RecordCells& cell, int quantity,
                            const std::string& copy) {
    // "体重(kg) 63.50"
    auto named = [&](int column, long long k) { return cell(column, -1) + ' ' + cell(column, k); };
    std::string text =
        "選択した " + IntToStr(count) + " 件の記録を記録ファイルから削除しますか？\n\n";
    for (long long k = 0; k < count && k < kNamedRecords; ++k) {
        text +=
            named(0, k) + kGap + cell(kGridDateColumn, k) + kGap + named(GridColumnOf(kWeight), k);
        if (quantity != kWeight)
            text += kGap + named(GridColumnOf(quantity), k);
        text += '\n';
    }
    if (count > kNamedRecords)
        text += "ほか " + IntToStr(count - kNamedRecords) + " 件\n";
    return text + "\n削除する前の記録ファイルは、控え「" + copy + "」に残ります。";
}

} // namespace vorn
