#pragma once

#include "ui/graph/GraphView.h"

#include <QAbstractTableModel>

#include <string>
#include <vector>

namespace vorn {

// The texts of the history grid `sg`: kGridRows rows of kGridColumns cells,
// fixed in number, read-only to the user. They are kept as the UTF-8 the
// controller reads and writes, and become Qt text only for the cells a view
// draws. How the grid looks is the view's business.
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

    // Empty outside the grid.
    std::string text(int column, int row) const;
    // Rows first, first + 1, ... take these texts, announced to the views as
    // one change; rows that would fall outside the grid are left out.
    void setRows(int first, std::vector<GridRow> rows);

private:
    std::vector<GridRow> rows_;
};

} // namespace vorn
