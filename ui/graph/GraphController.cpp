#include "ui/graph/GraphController.h"

#include "core/Measurement.h"
#include "core/NumText.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

namespace vorn {

GraphController::GraphController(GraphView& view, const TargetTable& targets)
    : view_(view), targets_(targets) {}

void GraphController::FormCreate() {
    becomeCompactAndCentred();
}

void GraphController::FormActivate() {
    becomeCompactAndCentred();
}

void GraphController::becomeCompactAndCentred() {
    expanded_ = false;
    view_.setWindowHeight(kCompactHeight);
    view_.setWindowTop(view_.screenHeight() / 2 - kCompactHeight / 2);
}

void GraphController::PlotQuantity(int quantity, const std::string& targetText) {
    if (quantity < 0 || quantity >= kQuantityCount)
        throw std::out_of_range("PlotQuantity: no quantity " + std::to_string(quantity));
    const std::string target = targetText; // the caller's text may change under us
    const bool withTarget = !target.empty();
    view_.setTargetLegendVisible(withTarget);

    // A text that is not a number, or one too large for a double, has no
    // value: the row then plots as 0.
    const std::optional<double> targetValue =
        withTarget ? StrToDouble(target) : std::optional<double>(0.0);
    const GridTable& grid = view_.grid();
    const int column = GridColumnOf(quantity);
    std::vector<PlotPoint> measured;
    std::vector<PlotPoint> targetLine;
    measured.reserve(static_cast<std::size_t>(std::max(rows_ - 1, 0)));
    if (withTarget)
        targetLine.reserve(measured.capacity());
    for (int row = 1; row < rows_; ++row) {
        const std::optional<double> value = grid.value(column, row);
        double y = 0;
        double t = 0;
        // One failed conversion, of the cell or of the target, drops both
        // lines to 0 at this row.
        if (value && targetValue) {
            y = *value;
            t = *targetValue;
        }
        const double x = static_cast<double>(measured.size());
        measured.push_back({x, y});
        if (withTarget)
            targetLine.push_back({x, t});
    }
    // Both lines are replaced even by no points, so that the view fits its
    // axes to this plot and not to the one before.
    view_.setPlot(measured, targetLine);
    plotted_ = quantity;
    plottedPoints_ = static_cast<int>(measured.size());
}

std::string GraphController::PointText(int point) const {
    if (point < 0 || point >= plottedPoints_)
        return {};
    const GridTable& grid = view_.grid();
    const int row = point + 1;
    std::string text;
    for (const int column : {0, kGridDateColumn, GridColumnOf(plotted_)}) {
        const std::string& header = grid.text(column, 0);
        if (!text.empty())
            text += '\n';
        text += header.empty() ? grid.text(column, row) : header + ' ' + grid.text(column, row);
    }
    return text;
}

void GraphController::select(int quantity) {
    selected_ = quantity;
    PlotQuantity(quantity, targets_[static_cast<size_t>(quantity)]);
}

void GraphController::RadioButton1Click() {
    select(QuantityOfRadioButton(1));
}
void GraphController::RadioButton2Click() {
    select(QuantityOfRadioButton(2));
}
void GraphController::RadioButton3Click() {
    select(QuantityOfRadioButton(3));
}
void GraphController::RadioButton4Click() {
    select(QuantityOfRadioButton(4));
}
void GraphController::RadioButton5Click() {
    select(QuantityOfRadioButton(5));
}
void GraphController::RadioButton6Click() {
    select(QuantityOfRadioButton(6));
}
void GraphController::RadioButton7Click() {
    select(QuantityOfRadioButton(7));
}
void GraphController::RadioButton8Click() {
    select(QuantityOfRadioButton(8));
}
void GraphController::RadioButton9Click() {
    select(QuantityOfRadioButton(9));
}

void GraphController::Button1Click() {
    const int shift = view_.screenHeight() / 6;
    const int top = view_.windowTop();
    if (!expanded_) {
        view_.setWindowHeight(kExpandedHeight);
        expanded_ = true;
        view_.setWindowTop(top - shift);
    } else {
        view_.setWindowHeight(kCompactHeight);
        expanded_ = false;
        view_.setWindowTop(top + shift);
    }
}

void GraphController::setHistoryRowCount(int rows) {
    GridTable::CheckRows(0, rows);
    rows_ = rows;
}

void GraphController::setRows(int first, std::vector<GridRow> rows) {
    view_.setRows(first, std::move(rows));
}

void GraphController::showModal() {
    view_.showModal();
}

} // namespace vorn
