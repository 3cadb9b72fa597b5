#pragma once

#include "core/Measurement.h"

#include <string>

namespace vorn {

// What the targets dialog's controller does to its dialog. Rows are numbered
// from 1 as the controls are: row r is CheckBoxr and Editr, and holds the
// target of quantity r - 1.
class TargetsView {
public:
    virtual ~TargetsView() = default;

    virtual bool checked(int row) const = 0;
    // Setting a state different from the current one runs the row's click
    // handler, exactly as a user click does; setting the same state runs
    // nothing.
    virtual void setChecked(int row, bool ticked) = 0;

    virtual std::string editText(int row) const = 0;
    virtual void setEditText(int row, const std::string& text) = 0;
    virtual void setEditEnabled(int row, bool enabled) = 0;
    virtual void setEditColour(int row, Colour colour) = 0;

    // Puts the keyboard focus into the edit: at once while the dialog is
    // active, otherwise as soon as it becomes active, also while it is hidden.
    virtual void focusEdit(int row) = 0;

    // Ends the modal showing and hides the dialog.
    virtual void closeDialog() = 0;
};

} // namespace vorn
