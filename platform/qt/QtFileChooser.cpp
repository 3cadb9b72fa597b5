#include "platform/qt/QtFileChooser.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QMimeDatabase>
#include <QTreeView>
#include <algorithm>

namespace vorn {

namespace {

// The dialog's size, type and date columns in Japanese whatever the
// process's locale: Qt's file model writes them in the system locale's
// words ("129 bytes", "plain text document").
class JapaneseColumns : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files || index.column() < 1 || index.column() > 3)
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        const QFileInfo info = files->fileInfo(source);
        const QLocale japanese(QLocale::Japanese, QLocale::Japan);
        switch (index.column()) {
        case 1:
            return info.isDir() ? QString() : japanese.formattedDataSize(info.size());
        case 2:
            if (info.isDir())
                return QStringLiteral("フォルダー");
            return QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchExtension).comment();
        default:
            return japanese.toString(info.lastModified(), QStringLiteral("yyyy/MM/dd H:mm"));
        }
    }
};

// Columns at least as wide as their headers, in the dialog's font.
void WidenColumns(QFileDialog& dialog) {
    auto* tree = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!tree)
        return;
    QHeaderView* header = tree->header();
    const QFontMetrics metrics(header->font());
    const int widths[] = {180, 0, 130, 120}; // name, size, type, date
    for (int c = 0; c < header->count() && c < 4; ++c) {
        const QString text = header->model()->headerData(c, Qt::Horizontal).toString();
        const int wanted = std::max(widths[c], metrics.horizontalAdvance(text) + 32);
        if (header->sectionSize(c) < wanted)
            header->resizeSection(c, wanted);
    }
}

// Shows the dialog at `offered`, in Japanese columns; the name chosen, or
// none when cancelled.
std::optional<QString> RunDialog(QFileDialog& dialog, const QString& offered) {
    dialog.setProxyModel(new JapaneseColumns(&dialog));
    dialog.selectFile(offered);
    WidenColumns(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<std::string> Native(const std::optional<QString>& name) {
    if (!name)
        return std::nullopt;
    return QDir::toNativeSeparators(*name).toStdString();
}

QString DefaultLog() {
    return QDir::home().filePath(QStringLiteral("data.txt"));
}

} // namespace

const char* const QtFileChooser::kFilter = "ﾃﾞｰﾀﾃｷｽﾄ文書(*.txt)";

QtFileChooser::QtFileChooser(QWidget* parent)
    : parent_(parent), offered_(DefaultLog()),
      lastChart_(QDir::home().filePath(QStringLiteral("graph.png"))),
      lastTable_(QDir::home().filePath(QStringLiteral("data.csv"))) {}

std::optional<std::string> QtFileChooser::chooseSave() {
    return run(true);
}
std::optional<std::string> QtFileChooser::chooseOpen() {
    return run(false);
}

std::optional<std::string> QtFileChooser::chooseImportTarget() {
    return run(true, "記録の取り込み先");
}

void QtFileChooser::offer(const std::string& path) {
    offered_ = path.empty() ? DefaultLog() : QString::fromStdString(path);
}

std::optional<std::string> QtFileChooser::run(bool save, const char* title) {
    QFileDialog dialog(parent_ ? parent_ : QApplication::activeWindow());
    if (title)
        dialog.setWindowTitle(QString::fromUtf8(title));
    dialog.setObjectName(save ? QStringLiteral("SaveDialog1") : QStringLiteral("OpenDialog1"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Choosing an existing log is the normal case when saving: no overwrite
    // question, the record is appended. The open dialog takes any name and
    // the load reports a file that is not there.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setNameFilter(QString::fromUtf8(kFilter));
    // The program says which file to offer next: a save that failed must
    // not be offered again.
    return Native(RunDialog(dialog, offered_));
}

std::optional<std::string> QtFileChooser::chooseExport(ExportKind kind) {
    const bool chart = kind == ExportKind::Chart;
    QString& lastName = chart ? lastChart_ : lastTable_;
    QFileDialog dialog(parent_ ? parent_ : QApplication::activeWindow());
    dialog.setObjectName(chart ? QStringLiteral("ChartDialog") : QStringLiteral("TableDialog"));
    dialog.setWindowTitle(chart ? QStringLiteral("グラフを画像で保存")
                                : QStringLiteral("一覧表をCSVで保存"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    const QStringList filters =
        chart ? QStringList{QStringLiteral("PNG画像(*.png)"), QStringLiteral("SVG画像(*.svg)"),
                            QStringLiteral("PDF文書(*.pdf)")}
              : QStringList{QStringLiteral("CSVファイル(*.csv)")};
    dialog.setNameFilters(filters);
    const QString suffix = QFileInfo(lastName).suffix().toLower();
    for (const QString& f : filters)
        if (f.contains(QStringLiteral("*.") + suffix + QLatin1Char(')')))
            dialog.selectNameFilter(f);
    dialog.setDefaultSuffix(suffix);
    // The type picked gives a name without an extension its own.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& f) {
        const qsizetype dot = f.lastIndexOf(QLatin1Char('.'));
        dialog.setDefaultSuffix(f.mid(dot + 1).chopped(1));
    });
    const std::optional<QString> chosen = RunDialog(dialog, lastName);
    if (chosen)
        lastName = *chosen;
    return Native(chosen);
}

} // namespace vorn
