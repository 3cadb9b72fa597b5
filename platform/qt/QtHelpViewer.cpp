#include "platform/qt/QtHelpViewer.h"

#include "platform/Prompter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
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

const char* const kCollectionName = "Vorn.qhc";
const char* const kCaption = "警告ﾍﾙﾌﾟ";

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

// The help window: contents and keyword index in tabs on the left, the page
// on the right.
class HelpWindow : public QWidget {
public:
    explicit HelpWindow(QHelpEngine& engine) : engine_(engine) {
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

    void showContents() {
        tabs_->setCurrentWidget(contents_);
        bringUp();
        contents_->setFocus();
    }

    void showIndex() {
        tabs_->setCurrentWidget(indexPage_);
        bringUp();
        search_->setFocus();
        search_->selectAll();
    }

protected:
    // The search field passes the list keys on to the index, so that the
    // keyword can be picked without leaving the field.
    bool eventFilter(QObject* watched, QEvent* event) override {
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

private:
    void bringUp() {
        openFirstPageIfNone();
        if (isMinimized())
            showNormal();
        show();
        raise();
        activateWindow();
    }

    void open(const QUrl& url) {
        pageShown_ = true;
        browser_->setSource(url);
    }

    // The contents are built in the background after the collection opens;
    // the first page follows as soon as they are there.
    void openFirstPageIfNone() {
        if (pageShown_)
            return;
        QHelpContentModel* model = engine_.contentModel();
        if (model->isCreatingContents() || model->rowCount() == 0)
            return;
        if (QHelpContentItem* first = model->contentItemAt(model->index(0, 0)))
            open(first->url());
    }

    // A keyword found on several pages: a list of those pages to pick from.
    void showChoice(const QList<QHelpLink>& links, const QString& keyword) {
        QString html =
            QStringLiteral("<h2>「%1」の項目</h2><p>表示する項目を選んでください。</p><ul>")
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

    QHelpEngine& engine_;
    QTabWidget* tabs_;
    QHelpContentWidget* contents_;
    QWidget* indexPage_;
    QLineEdit* search_;
    QHelpIndexWidget* index_;
    QTextBrowser* browser_;
    bool pageShown_ = false;
};

QString FindHelpCollection() {
    QStringList dirs;
    const QString env = qEnvironmentVariable("VORN_HELP_DIR");
    if (!env.isEmpty())
        dirs << env;
    const QString appDir = QCoreApplication::applicationDirPath();
    dirs << appDir << appDir + QStringLiteral("/../share/vorn");
    for (const QString& dir : dirs) {
        const QFileInfo file(QDir(dir).filePath(QLatin1String(kCollectionName)));
        if (file.isFile())
            return QDir::cleanPath(file.absoluteFilePath());
    }
    return {};
}

QtHelpViewer::QtHelpViewer(Prompter& prompter, QString collectionFile)
    : prompter_(prompter), collectionFile_(std::move(collectionFile)) {}

QtHelpViewer::~QtHelpViewer() = default;

QWidget* QtHelpViewer::window() const {
    return window_.get();
}

void QtHelpViewer::command(unsigned code, long) {
    if (code != help::FINDER && code != help::KEY)
        return;
    if (!openCollection())
        return;
    if (!window_)
        window_ = std::make_unique<HelpWindow>(*engine_);
    if (code == help::FINDER)
        window_->showContents();
    else
        window_->showIndex();
}

bool QtHelpViewer::openCollection() {
    if (engine_)
        return true;
    auto tell = [this](const QString& file, const char* what) {
        const QString text =
            QStringLiteral("ヘルプファイル %1 %2").arg(file, QString::fromUtf8(what));
        prompter_.show(text.toStdString(), kCaption, mb::OK | mb::ICONEXCLAMATION);
        return false;
    };
    if (collectionFile_.isEmpty())
        return tell(QLatin1String(kCollectionName), "が見つかりません。");
    const QString shown = QDir::toNativeSeparators(collectionFile_);
    if (!QFileInfo(collectionFile_).isFile())
        return tell(shown, "が見つかりません。");

    // Read-only: showing help must never write into the collection, which
    // may lie in a system folder.
    auto engine = std::make_unique<QHelpEngine>(collectionFile_);
    engine->setReadOnly(true);
    engine->setUsesFilterEngine(true);
    if (!engine->setupData())
        return tell(shown, "を開けません。");
    const QStringList docs = engine->registeredDocumentations();
    if (docs.isEmpty())
        return tell(shown, "を開けません。");
    for (const QString& ns : docs) {
        const QString doc = engine->documentationFileName(ns);
        if (!QFileInfo(doc).isFile())
            return tell(QDir::toNativeSeparators(doc), "が見つかりません。");
    }
    engine_ = std::move(engine);
    return true;
}

} // namespace vorn
