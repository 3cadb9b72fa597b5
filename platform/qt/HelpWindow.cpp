#include "platform/qt/HelpWindow.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace vorn {
namespace {

// Shows the pages of the collection. Everything it loads comes out of the
// help engine; it never reaches for files on disk.
class HelpBrowser : public QTextBrowser {
public:
    HelpBrowser(QHelpEngine& engine, QWidget* parent) : QTextBrowser(parent), engine_(engine) {
        setOpenExternalLinks(true);
        document()->setDocumentMargin(12);
    }

    QVariant loadResource(int, const QUrl& name) override {
        if (name.scheme() == QLatin1String("qthelp"))
            return engine_.fileData(name);
        return {};
    }

private:
    QHelpEngine& engine_;
};

} // namespace

HelpWindow::HelpWindow(QHelpEngine& engine) : engine_(engine) {
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(QStringLiteral("Vorn２ ヘルプ"));
    // Help left open must not keep the program running once the main
    // window has gone.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(820, 560);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    tabs_ = new QTabWidget(splitter);
    tabs_->setObjectName(QStringLiteral("helpTabs"));

    contents_ = engine.contentWidget();
    contents_->setObjectName(QStringLiteral("helpContents"));
    contents_->setHeaderHidden(true);
    contents_->setRootIsDecorated(false);
    tabs_->addTab(contents_, QStringLiteral("目次(&C)"));

    indexPage_ = new QWidget;
    auto* indexLayout = new QVBoxLayout(indexPage_);
    search_ = new QLineEdit;
    search_->setObjectName(QStringLiteral("helpSearch"));
    search_->setClearButtonEnabled(true);
    auto* label = new QLabel(QStringLiteral("検索する語句(&W):"));
    label->setBuddy(search_);
    index_ = engine.indexWidget();
    index_->setObjectName(QStringLiteral("helpIndex"));
    indexLayout->addWidget(label);
    indexLayout->addWidget(search_);
    indexLayout->addWidget(index_);
    tabs_->addTab(indexPage_, QStringLiteral("キーワード(&K)"));

    const QString roomyItems = QStringLiteral("QAbstractItemView::item { padding: 2px 4px; }");
    contents_->setStyleSheet(roomyItems);
    index_->setStyleSheet(roomyItems);

    browser_ = new HelpBrowser(engine, splitter);
    browser_->setObjectName(QStringLiteral("helpBrowser"));
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({240, 580});

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);

    connect(contents_, &QHelpContentWidget::linkActivated, this,
            [this](const QUrl& url) { open(url); });
    connect(contents_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (QHelpContentItem* item = engine_.contentModel()->contentItemAt(current))
                    if (item->url() != browser_->source())
                        open(item->url());
            });
    connect(engine.contentModel(), &QHelpContentModel::contentsCreated, this,
            [this] { openFirstPageIfNone(); });
    connect(browser_, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
        const QModelIndex i = contents_->indexOf(url);
        if (i.isValid())
            contents_->setCurrentIndex(i);
    });

    connect(search_, &QLineEdit::textChanged, index_,
            [this](const QString& text) { index_->filterIndices(text); });
    // Words typed while the index was still being built apply once it is.
    connect(engine.indexModel(), &QHelpIndexModel::indexCreated, index_, [this] {
        if (!search_->text().isEmpty())
            index_->filterIndices(search_->text());
    });
    connect(search_, &QLineEdit::returnPressed, index_, &QHelpIndexWidget::activateCurrentItem);
    connect(index_, &QHelpIndexWidget::documentActivated, this,
            [this](const QHelpLink& link, const QString&) { open(link.url); });
    connect(index_, &QHelpIndexWidget::documentsActivated, this,
            [this](const QList<QHelpLink>& links, const QString& keyword) {
                showChoice(links, keyword);
            });
    search_->installEventFilter(this);
}

void HelpWindow::showContents() {
    tabs_->setCurrentWidget(contents_);
    bringUp();
    contents_->setFocus();
}

void HelpWindow::showIndex() {
    tabs_->setCurrentWidget(indexPage_);
    bringUp();
    search_->setFocus();
    search_->selectAll();
}

// The search field passes the list keys on to the index, so that the
// keyword can be picked without leaving the field.
bool HelpWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == search_ && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QCoreApplication::sendEvent(index_, event);
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void HelpWindow::bringUp() {
    openFirstPageIfNone();
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void HelpWindow::open(const QUrl& url) {
    pageShown_ = true;
    browser_->setSource(url);
}

// The contents are built in the background after the collection opens;
// the first page follows as soon as they are there.
void HelpWindow::openFirstPageIfNone() {
    if (pageShown_)
        return;
    QHelpContentModel* model = engine_.contentModel();
    if (model->isCreatingContents() || model->rowCount() == 0)
        return;
    if (QHelpContentItem* first = model->contentItemAt(model->index(0, 0)))
        open(first->url());
}

// A keyword found on several pages: a list of those pages to pick from.
void HelpWindow::showChoice(const QList<QHelpLink>& links, const QString& keyword) {
    QString html = QStringLiteral("<h2>「%1」の項目</h2><p>表示する項目を選んでください。</p><ul>")
                       .arg(keyword.toHtmlEscaped());
    for (const QHelpLink& link : links) {
        const QString title = link.title.isEmpty() ? link.url.fileName() : link.title;
        html += QStringLiteral("<li><a href=\"%1\">%2</a></li>")
                    .arg(link.url.toString().toHtmlEscaped(), title.toHtmlEscaped());
    }
    html += QStringLiteral("</ul>");
    pageShown_ = true;
    browser_->setHtml(html);
}

} // namespace vorn
