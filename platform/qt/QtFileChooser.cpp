#include "platform/qt/QtFileChooser.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>

namespace vorn {

const char* const QtFileChooser::kFilter = "ﾃﾞｰﾀﾃｷｽﾄ文書(*.txt)";

QtFileChooser::QtFileChooser(QWidget* parent)
    : parent_(parent), lastSave_(QDir::home().filePath(QStringLiteral("data.txt"))),
      lastOpen_(lastSave_) {}

std::optional<std::string> QtFileChooser::chooseSave() {
    return run(true, lastSave_);
}
std::optional<std::string> QtFileChooser::chooseOpen() {
    return run(false, lastOpen_);
}

std::optional<std::string> QtFileChooser::run(bool save, QString& lastName) {
    QFileDialog dialog(parent_ ? parent_ : QApplication::activeWindow());
    dialog.setObjectName(save ? QStringLiteral("SaveDialog1") : QStringLiteral("OpenDialog1"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Choosing an existing log is the normal case when saving: no overwrite
    // question, the record is appended. The open dialog takes any name and
    // the load reports a file that is not there.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setNameFilter(QString::fromUtf8(kFilter));
    dialog.selectFile(lastName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    lastName = dialog.selectedFiles().constFirst();
    return QDir::toNativeSeparators(lastName).toStdString();
}

} // namespace vorn
