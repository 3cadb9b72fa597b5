#pragma once

#include "platform/FileChooser.h"

#include <QString>

class QWidget;

namespace vorn {

// The log's save and open dialogs. Each keeps the name last chosen in it and
// offers it again; both start on "data.txt" in the home folder.
class QtFileChooser : public FileChooser {
public:
    explicit QtFileChooser(QWidget* parent = nullptr);
    std::optional<std::string> chooseSave() override;
    std::optional<std::string> chooseOpen() override;
    std::optional<std::string> chooseExport(ExportKind kind) override;

    static const char* const kFilter;

private:
    std::optional<std::string> run(bool save, QString& lastName);

    QWidget* parent_;
    QString lastSave_;
    QString lastOpen_;
    QString lastChart_;
    QString lastTable_;
};

} // namespace vorn
