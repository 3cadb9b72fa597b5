#pragma once

#include "ui/graph/GridTable.h"

#include <QAbstractTableModel>

#include <string>
#include <vector>

namespace vorn {

// The history grid `sg`: kGridRows rows of kGridColumns cells, fixed in
// number, read-only to the user. It holds the loaded records, each text with
// its value (GridTable); the texts stay the UTF-8 the controller writes and
// become Qt text only for the cells a view draws. How the grid looks is the
// view's business.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    // The text of a cell, as plain text: what is drawn and what screen
    // readers read.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    const GridTable& table() const { return table_; }
    // Rows first, first + 1, ... take these texts, announced to the views as
    // one change. Raises std::out_of_range, changing nothing, for rows
    // outside the grid.
    void setRows(int first, std::vector<GridRow> rows);

private:
    GridTable table_;
};

} // namespace vorn
