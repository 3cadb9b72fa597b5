#include "platform/qt/QtHelpViewer.h"
#include "support/TestHome.h"
#include "support/fakes/FakeSeams.h"

#include <QAction>
#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <gtest/gtest.h>

using namespace vorn;
using namespace vorn::test;

namespace {

// The pages of the user's guide, read straight from the Markdown.
struct GuidePage {
    QString title;
    QStringList keywords;
};

std::vector<GuidePage> ReadGuide() {
    QFile f(QStringLiteral(VORN_USER_GUIDE));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << VORN_USER_GUIDE;
    std::vector<GuidePage> pages;
    bool inFence = false;
    static const QRegularExpression keywords(QStringLiteral("^<!-- keywords:(.*)-->$"));
    for (const QString& line : QString::fromUtf8(f.readAll()).split(u'\n')) {
        if (line.startsWith(QLatin1String("```")))
            inFence = !inFence;
        else if (!inFence && line.startsWith(QLatin1String("## ")))
            pages.push_back({line.mid(3).trimmed(), {}});
        else if (auto m = keywords.match(line.trimmed()); m.hasMatch() && !pages.empty())
            for (const QString& k : m.captured(1).split(u','))
                pages.back().keywords << k.trimmed();
    }
    return pages;
}

// Types text as the keyboard or, for Japanese, as an input method would.
void Type(QWidget* w, const QString& text) {
    for (const QChar ch : text) {
        if (ch.unicode() < 0x80) {
            QTest::keyClick(w, ch.toLatin1());
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(ch);
            QApplication::sendEvent(w, &commit);
        }
    }
}

QByteArray Digest(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

struct HelpViewerTest : ::testing::Test {
    FakePrompter prompter;
    QString collection = FindHelpCollection({QStringLiteral(VORN_HELP_DIR)});

    void SetUp() override {
        ASSERT_FALSE(collection.isEmpty()) << "Vorn.qhc not found in " VORN_HELP_DIR;
    }
    template <class W> static W* child(QtHelpViewer& v, const char* name) {
        W* w = v.window() ? v.window()->findChild<W*>(QLatin1String(name)) : nullptr;
        EXPECT_TRUE(w) << name;
        return w;
    }
    static QString focused() {
        QWidget* f = QApplication::focusWidget();
        return f ? f->objectName() : QString();
    }
};

TEST_F(HelpViewerTest, ContentsShowTheGuidePagesInOrderAndOpenTheFirst) {
    const QByteArray before = Digest(collection);
    const std::vector<GuidePage> guide = ReadGuide();
    ASSERT_GE(guide.size(), 10u);

    QtHelpViewer viewer(prompter, collection);
    viewer.command(help::FINDER, 0);
    ASSERT_TRUE(viewer.window());
    EXPECT_TRUE(viewer.window()->isVisible());
    EXPECT_EQ(viewer.window()->windowTitle(), QStringLiteral("Vorn２ ヘルプ"));
    // The two tabs and the search field's label, with their access keys.
    auto* tabs = child<QTabWidget>(viewer, "helpTabs");
    ASSERT_TRUE(tabs);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("目次(&C)"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("キーワード(&K)"));
    QStringList searchLabels;
    for (const QLabel* label : viewer.window()->findChildren<QLabel*>())
        if (label->buddy() && label->buddy()->objectName() == QStringLiteral("helpSearch"))
            searchLabels << label->text();
    EXPECT_EQ(searchLabels, QStringList{QStringLiteral("検索する語句(&W):")});

    auto* contents = child<QHelpContentWidget>(viewer, "helpContents");
    auto* browser = child<QTextBrowser>(viewer, "helpBrowser");
    ASSERT_TRUE(contents && browser);
    QAbstractItemModel* model = contents->model();
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->rowCount() > 0; }, 10000));
    ASSERT_EQ(model->rowCount(), static_cast<int>(guide.size()));
    for (int i = 0; i < model->rowCount(); ++i)
        EXPECT_EQ(model->index(i, 0).data().toString(), guide[i].title) << i;

    ASSERT_TRUE(QTest::qWaitFor([&] { return !browser->source().isEmpty(); }, 10000));
    EXPECT_EQ(browser->source().scheme(), QStringLiteral("qthelp"));
    EXPECT_TRUE(browser->toPlainText().contains(guide[0].title));
    EXPECT_TRUE(prompter.shown.empty());

    // Picking another entry of the contents shows its page.
    contents->setCurrentIndex(model->index(4, 0));
    EXPECT_TRUE(browser->toPlainText().contains(guide[4].title));

    viewer.window()->close();
    EXPECT_EQ(Digest(collection), before) << "the viewer wrote into the collection";
}

