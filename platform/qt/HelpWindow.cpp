#include "platform/qt/HelpWindow.h"

#include "platform/qt/ScreenFit.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

namespace vorn {
namespace {

const QSize kDesignedSize(820, 560);

// Shows the pages of the collection, and the lists of pages a keyword leads
// to, which the window makes itself. Everything it loads comes out of the
// help engine or that window; it never reaches for files on disk.
class HelpBrowser : public QTextBrowser {
public:
    HelpBrowser(QHelpEngine& engine, QWidget* parent) : QTextBrowser(parent), engine_(engine) {
        // Links are followed by the window, page by page into the history.
        setOpenLinks(false);
        document()->setDocumentMargin(12);
    }

    void addPage(const QUrl& url, const QString& html) { made_[url] = html; }

    QVariant loadResource(int, const QUrl& name) override {
        if (name.scheme() == QLatin1String("qthelp"))
            return engine_.fileData(name);
        if (name.scheme() == QLatin1String(kMadeScheme))
            return made_.value(name.adjusted(QUrl::RemoveFragment));
        return {};
    }

    static constexpr const char* kMadeScheme = "vorn";

private:
    QHelpEngine& engine_;
    QHash<QUrl, QString> made_;
};

} // namespace

HelpWindow::HelpWindow(QHelpEngine& engine) : engine_(engine) {
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(QStringLiteral("Vorn２ ヘルプ"));
    // Help left open must not keep the program running once the main
    // window has gone.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(kDesignedSize);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    buildTabs(splitter);
    QHBoxLayout* bar = buildPagePane(splitter);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({240, 580});
    addHistoryButtons(bar);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);

    connectContents();
    connectIndex();
    search_->installEventFilter(this);
}

// The contents and the keyword index, each in its tab.
void HelpWindow::buildTabs(QSplitter* splitter) {
    tabs_ = new QTabWidget(splitter);
    tabs_->setObjectName(QStringLiteral("helpTabs"));

    contents_ = engine_.contentWidget();
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
    index_ = engine_.indexWidget();
    index_->setObjectName(QStringLiteral("helpIndex"));
    indexLayout->addWidget(label);
    indexLayout->addWidget(search_);
    indexLayout->addWidget(index_);
    tabs_->addTab(indexPage_, QStringLiteral("キーワード(&K)"));

    const QString roomyItems = QStringLiteral("QAbstractItemView::item { padding: 2px 4px; }");
    contents_->setStyleSheet(roomyItems);
    index_->setStyleSheet(roomyItems);
}

// The page under the bar of history buttons, which it returns.
QHBoxLayout* HelpWindow::buildPagePane(QSplitter* splitter) {
    auto* pagePane = new QWidget(splitter);
    auto* pageLayout = new QVBoxLayout(pagePane);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->setSpacing(0);
    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(4, 2, 4, 2);
    pageLayout->addLayout(bar);
    browser_ = new HelpBrowser(engine_, pagePane);
    browser_->setObjectName(QStringLiteral("helpBrowser"));
    pageLayout->addWidget(browser_);
    return bar;
}

// Back and forward through the pages shown, by button or Alt+Left and
// Alt+Right wherever the focus is in the window.
void HelpWindow::addHistoryButtons(QHBoxLayout* bar) {
    const auto historyButton = [&](const char* name, const QString& text,
                                   QStyle::StandardPixmap icon, const QKeySequence& keys,
                                   void (QTextBrowser::*go)()) {
        auto* action = new QAction(style()->standardIcon(icon), text, this);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(keys);
        action->setEnabled(false);
        addAction(action);
        connect(action, &QAction::triggered, browser_, go);
        auto* button = new QToolButton;
        button->setDefaultAction(action);
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setAutoRaise(true);
        bar->addWidget(button);
        return action;
    };
    QAction* back = historyButton("helpBack", QStringLiteral("戻る(&B)"), QStyle::SP_ArrowBack,
                                  QKeySequence(Qt::ALT | Qt::Key_Left), &QTextBrowser::backward);
    QAction* forward =
        historyButton("helpForward", QStringLiteral("進む(&F)"), QStyle::SP_ArrowForward,
                      QKeySequence(Qt::ALT | Qt::Key_Right), &QTextBrowser::forward);
    bar->addStretch();
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) { follow(url); });
}

// The contents tab and the page follow each other.
void HelpWindow::connectContents() {
    connect(contents_, &QHelpContentWidget::linkActivated, this,
            [this](const QUrl& url) { open(url); });
    connect(contents_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (QHelpContentItem* item = engine_.contentModel()->contentItemAt(current))
                    if (item->url() != browser_->source())
                        open(item->url());
            });
    connect(engine_.contentModel(), &QHelpContentModel::contentsCreated, this,
            [this] { openFirstPageIfNone(); });
    connect(browser_, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
        const QModelIndex i = contents_->indexOf(url);
        if (i.isValid())
            contents_->setCurrentIndex(i);
    });
}

// The search field filters the keywords; a keyword opens its page, or the
// list of its pages.
void HelpWindow::connectIndex() {
    connect(search_, &QLineEdit::textChanged, index_,
            [this](const QString& text) { index_->filterIndices(text); });
    // Words typed while the index was still being built apply once it is.
    connect(engine_.indexModel(), &QHelpIndexModel::indexCreated, index_, [this] {
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
    if (!placed_) {
        // Its designed size where the screen has room for it, and centred.
        placed_ = true;
        const QRect area = AvailableArea(*this);
        const QMargins frame = FrameOf(*this);
        resize(FitSize(kDesignedSize, area, frame));
        QRect outer = QRect(QPoint(), size()).marginsAdded(frame);
        outer.moveCenter(area.center());
        move(FitPosition(outer, area));
    }
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

// A link of a page: a page of the collection, or a list the window made,
// opens here; a web address goes to the desktop's browser. Nothing else is
// followed.
void HelpWindow::follow(const QUrl& url) {
    const QString scheme = url.scheme();
    if (scheme == QLatin1String("qthelp") || scheme == QLatin1String(HelpBrowser::kMadeScheme))
        open(url);
    else if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        QDesktopServices::openUrl(url);
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
    // A page of its own, so that back returns to the list.
    QUrl url;
    url.setScheme(QLatin1String(HelpBrowser::kMadeScheme));
    url.setPath(QStringLiteral("choice"));
    url.setQuery(QStringLiteral("keyword=") +
                 QString::fromLatin1(QUrl::toPercentEncoding(keyword)));
    static_cast<HelpBrowser*>(browser_)->addPage(url, html);
    open(url);
}

} // namespace vorn
