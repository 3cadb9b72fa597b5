#include "ui/graph/qt/TableMenu.h"

#include "ui/CommandBoundary.h"
#include "ui/graph/GraphController.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QSortFilterProxyModel>
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
        if (const auto records = selectedRecords()) {
            boundary_.run([this, &records] { controller_.RemoveRecordsClick(*records); });
            return;
        }
        const std::vector<int> rows = selectedRows();
        boundary_.run([this, &rows] { controller_.RemoveRowsClick(rows); });
    });

    correct_ = addAction(QStringLiteral("選択した記録を修正(&E)…"));
    correct_->setObjectName(QStringLiteral("CorrectRecord"));
    connect(correct_, &QAction::triggered, this, [this] {
        const auto records = selectedRecords();
        const std::vector<int> rows = selectedRows();
        boundary_.run([&] {
            if (records && records->size() == 1)
                controller_.CorrectRecordClick(records->front());
            else if (!records && rows.size() == 1)
                controller_.CorrectRowClick(rows.front());
        });
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

std::optional<std::vector<long long>> TableMenu::selectedRecords() const {
    const auto* sorted = qobject_cast<const QSortFilterProxyModel*>(table_->model());
    if (!sorted)
        return std::nullopt;
    std::vector<long long> records;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows())
        records.push_back(sorted->mapToSource(index).row());
    return records;
}

void TableMenu::open(const QPoint* globalPos) {
    // The Menu key can arrive both as a key and as a request for the menu.
    if (isVisible())
        return;
    const auto records = selectedRecords();
    remove_->setEnabled(records ? controller_.CanRemoveRecords(*records)
                                : controller_.CanRemoveRows(selectedRows()));
    correct_->setEnabled(records ? controller_.CanCorrectRecords(*records)
                                 : controller_.CanCorrectRows(selectedRows()));
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
