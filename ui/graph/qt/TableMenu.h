#pragma once

#include <QMenu>

#include <optional>
#include <vector>

class QAction;
class QTableView;

namespace vorn {

class CommandBoundary;
class GraphController;

// The context menu of the history table: the right button over the table,
// or the Menu key and Shift+F10 while the table has the focus (the window
// passes those on through open). Its commands remove the records of the
// selected rows, of the grid or of the whole log's table, or correct the
// one selected.
class TableMenu : public QMenu {
public:
    TableMenu(QTableView* table, GraphController& controller, CommandBoundary& boundary,
              QWidget* parent);

    // Opens the menu at `globalPos`, or at the table's current row.
    void open(const QPoint* globalPos = nullptr);
    QAction* removeAction() const { return remove_; }
    QAction* correctAction() const { return correct_; }

private:
    std::vector<int> selectedRows() const;
    // While the table holds the whole log, sorted: the selected records'
    // places in the log.
    std::optional<std::vector<long long>> selectedRecords() const;

    QTableView* table_;
    GraphController& controller_;
    CommandBoundary& boundary_;
    QAction* remove_;
    QAction* correct_;
};

} // namespace vorn
