#include "platform/qt/QtHelpViewer.h"

#include "platform/Prompter.h"
#include "platform/qt/HelpWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHelpEngine>

namespace vorn {

namespace {

const char* const kCollectionName = "Vorn.qhc";
const char* const kCaption = "警告ﾍﾙﾌﾟ";

} // namespace

QStringList HelpFolders() {
    const QString appDir = QCoreApplication::applicationDirPath();
    return {appDir, appDir + QStringLiteral("/../share/vorn")};
}

QString FindHelpCollection(const QStringList& dirs) {
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
