#include "ui/graph/StatsSave.h"

#include "platform/ExportFile.h"

namespace vorn {

void SaveStatsCsv(const StatsTable& table, FileChooser& files, Prompter& prompter) {
    const auto path = files.chooseExport(ExportKind::Table);
    if (!path)
        return;
    if (const IoStatus status = WriteExport(*path, table.csv()); !status.ok())
        prompter.show(ExportFailure(*path, status), "警告ﾍﾙﾌﾟ", mb::OK | mb::ICONEXCLAMATION);
}

} // namespace vorn
