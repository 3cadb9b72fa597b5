#pragma once

#include "ui/graph/StatsTable.h"

#include <QAbstractTableModel>

namespace vorn {

// The period statistics for a table view: one row per period, the column
// headers that screen readers announce with each cell, read-only.
class StatsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    StatsModel(StatsTable table, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    const StatsTable& table() const { return table_; }
    void setTable(StatsTable table);

private:
    StatsTable table_;
};

} // namespace vorn
