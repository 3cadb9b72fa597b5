#include "ui/graph/GridModel.h"

#include "platform/qt/PlainText.h"

#include <utility>

namespace vorn {

GridModel::GridModel(QObject* parent) : QAbstractTableModel(parent) {}

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
    return PlainText(table_.text(index.column(), index.row()));
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void GridModel::setRows(int first, std::vector<GridRow> rows) {
    const int count = static_cast<int>(rows.size());
    table_.setRows(first, std::move(rows));
    if (count == 0)
        return;
    emit dataChanged(index(first, 0), index(first + count - 1, kGridColumns - 1),
                     {Qt::DisplayRole});
}

} // namespace vorn
