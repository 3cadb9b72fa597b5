// The table menu's record correction, a command of the graph window.

#include "core/Errors.h"
#include "core/InputCheck.h"
#include "core/Measurement.h"
#include "core/NumText.h"
#include "log/DatedLog.h"
#include "log/LogError.h"
#include "log/RecordCorrection.h"
#include "log/TypedRecord.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "ui/graph/DatedTable.h"
#include "ui/graph/GraphController.h"

namespace vorn {
namespace {

// The main window's check of a typed value: a number within the field's
// range; else its message.
bool Typed(const std::string& text, const FieldRange& range, Prompter& prompter) {
    try {
        if (InRange(static_cast<float>(StrToFloat(text)), range))
            return true;
    } catch (const ConvertError&) {
    }
    prompter.show(range.message, kRangeCaption, mb::OK | mb::ICONEXCLAMATION);
    return false;
}

} // namespace

bool GraphController::CanCorrectRows(const std::vector<int>& rows) const {
    return historyShown_ && !datedTable_ && rows.size() == 1 && recordRows(rows).size() == 1;
}

bool GraphController::CanCorrectRecords(const std::vector<long long>& records) const {
    return historyShown_ && datedTable_ && records.size() == 1 && records[0] >= 0 &&
           static_cast<std::size_t>(records[0]) < datedTable_->rowCount();
}

void GraphController::CorrectRowClick(int row) {
    if (CanCorrectRows({row}))
        correct(HistoryRecord(history_, skipped_, row));
}

void GraphController::CorrectRecordClick(long long record) {
    if (CanCorrectRecords({record}))
        correct(datedTable_->known(static_cast<std::size_t>(record)));
}

void GraphController::correct(const KnownRecord& known) {
    const LocalTime now = s_.clock.now();
    const RecordDate latest{now.year, now.month, now.day, now.hour};
    RecordCorrectionTexts shown{GridText(known.fields[1 + kHeight], kHeight),
                                GridText(known.fields[1 + kWeight], kWeight),
                                GridText(known.fields[1 + kFatPercent], kFatPercent), latest};
    // The date and the fat percentage's absence as the whole log reads them.
    try {
        const DatedLog log = ReadDatedLog(s_.fs, logPath_, now);
        const auto k = static_cast<std::size_t>(known.index);
        if (k < log.records.size() && log.records[k] == known.fields) {
            shown.when = log.dates[k].value_or(latest);
            if (log.savedWithoutFatPercentage[k])
                shown.fat.clear();
        }
    } catch (const LogError&) {
        // The rewrite says why.
    }
    const std::optional<RecordCorrectionTexts> typed = view_.askCorrection(shown, latest);
    if (!typed || !Typed(typed->height, kHeightRange, s_.prompter) ||
        !Typed(typed->weight, kWeightRange, s_.prompter) ||
        (!typed->fat.empty() && !Typed(typed->fat, kFatRange, s_.prompter)))
        return;
    std::string line;
    try {
        line = TypedRecordLine(StampOf(typed->when),
                               {typed->height, typed->weight,
                                typed->fat.empty() ? std::nullopt : std::optional(typed->fat)});
    } catch (const UserError& e) {
        // A height of 0 leaves nothing to derive.
        s_.prompter.show(e.what(), kRangeCaption, mb::OK | mb::ICONEXCLAMATION);
        return;
    }
    rewriteAndShow([&] { CorrectRecord(s_.fs, logPath_, known, {typed->when, line}, now); });
}

} // namespace vorn
