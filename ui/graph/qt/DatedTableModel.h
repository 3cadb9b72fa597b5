#pragma once

#include "ui/graph/DatedTable.h"

#include <QAbstractTableModel>

#include <memory>

namespace vorn {

// The table of the whole log while the chart is on a calendar, read-only:
// one row per record, the columns named in the header. The sort role gives
// what a column sorts by, numbers as numbers and dates in time.
class DatedTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kSortRole = Qt::UserRole;

    explicit DatedTableModel(QObject* parent = nullptr);

    void setTable(std::shared_ptr<const DatedTable> table);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::shared_ptr<const DatedTable> table_;
};

} // namespace vorn
