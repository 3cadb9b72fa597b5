#pragma once

#include "targets/TargetTable.h"

namespace vorn {

class MarkerView;
class Prompter;
class TargetsView;

// The behaviour of the targets dialog: loading its rows from the target
// table, the rows' check boxes, and the OK and cancel commands.
class TargetsController {
public:
    TargetsController(TargetsView& view, MarkerView& markers, TargetTable& table,
                      Prompter& prompter);

    // Copies the table into the nine rows; runs once, when the dialog is made.
    void FormCreate();

    // Click handler of a row's check box (from 1), run on every change of the
    // box, by the user or by the program.
    void CheckBoxClick(int row);

    // OK: writes the rows into the table and the markers; closes the dialog,
    // or tells the user and puts the focus on the last row out of range.
    // Raises ConvertError at the first row whose text is not a number.
    void Button1Click();
    // Cancel: closes the dialog and nothing else.
    void Button2Click();

private:
    TargetsView& view_;
    MarkerView& markers_;
    TargetTable& table_;
    Prompter& prompter_;
};

} // namespace vorn
