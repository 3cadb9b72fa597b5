#pragma once

#include "platform/FileChooser.h"
#include "platform/Prompter.h"
#include "ui/CommandBoundary.h"
#include "ui/graph/StatsTable.h"

#include <QWidget>

#include <functional>

class QAction;
class QComboBox;
class QMenu;
class QTableView;

namespace vorn {

class StatsModel;

// The statistics of one quantity per week, month or year, as a table. The
// period is chosen in the window: `compute` gives the table of a period.
// The table's menu (the right button, the Menu key, Shift+F10) and Ctrl+S
// save it as CSV.
class StatsWindow : public QWidget {
    Q_OBJECT
public:
    using Compute = std::function<StatsTable(Period)>;
    StatsWindow(StatsTable table, Compute compute, Prompter& prompter, FileChooser& files,
                QWidget* parent = nullptr);

    QTableView* tableView() const { return view_; }
    QAction* saveAction() const { return save_; }
    QMenu* tableMenu() const { return menu_; }
    const StatsTable& table() const;

private:
    // The table's menu and its one command, saving, also Ctrl+S.
    void buildMenu();
    void showPeriod(int choice);
    void openMenu(const QPoint& globalPos);

    Compute compute_;
    Prompter& prompter_;
    FileChooser& files_;
    CommandBoundary boundary_;
    StatsModel* model_;
    QComboBox* period_;
    QTableView* view_;
    QMenu* menu_;
    QAction* save_;
};

} // namespace vorn