TEST_F(HelpViewerTest, KeywordSearchFocusesTheFieldAndOpensTheChosenPage) {
    QtHelpViewer viewer(prompter, collection);
    viewer.command(help::KEY, 0);
    ASSERT_TRUE(viewer.window());
    ASSERT_TRUE(QTest::qWaitForWindowActive(viewer.window()));
    EXPECT_EQ(focused(), QStringLiteral("helpSearch"));

    auto* index = child<QHelpIndexWidget>(viewer, "helpIndex");
    auto* browser = child<QTextBrowser>(viewer, "helpBrowser");
    ASSERT_TRUE(index && browser);
    auto* model = qobject_cast<QHelpIndexModel*>(index->model());
    ASSERT_TRUE(model);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !model->isCreatingIndex() && model->rowCount() > 0; }, 10000));

    struct Case {
        const char* typed;
        QStringList pageTexts; // every one must be on the page shown
    };
    const Case cases[] = {
        // One page: the page itself.
        {"BMI", {QStringLiteral("BMI"), QStringLiteral("計算される値と計算式")}},
        {"やせ過ぎ", {QStringLiteral("肥満度の判定"), QStringLiteral("やせ過ぎ")}},
        // Several pages: a list of them to choose from.
        {"記録ファイル",
         {QStringLiteral("測定結果を保存する"), QStringLiteral("記録ファイルの形式")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        QWidget* search = QApplication::focusWidget();
        ASSERT_EQ(focused(), QStringLiteral("helpSearch"));
        QTest::keyClick(search, Qt::Key_A, Qt::ControlModifier);
        Type(search, QString::fromUtf8(c.typed));
        EXPECT_TRUE(index->currentIndex().data().toString().startsWith(QString::fromUtf8(c.typed)));
        for (int r = 0; r < model->rowCount(); ++r)
            EXPECT_TRUE(model->index(r, 0).data().toString().contains(QString::fromUtf8(c.typed),
                                                                      Qt::CaseInsensitive));
        QTest::keyClick(search, Qt::Key_Return);
        for (const QString& t : c.pageTexts)
            EXPECT_TRUE(browser->toPlainText().contains(t)) << t.toStdString();
        EXPECT_EQ(focused(), QStringLiteral("helpSearch"));
    }
    EXPECT_TRUE(prompter.shown.empty());
}

// The collection is built from docs/user-guide.md; whatever the guide holds
// must arrive in it intact: every heading a page of UTF-8 HTML, every
// keyword in the index, every link between pages pointing at a page.
TEST_F(HelpViewerTest, CollectionMatchesTheGuide) {
    const std::vector<GuidePage> guide = ReadGuide();
    QHelpEngine engine(collection);
    engine.setReadOnly(true);
    engine.setUsesFilterEngine(true);
    ASSERT_TRUE(engine.setupData()) << engine.error().toStdString();
    const QStringList docs = engine.registeredDocumentations();
    ASSERT_EQ(docs.size(), 1);

    const QList<QUrl> files = engine.files(docs[0], QString(), QStringLiteral("html"));
    ASSERT_EQ(files.size(), static_cast<qsizetype>(guide.size()));

    static const QRegularExpression href(QStringLiteral("href=\"([^\"#:]+)\""));
    for (const QUrl& file : files) {
        SCOPED_TRACE(file.toString().toStdString());
        const QByteArray html = engine.fileData(file);
        EXPECT_TRUE(html.contains("charset=\"utf-8\"")) << "no UTF-8 declaration";
        EXPECT_TRUE(html.contains("lang=\"ja\""));
        for (auto it = href.globalMatch(QString::fromUtf8(html)); it.hasNext();) {
            const QUrl target = file.resolved(QUrl(it.next().captured(1)));
            EXPECT_FALSE(engine.fileData(target).isEmpty())
                << "dead link " << target.toString().toStdString();
        }
    }
    for (const GuidePage& page : guide)
        for (const QString& keyword : page.keywords) {
            SCOPED_TRACE(keyword.toStdString());
            const QList<QHelpLink> links = engine.documentsForKeyword(keyword);
            ASSERT_FALSE(links.isEmpty());
            const bool onItsPage = std::any_of(links.begin(), links.end(), [&](const QHelpLink& l) {
                return QString::fromUtf8(engine.fileData(l.url))
                    .contains(QStringLiteral("<title>%1</title>").arg(page.title.toHtmlEscaped()));
            });
            EXPECT_TRUE(onItsPage) << page.title.toStdString();
        }
}

// A help collection that is not there or cannot be used is reported once per
// command, by name, and no window opens.
TEST_F(HelpViewerTest, UnusableCollectionIsReportedWithoutWindow) {
    const QString dir = QString::fromStdString(MakeTempDir("help"));
    const QString garbage = dir + QStringLiteral("/garbage/Vorn.qhc");
    QDir().mkpath(dir + QStringLiteral("/garbage"));
    {
        QFile f(garbage);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("this is no help collection\n");
    }
    // The collection without the documentation it registers.
    const QString alone = dir + QStringLiteral("/alone/Vorn.qhc");
    QDir().mkpath(dir + QStringLiteral("/alone"));
    ASSERT_TRUE(QFile::copy(collection, alone));

    struct Case {
        const char* name;
        QString file;
        QString message;
    };
    const Case cases[] = {
        {"none found", QString(), QStringLiteral("ヘルプファイル Vorn.qhc が見つかりません。")},
        {"missing", dir + QStringLiteral("/none/Vorn.qhc"),
         QStringLiteral("ヘルプファイル %1/none/Vorn.qhc が見つかりません。").arg(dir)},
        {"not a collection", garbage,
         QStringLiteral("ヘルプファイル %1 を開けません。").arg(garbage)},
        {"documentation missing", alone,
         QStringLiteral("ヘルプファイル %1/alone/Vorn.qch が見つかりません。").arg(dir)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakePrompter p;
        QtHelpViewer viewer(p, c.file);
        viewer.command(help::FINDER, 0);
        viewer.command(help::KEY, 0);
        EXPECT_EQ(viewer.window(), nullptr);
        const ShownBox warning{c.message.toStdString(), "警告ﾍﾙﾌﾟ", mb::OK | mb::ICONEXCLAMATION};
        EXPECT_EQ(p.shown, Boxes(2, warning));
    }
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->objectName() == QStringLiteral("helpWindow") && w->isVisible());
}

TEST_F(HelpViewerTest, FindHelpCollectionTakesTheFirstFolderThatHasOne) {
    const QString withCollection = QString::fromStdString(MakeTempDir("with"));
    ASSERT_TRUE(QFile::copy(collection, withCollection + QStringLiteral("/Vorn.qhc")));
    const QString second = QString::fromStdString(MakeTempDir("second"));
    ASSERT_TRUE(QFile::copy(collection, second + QStringLiteral("/Vorn.qhc")));
    const QString empty = QString::fromStdString(MakeTempDir("empty"));

    const QString found = withCollection + QStringLiteral("/Vorn.qhc");
    const QString foundSecond = second + QStringLiteral("/Vorn.qhc");
    struct Case {
        QStringList dirs;
        QString expected;
    };
    const Case cases[] = {
        {{withCollection}, found},
        {{empty}, QString()},
        {{empty, withCollection}, found},
        {{withCollection, empty}, found},
        {{}, QString()},
        {{withCollection, second}, found},
        {{second, withCollection}, foundSecond},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindHelpCollection(c.dirs), c.expected) << c.dirs.join(u' ').toStdString();
    // The program's own folders: the test binary has no collection beside it.
    EXPECT_EQ(FindHelpCollection(HelpFolders()), QString());
}

} // namespace

