#pragma once

#include <QObject>

#include <memory>

class QSortFilterProxyModel;
class QTableView;

namespace vorn {

class DatedTable;
class DatedTableModel;
class GraphChart;
class GraphController;
class GridModel;

// The history table's two faces: the grid, or, while the chart is on a
// calendar, the whole log with its header standing above the rows and
// sorting them by a click. On the whole log the chart rings the record of
// the selected row.
class TableSwitch : public QObject {
public:
    TableSwitch(QTableView& view, GridModel& grid, GraphChart& chart, GraphController& controller,
                QObject* parent);

    // The whole log's table, or none: the grid again.
    void show(std::shared_ptr<const DatedTable> table);
    // The ring on the chart at the record of the selected row, while the
    // table holds the whole log.
    void markSelectedRecord();

private:
    void watchSelection();

    QTableView& view_;
    GridModel& grid_;
    GraphChart& chart_;
    GraphController& controller_;
    DatedTableModel* datedModel_;
    QSortFilterProxyModel* datedSort_;
};

} // namespace vorn
