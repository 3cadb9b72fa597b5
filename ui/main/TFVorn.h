#pragma once

#include "ui/CommandBoundary.h"
#include "ui/main/DataInController.h"
#include "ui/main/DataInDialogs.h"
#include "ui/main/MainController.h"
#include "ui/main/MainView.h"
#include "ui/targets/MarkerView.h"

#include <QMainWindow>
#include <functional>
#include <map>

class QAction;
class QLabel;
class QLineEdit;
class QToolButton;

namespace vorn {

// The main window: inputs, results, status panel, hint bar, toolbar, menus
// and the target markers. Its behaviour is in MainController.
class TFVorn : public QMainWindow, public MainView, public MarkerView {
    Q_OBJECT
public:
    TFVorn(MainController::Services services, MainController::State state,
           QWidget* parent = nullptr);

    MainController& controller() { return controller_; }
    // What the targets command shows (the targets dialog, modally).
    void setTargetsDialog(std::function<void()> show) { showTargets_ = std::move(show); }

    // MainView (the QWidget overloads stay reachable)
    using QMainWindow::setFocus;
    using QMainWindow::setVisible;
    std::string text(MainCtl c) const override;
    void setText(MainCtl c, const std::string& text) override;
    void setFontColour(MainCtl c, Colour colour) override;
    void setColour(MainCtl c, Colour colour) override;
    void setVisible(MainCtl c, bool visible) override;
    void setHint(MainCtl c, const std::string& hint) override;
    void setFocus(MainCtl c) override;
    void showTargetsDialog() override;
    void closeWindow() override;

    // MarkerView
    void setMarkerVisible(int quantity, bool visible) override;
    void setMarkerHint(int quantity, const std::string& hint) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    static void FitFont(QLabel* label);
    void buildToolbar(QWidget* client);
    void buildRows(QWidget* client);
    // The value of row k at height y: an input field for the three typed
    // quantities, a result label for the others.
    void buildValue(QWidget* client, int k, int y);
    void buildStatus(QWidget* client);
    void buildMenus();
    void buildDataInMenus(QMenu* file);
    QAction* addCommand(QMenu* menu, const char* name, const char* text, const QKeySequence& keys,
                        void (MainController::*handler)());
    void run(void (MainController::*handler)());
    bool isOurShortcut(const QKeyEvent* event) const;

    CommandBoundary boundary_;
    MainController controller_;
    // A measurement at another moment, and imports.
    DataInDialogs dataInDialogs_{this};
    DataInController dataIn_;
    std::map<MainCtl, QWidget*> controls_;
    QObject* plainTips_ = nullptr; // shows the hints' tooltips as text
    std::map<QObject*, void (MainController::*)()> hintHandlers_;
    std::map<QObject*, bool (MainController::*)(int)> keyHandlers_;
    QList<QKeySequence> shortcuts_;
    std::function<void()> showTargets_;
    bool centred_ = false;
};

} // namespace vorn
