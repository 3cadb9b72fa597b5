#include "ui/targets/TargetsController.h"

#include "core/NumText.h"
#include "platform/Prompter.h"
#include "targets/TargetStore.h"
#include "ui/targets/MarkerView.h"
#include "ui/targets/TargetsView.h"

namespace vorn {
namespace {
constexpr int kRows = kQuantityCount;

size_t entryOf(int row) {
    return static_cast<size_t>(row - 1);
}
} // namespace

TargetsController::TargetsController(TargetsView& view, MarkerView& markers, TargetTable& table,
                                     Prompter& prompter)
    : view_(view), markers_(markers), table_(table), prompter_(prompter) {}

void TargetsController::FormCreate() {
    for (int r = 1; r <= kRows; ++r) {
        const std::string& entry = table_[entryOf(r)];
        if (!entry.empty()) {
            // The box starts unticked, so ticking it runs the click handler,
            // which enables the edit and makes it the active control.
            view_.setChecked(r, true);
            view_.setEditColour(r, colour::White);
            view_.setEditText(r, entry);
        } else {
            view_.setChecked(r, false);
            view_.setEditColour(r, colour::Silver);
            view_.setEditText(r, "");
        }
    }
}

void TargetsController::CheckBoxClick(int row) {
    if (view_.checked(row)) {
        view_.setEditEnabled(row, true);
        view_.setEditColour(row, colour::White);
        view_.focusEdit(row);
    } else {
        view_.setEditEnabled(row, false);
        view_.setEditColour(row, colour::Silver);
        view_.setEditText(row, "");
    }
}

void TargetsController::Button1Click() {
    int failingRow = 0;
    for (int r = 1; r <= kRows; ++r) {
        // A ticked row with an empty edit counts as empty: the box is not read.
        const std::string text = view_.editText(r);
        std::string& entry = table_[entryOf(r)];
        if (text.empty()) {
            markers_.setMarkerVisible(r - 1, false);
            entry.clear();
            continue;
        }
        // The entry is written before the range test, so an out-of-range
        // value stays in the table; the test reads the rounded value back.
        entry = FormatTarget(text);
        if (StrToFloat(entry) >= Facts(r - 1).targetLimit)
            failingRow = r; // its marker stays as it was
        else
            markers_.setMarkerVisible(r - 1, true);
    }
    for (int k = 0; k < kRows; ++k)
        markers_.setMarkerHint(k, MarkerHint(table_, k));

    if (failingRow == 0) {
        view_.closeDialog();
        return;
    }
    prompter_.show("正しい値を設定して下さい。", "設定ﾍﾙﾌﾟ", mb::OK | mb::ICONINFORMATION);
    view_.focusEdit(failingRow);
}

void TargetsController::Button2Click() {
    view_.closeDialog();
}

} // namespace vorn
