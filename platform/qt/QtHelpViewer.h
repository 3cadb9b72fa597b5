#pragma once

#include "platform/HelpViewer.h"

#include <QString>
#include <QStringList>
#include <memory>

class QHelpEngine;
class QWidget;

namespace vorn {

class HelpWindow;
class Prompter;

// Where the program looks for its help collection: beside the executable,
// then in ../share/vorn relative to it.
QStringList HelpFolders();
// The help collection Vorn.qhc in the first of `dirs` that holds one; empty
// when none does.
QString FindHelpCollection(const QStringList& dirs);

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
