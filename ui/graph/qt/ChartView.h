#pragma once

#include <QChartView>

#include <optional>
#include <string>

class QLabel;

namespace vorn {

class GraphChart;
class GraphController;

// The window's chart `Chart1` with the usual gestures of a chart: the
// rubber band zooms, but drawn towards the upper left it restores the
// fitted view, as does a double-click; the user's zooms are animated. The
// point under the pointer, with no button held, shows its record as a
// tooltip. The right button asks for the chart's menu (which also zooms
// out) instead of zooming out. The trend's summary stands at the top of the
// plot.
class ChartView : public QChartView {
    Q_OBJECT
public:
    // The texts of the tooltips come from `texts`.
    ChartView(GraphChart& chart, const GraphController& texts, QWidget* parent);

    // The trend's summary, or none; read by screen readers.
    void showSummary(const std::optional<std::string>& summary);
    // Where the menu opens when asked for by a key: the plot's middle.
    QPoint menuPlace() const;

signals:
    void menuRequested(const QPoint& globalPos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // On a calendar: the wheel zooms about the pointer, the arrow keys move
    // the view through time (Up and Down zoom in and out).
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void makeSummary();
    // The summary at the top edge of the plot, whole, wherever the plot is.
    void placeSummary();
    // The tooltip of the point under the pointer, if there is one.
    void pointerMoved(const QPoint& viewportPos);

    GraphChart& graph_;
    const GraphController& texts_;
    QLabel* summary_ = nullptr;
    QPoint origin_;
    bool tipShown_ = false;
};

} // namespace vorn
