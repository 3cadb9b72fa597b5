#pragma once

#include "targets/TargetTable.h"
#include "ui/CommandBoundary.h"
#include "ui/targets/TargetsController.h"
#include "ui/targets/TargetsView.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vorn {

class MarkerView;
class Prompter;

// The targets dialog. Made once, when it is first needed (app/Program.h),
// after the main window has loaded the target table; the main window shows
// it with exec(). Closing it in any way only hides it, so the rows carry over
// to the next showing.
class TFTgt : public QDialog, public TargetsView {
    Q_OBJECT

public:
    TFTgt(Prompter& prompter, MarkerView& markers, TargetTable& table, QWidget* parent = nullptr);

    bool checked(int row) const override;
    void setChecked(int row, bool ticked) override;
    std::string editText(int row) const override;
    void setEditText(int row, const std::string& text) override;
    void setEditEnabled(int row, bool enabled) override;
    void setEditColour(int row, Colour colour) override;
    void focusEdit(int row) override;
    void closeDialog() override;

protected:
    // Neither button is the default or the cancel button: Enter presses a
    // button only while it has the focus, and Esc does nothing.
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The nine rows: check box, edit and unit label.
    void buildRows();
    // 設定完了 and キャンセル.
    void buildButtons();
    QCheckBox* box(int row) const { return checkBoxes_[static_cast<size_t>(row - 1)]; }
    QLineEdit* edit(int row) const { return edits_[static_cast<size_t>(row - 1)]; }

    QGroupBox* groupBox1_;
    std::array<QCheckBox*, kQuantityCount> checkBoxes_{};
    std::array<QLineEdit*, kQuantityCount> edits_{};
    QPushButton* button1_;
    QPushButton* button2_;

    CommandBoundary boundary_;
    TargetsController controller_;
};

} // namespace vorn
