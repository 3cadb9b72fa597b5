#include "ui/graph/qt/DatedTableModel.h"

#include "ui/graph/GridTable.h"

#include <utility>

namespace vorn {

DatedTableModel::DatedTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void DatedTableModel::setTable(std::shared_ptr<const DatedTable> table) {
    beginResetModel();
    table_ = std::move(table);
    endResetModel();
}

int DatedTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !table_ ? 0 : static_cast<int>(table_->rowCount());
}

int DatedTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kGridColumns;
}

QVariant DatedTableModel::data(const QModelIndex& index, int role) const {
    if (!table_ || !index.isValid())
        return {};
    const auto record = static_cast<std::size_t>(index.row());
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return QString::fromStdString(table_->text(record, index.column()));
    if (role == kSortRole)
        return table_->sortKey(record, index.column());
    if (role == Qt::TextAlignmentRole && index.column() != kGridDateColumn)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant DatedTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kGridColumns ||
        (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return {};
    return QString::fromStdString(DatedTable::header(section));
}

Qt::ItemFlags DatedTableModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace vorn
