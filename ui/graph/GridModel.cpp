#include "ui/graph/GridModel.h"

#include "platform/qt/PlainText.h"

#include <algorithm>
#include <utility>

namespace vorn {

GridModel::GridModel(QObject* parent)
    : QAbstractTableModel(parent), rows_(static_cast<std::size_t>(kGridRows)) {}

int GridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kGridRows;
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kGridColumns;
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role != Qt::DisplayRole)
        return {};
    // The texts come from the log file: the delegate draws them as they are,
    // and control characters show as symbols rather than move the text.
    return PlainText(
        rows_[static_cast<std::size_t>(index.row())][static_cast<std::size_t>(index.column())]);
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

std::string GridModel::text(int column, int row) const {
    if (column < 0 || column >= kGridColumns || row < 0 || row >= kGridRows)
        return {};
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

void GridModel::setRows(int first, std::vector<GridRow> rows) {
    if (first < 0 || first >= kGridRows)
        return;
    const int count =
        static_cast<int>(std::min(rows.size(), static_cast<std::size_t>(kGridRows - first)));
    if (count == 0)
        return;
    for (int k = 0; k < count; ++k)
        rows_[static_cast<std::size_t>(first + k)] = std::move(rows[static_cast<std::size_t>(k)]);
    emit dataChanged(index(first, 0), index(first + count - 1, kGridColumns - 1),
                     {Qt::DisplayRole});
}

} // namespace vorn
