#include "core/Errors.h"
#include "ui/graph/qt/PaperDevices.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

#include <dlfcn.h>

namespace vorn {
namespace {

using Entry = PaperDevices* (*)();
const char* const kEntry = "vorn_paper_devices";
const char* const kLibrary = "libvorn_paper.so";

Entry Load() {
    if (auto linked = reinterpret_cast<Entry>(dlsym(RTLD_DEFAULT, kEntry)))
        return linked;
    const QString programDir = QCoreApplication::applicationDirPath();
    QStringList tried;
    for (const QString& dir : {programDir, programDir + QStringLiteral("/../lib/vorn/plugins")}) {
        const QString file = QDir::cleanPath(QDir(dir).filePath(QLatin1String(kLibrary)));
        tried << file;
        if (!QFileInfo::exists(file))
            continue;
        // Never unloaded: the devices live in it.
        QLibrary library(file);
        library.setLoadHints(QLibrary::PreventUnloadHint);
        if (auto entry = reinterpret_cast<Entry>(library.resolve(kEntry)))
            return entry;
        throw UserError("SVG の保存と印刷に要る " + file.toStdString() + " を読み込めません（" +
                        library.errorString().toStdString() + "）。");
    }
    throw UserError("SVG の保存と印刷に要る " + std::string(kLibrary) + " が見つかりません（" +
                    tried.join(QStringLiteral("、")).toStdString() + "）。");
}

} // namespace

PaperDevices& Paper() {
    static const Entry entry = Load();
    return *entry();
}

} // namespace vorn
