#include "ui/graph/qt/TableMenu.h"

#include "ui/CommandBoundary.h"
#include "ui/graph/GraphController.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QTableView>

#include <vector>

namespace vorn {

TableMenu::TableMenu(QTableView* table, GraphController& controller, CommandBoundary& boundary,
                     QWidget* parent)
    : QMenu(parent), table_(table), controller_(controller), boundary_(boundary) {
    setObjectName(QStringLiteral("TableMenu"));
    remove_ = addAction(QStringLiteral("選択した記録を削除(&D)…"));
    remove_->setObjectName(QStringLiteral("RemoveRecords"));
    connect(remove_, &QAction::triggered, this, [this] {
        const std::vector<int> rows = selectedRows();
        boundary_.run([this, &rows] { controller_.RemoveRowsClick(rows); });
    });

    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(table_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        const QPoint global = table_->viewport()->mapToGlobal(pos);
        open(&global);
    });
}

std::vector<int> TableMenu::selectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows())
        rows.push_back(index.row());
    return rows;
}

void TableMenu::open(const QPoint* globalPos) {
    // The Menu key can arrive both as a key and as a request for the menu.
    if (isVisible())
        return;
    remove_->setEnabled(controller_.CanRemoveRows(selectedRows()));
    QPoint at = globalPos ? *globalPos : table_->viewport()->rect().center();
    if (!globalPos) {
        const QRect current = table_->visualRect(table_->currentIndex());
        if (table_->viewport()->rect().intersects(current))
            at = current.center();
        at = table_->viewport()->mapToGlobal(at);
    }
    popup(at);
}

} // namespace vorn
