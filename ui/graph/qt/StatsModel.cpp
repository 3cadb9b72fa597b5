#include "ui/graph/qt/StatsModel.h"

#include "platform/qt/PlainText.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace vorn {

namespace {
// 期間, 開始 and 終了 read as text; the counts and values line up on the right.
constexpr int kFirstNumberColumn = 3;
} // namespace

StatsModel::StatsModel(StatsTable table, QObject* parent)
    : QAbstractTableModel(parent), table_(std::move(table)) {}

int StatsModel::rowCount(const QModelIndex& parent) const {
    // A view asks rows by int; a log spans far fewer periods.
    return parent.isValid() ? 0
                            : static_cast<int>(std::min<std::size_t>(table_.rowCount(), INT_MAX));
}

int StatsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(kStatsHeaders.size());
}

QVariant StatsModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(
            Qt::AlignVCenter |
            (index.column() >= kFirstNumberColumn ? Qt::AlignRight : Qt::AlignLeft));
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    return PlainText(table_.text(static_cast<std::size_t>(index.row()),
                                 static_cast<std::size_t>(index.column())));
}

QVariant StatsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || section < 0)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section >= columnCount())
        return {};
    return QString::fromUtf8(kStatsHeaders[static_cast<std::size_t>(section)]);
}

void StatsModel::setTable(StatsTable table) {
    beginResetModel();
    table_ = std::move(table);
    endResetModel();
}

} // namespace vorn
