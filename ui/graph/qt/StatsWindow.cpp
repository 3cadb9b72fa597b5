#include "ui/graph/qt/StatsWindow.h"

#include "core/Quantities.h"
#include "ui/graph/StatsSave.h"
#include "ui/graph/qt/StatsModel.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

namespace vorn {

StatsWindow::StatsWindow(StatsTable table, Compute compute, Prompter& prompter, FileChooser& files,
                         QWidget* parent)
    : QWidget(parent, Qt::Window), compute_(std::move(compute)), prompter_(prompter), files_(files),
      boundary_(prompter) {
    setObjectName(QStringLiteral("StatsWindow"));
    const QString quantity = QString::fromUtf8(Facts(table.quantity()).gridHeader);
    setWindowTitle(QStringLiteral("期間ごとの集計 - ") + quantity);

    period_ = new QComboBox(this);
    period_->setObjectName(QStringLiteral("StatsPeriod"));
    // In the order of Period: the choice's index is the period.
    period_->addItems(
        {QStringLiteral("週ごと"), QStringLiteral("月ごと"), QStringLiteral("年ごと")});
    period_->setCurrentIndex(static_cast<int>(table.periods().period()));
    auto* label = new QLabel(QStringLiteral("集計の単位(&U):"), this);
    label->setBuddy(period_);

    model_ = new StatsModel(std::move(table), this);
    view_ = new QTableView(this);
    view_->setObjectName(QStringLiteral("StatsTable"));
    view_->setAccessibleName(QStringLiteral("期間ごとの集計の表 ") + quantity);
    view_->setModel(model_);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setTabKeyNavigation(false);
    view_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    view_->verticalHeader()->hide();

    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(period_);
    row->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(view_);
    resize(640, 420);

    buildMenu();
    connect(period_, &QComboBox::currentIndexChanged, this, &StatsWindow::showPeriod);
}

void StatsWindow::buildMenu() {
    save_ = new QAction(QStringLiteral("CSV形式で保存(&S)…"), this);
    save_->setObjectName(QStringLiteral("SaveStatsCsv"));
    save_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    addAction(save_);
    connect(save_, &QAction::triggered, this, [this] {
        boundary_.run([this] { SaveStatsCsv(model_->table(), files_, prompter_); });
    });
    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("StatsMenu"));
    menu_->addAction(save_);

    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { openMenu(view_->viewport()->mapToGlobal(pos)); });
    // The Menu key can also arrive as a request for the menu: openMenu
    // opens it once.
    auto* keys = new QShortcut(view_);
    keys->setKeys({QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)});
    keys->setContext(Qt::WidgetShortcut);
    connect(keys, &QShortcut::activated, this, [this] {
        openMenu(view_->viewport()->mapToGlobal(view_->viewport()->rect().center()));
    });
}

const StatsTable& StatsWindow::table() const {
    return model_->table();
}

void StatsWindow::showPeriod(int choice) {
    boundary_.run([&] { model_->setTable(compute_(static_cast<Period>(choice))); });
}

void StatsWindow::openMenu(const QPoint& globalPos) {
    if (!menu_->isVisible())
        menu_->popup(globalPos);
}

} // namespace vorn
