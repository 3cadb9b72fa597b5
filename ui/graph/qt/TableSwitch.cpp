#include "ui/graph/qt/TableSwitch.h"

#include "ui/graph/GraphController.h"
#include "ui/graph/qt/DatedTableModel.h"
#include "ui/graph/qt/GraphChart.h"
#include "ui/graph/qt/GridModel.h"

#include <QHeaderView>
#include <QSortFilterProxyModel>
#include <QTableView>

#include <utility>

namespace vorn {

TableSwitch::TableSwitch(QTableView& view, GridModel& grid, GraphChart& chart,
                         GraphController& controller, QObject* parent)
    : QObject(parent), view_(view), grid_(grid), chart_(chart), controller_(controller) {
    watchSelection();
    datedModel_ = new DatedTableModel(this);
    datedSort_ = new QSortFilterProxyModel(this);
    datedSort_->setSourceModel(datedModel_);
    datedSort_->setSortRole(DatedTableModel::kSortRole);
}

void TableSwitch::watchSelection() {
    connect(view_.selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TableSwitch::markSelectedRecord);
}

void TableSwitch::show(std::shared_ptr<const DatedTable> table) {
    const bool dated = table != nullptr;
    datedModel_->setTable(std::move(table));
    QAbstractItemModel* wanted = dated ? static_cast<QAbstractItemModel*>(datedSort_) : &grid_;
    if (view_.model() != wanted) {
        QItemSelectionModel* old = view_.selectionModel();
        if (!dated)
            view_.setSortingEnabled(false);
        view_.setModel(wanted);
        delete old;
        watchSelection();
        view_.horizontalHeader()->setVisible(dated);
        // Measured in the window's font, as the grid's columns are.
        const QFontMetrics metrics = view_.window()->fontMetrics();
        const int dateWidth = metrics.horizontalAdvance(QStringLiteral("2026/12/06 23時"));
        view_.setColumnWidth(kGridDateColumn, dated ? dateWidth + 12 : 70);
        if (dated) {
            view_.horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
            view_.setSortingEnabled(true);
        }
    }
    chart_.markPoint(std::nullopt);
    // The newest record in view, wherever the sort has put it.
    if (const int rows = datedModel_->rowCount(); dated && rows > 0)
        view_.scrollTo(datedSort_->mapFromSource(datedModel_->index(rows - 1, 0)));
}

void TableSwitch::markSelectedRecord() {
    if (view_.model() != datedSort_)
        return;
    const QModelIndexList rows = view_.selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        chart_.markPoint(std::nullopt);
        return;
    }
    const QModelIndex current = view_.selectionModel()->currentIndex();
    const QModelIndex row =
        view_.selectionModel()->isRowSelected(current.row()) ? current : rows.front();
    chart_.markPoint(controller_.DatedRecordPoint(datedSort_->mapToSource(row).row()));
}

} // namespace vorn
