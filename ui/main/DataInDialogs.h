#pragma once

// The dialogs of a measurement at another moment and of an import, over the
// main window.

#include "ui/main/DataInView.h"

#include <functional>

class QWidget;

namespace vorn {

class DataInDialogs : public DataInView {
public:
    explicit DataInDialogs(QWidget* parent) : parent_(parent) {}

    std::optional<RecordDate> askMoment(const RecordDate& shown, const RecordDate& latest) override;
    std::optional<std::string> chooseImportFile() override;
    ImportedFile readImportFile(const std::string& path) override;
    std::optional<std::string> askHeight() override;
    bool confirmImport(const ImportPreview& preview) override;

private:
    QWidget* parent_;
};

// Runs `clicked` when `widget` is clicked with the left button.
void OnClick(QWidget* widget, std::function<void()> clicked);

} // namespace vorn
