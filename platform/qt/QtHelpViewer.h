#pragma once

#include "platform/HelpViewer.h"

#include <QString>
#include <memory>

class QHelpEngine;
class QWidget;

namespace vorn {

class HelpWindow;
class Prompter;

// Where the help collection Vorn.qhc is: in $VORN_HELP_DIR, beside the
// executable, or in ../share/vorn relative to it, the first found. Empty
// when there is none.
QString FindHelpCollection();

// The help viewer on a Qt Help collection. help::FINDER shows the help
// window on its contents, help::KEY on its keyword index with the search
// field focused. The collection is opened, read-only, at the first command;
// when it is missing or broken each command says so through the prompter.
class QtHelpViewer : public HelpViewer {
public:
    QtHelpViewer(Prompter& prompter, QString collectionFile);
    ~QtHelpViewer() override;
    QtHelpViewer(const QtHelpViewer&) = delete;
    QtHelpViewer& operator=(const QtHelpViewer&) = delete;

    void command(unsigned code, long data) override;

    // The help window, once a command has shown it; null before.
    QWidget* window() const;

private:
    bool openCollection();

    Prompter& prompter_;
    QString collectionFile_;
    // Declared before the window: the window holds the engine's widgets.
    std::unique_ptr<QHelpEngine> engine_;
    std::unique_ptr<HelpWindow> window_;
};

} // namespace vorn
