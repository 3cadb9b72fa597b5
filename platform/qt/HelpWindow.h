#pragma once

#include <QWidget>

class QHBoxLayout;
class QHelpContentWidget;
class QHelpEngine;
class QHelpIndexWidget;
class QLineEdit;
class QSplitter;
class QTabWidget;
class QTextBrowser;
struct QHelpLink;

namespace vorn {

// The help window: contents and keyword index in tabs on the left, the page
// on the right. Everything it shows comes out of the help engine.
class HelpWindow : public QWidget {
public:
    explicit HelpWindow(QHelpEngine& engine);

    // Brings the window up on its contents, or on its keyword index with the
    // search field focused.
    void showContents();
    void showIndex();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildTabs(QSplitter* splitter);
    QHBoxLayout* buildPagePane(QSplitter* splitter);
    void addHistoryButtons(QHBoxLayout* bar);
    void connectContents();
    void connectIndex();
    void bringUp();
    void follow(const QUrl& url);
    void open(const QUrl& url);
    void openFirstPageIfNone();
    void showChoice(const QList<QHelpLink>& links, const QString& keyword);

    QHelpEngine& engine_;
    QTabWidget* tabs_;
    QHelpContentWidget* contents_;
    QWidget* indexPage_;
    QLineEdit* search_;
    QHelpIndexWidget* index_;
    QTextBrowser* browser_;
    bool pageShown_ = false;
    bool placed_ = false;
};

} // namespace vorn
