#include "ui/graph/qt/GridModel.h"

#include "platform/qt/PlainText.h"

namespace vorn {

GridModel::GridModel(const GridTable& table, QObject* parent)
    : QAbstractTableModel(parent), table_(&table) {}

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
    return PlainText(table_->text(index.column(), index.row()));
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void GridModel::showRows(const GridTable& table, int first, int count) {
    table_ = &table;
    if (count == 0)
        return;
    emit dataChanged(index(first, 0), index(first + count - 1, kGridColumns - 1),
                     {Qt::DisplayRole});
}

} // namespace vorn
