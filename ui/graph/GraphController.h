#pragma once

#include "targets/TargetTable.h"
#include "ui/graph/GraphView.h"

#include <string>
#include <vector>

namespace vorn {

// The behaviour of the graph window: plotting one quantity of the history
// grid against its target, the quantity buttons, and folding the grid away.
class GraphController {
public:
    // Outer window heights (frame included) of the folded and unfolded window.
    static constexpr int kCompactHeight = 318;
    static constexpr int kExpandedHeight = 517;

    GraphController(GraphView& view, const TargetTable& targets);

    void FormCreate();
    void FormActivate();

    // Plots the values of grid column GridColumnOf(quantity), rows 1 to
    // historyRowCount() - 1, against targetText. Raises std::out_of_range for
    // a quantity outside 0..8.
    void PlotQuantity(int quantity, const std::string& targetText);

    // What the grid shows for point `point` of the measured line of the
    // latest plot, one line each: its number, its date and its value, each
    // after its column header. Empty when the plot has no such point.
    std::string PointText(int point) const;

    // Each selects its quantity and plots it against its target.
    void RadioButton1Click();
    void RadioButton2Click();
    void RadioButton3Click();
    void RadioButton4Click();
    void RadioButton5Click();
    void RadioButton6Click();
    void RadioButton7Click();
    void RadioButton8Click();
    void RadioButton9Click();

    // All data: unfolds the grid (the window grows upwards) or folds it away.
    void Button1Click();

    int selectedQuantity() const { return selected_; }
    // The rows of the grid in use, its header included: one more than the
    // number of records of the latest load. Raises std::out_of_range for a
    // count outside 0..kGridRows, so that a plot never reads past the grid.
    int historyRowCount() const { return rows_; }
    void setHistoryRowCount(int rows);
    // Writes rows first, first + 1, ... of the grid in one go; the other rows
    // keep their texts. Raises std::out_of_range for rows outside the grid.
    void setRows(int first, std::vector<GridRow> rows);
    void showModal();

private:
    void select(int quantity);
    void becomeCompactAndCentred();

    GraphView& view_;
    const TargetTable& targets_;
    int selected_ = 0;
    int rows_ = 0;
    bool expanded_ = false;
    // The quantity and the number of points of the latest plot.
    int plotted_ = 0;
    int plottedPoints_ = 0;
};

} // namespace vorn
