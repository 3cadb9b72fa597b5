#pragma once

#include "ui/graph/GridTable.h"

#include <QAbstractTableModel>

namespace vorn {

// The history grid `sg`: kGridRows rows of kGridColumns cells, fixed in
// number, read-only to the user. It reads the loaded records from the
// controller's table, never writing it; the texts stay the UTF-8 the
// controller writes and become Qt text only for the cells a view draws. How
// the grid looks is the view's business.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // `table` outlives the model.
    explicit GridModel(const GridTable& table, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    // The text of a cell, as plain text: what is drawn and what screen
    // readers read.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Rows first to first + count - 1 of `table`, which is now the one read,
    // have new texts: announced to the views as one change.
    void showRows(const GridTable& table, int first, int count);

private:
    const GridTable* table_;
};

} // namespace vorn