// Clicks the link `text` of the page shown, as the user does.
static void ClickLink(QTextBrowser* browser, const QString& text) {
    QTextCursor at = browser->document()->find(text);
    ASSERT_TRUE(at.charFormat().isAnchor()) << text.toStdString();
    at.setPosition(at.selectionStart() + 1);
    browser->setTextCursor(at);
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, browser->cursorRect(at).center());
}

// Links between pages, and the pages a keyword leads to, open in the help
// window; back and forward walk what was shown.
TEST_F(HelpViewerTest, LinksOpenInTheWindowWithBackAndForward) {
    QtHelpViewer viewer(prompter, collection);
    viewer.command(help::FINDER, 0);
    auto* browser = child<QTextBrowser>(viewer, "helpBrowser");
    auto* contents = child<QHelpContentWidget>(viewer, "helpContents");
    ASSERT_TRUE(browser && contents && QTest::qWaitForWindowActive(viewer.window()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return contents->model()->rowCount() > 1; }, 10000));
    contents->setCurrentIndex(contents->model()->index(1, 0)); // the main window's page
    const QUrl linking = browser->source();
    const QString bands = QStringLiteral("肥満度の判定");
    ClickLink(browser, bands);
    const QUrl linked = browser->source();
    EXPECT_TRUE(browser->toPlainText().startsWith(bands));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(browser->source(), linking);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(browser->source(), linked);

    viewer.command(help::KEY, 0);
    Type(QApplication::focusWidget(), QStringLiteral("記録ファイル"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ClickLink(browser, QStringLiteral("記録ファイルの形式"));
    EXPECT_TRUE(browser->toPlainText().startsWith(QStringLiteral("記録ファイルの形式")));
    viewer.window()->findChild<QAction*>(QStringLiteral("helpBack"))->trigger();
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("表示する項目を選んでください。")));
}
