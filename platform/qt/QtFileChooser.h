#pragma once

#include "platform/FileChooser.h"

#include <QString>

class QWidget;

namespace vorn {

// The log's save and open dialogs, and the exports' dialogs.
class QtFileChooser : public FileChooser {
public:
    explicit QtFileChooser(QWidget* parent = nullptr);
    std::optional<std::string> chooseSave() override;
    std::optional<std::string> chooseOpen() override;
    std::optional<std::string> chooseImportTarget() override;
    void offer(const std::string& path) override;
    std::optional<std::string> chooseExport(ExportKind kind) override;

    static const char* const kFilter;

private:
    std::optional<std::string> run(bool save, const char* title = nullptr);

    QWidget* parent_;
    QString offered_; // by both log dialogs
    QString lastChart_;
    QString lastTable_;
};

} // namespace vorn
