#include "import/MergePlan.h"

#include "core/Errors.h"
#include "core/InputCheck.h"
#include "core/Measurement.h"
#include "core/NumText.h"
#include "log/TypedRecord.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

namespace vorn {
namespace {

// A moment and a weight in hundredths of a kg: what makes a duplicate.
using Key = std::pair<long long, long long>;

long long Hundredths(double kg) {
    return std::llround(kg * 100);
}

// The weight a record line holds, as written: its third field.
long long LineWeight(const std::string& line) {
    std::size_t at = 0;
    for (int field = 0; field < 2; ++field) {
        at = line.find_first_not_of(' ', at);
        at = line.find(' ', at);
    }
    at = line.find_first_not_of(' ', at);
    return Hundredths(ReadShortFixed(line.substr(at, line.find(' ', at) - at)).value_or(-1));
}

bool ByTime(const RecordDate& a, const RecordDate& b) {
    return HoursSinceEpoch(a) < HoursSinceEpoch(b);
}

bool IsMoment(const RecordDate& d) {
    return d.month >= 1 && d.month <= 12 && d.day >= 1 && d.hour >= 0 && d.hour <= 23 &&
           DateOfHour(HoursSinceEpoch(d)) == d;
}

// Why a reading cannot be saved as typed, or nothing; `line` gets its line.
std::string Typed(const ImportedReading& r, const RecordDate& d, const std::string& height,
                  std::string& line) {
    if (!IsMoment(d))
        return "日時が正しくありません";
    try {
        if (!InRange(static_cast<float>(StrToFloat(r.weightKg)), kWeightRange))
            return "体重が入力できる範囲（0～1000 kg）の外です";
        if (r.fatPercent && !InRange(static_cast<float>(StrToFloat(*r.fatPercent)), kFatRange))
            return "体脂肪率が入力できる範囲（0～100 %）の外です";
        line = TypedRecordLine(StampOf(d), {height, r.weightKg, r.fatPercent});
    } catch (const ConvertError& e) {
        return e.what();
    }
    return "";
}

} // namespace

std::string HeightProblem(const std::string& height) {
    try {
        if (InRange(static_cast<float>(StrToFloat(height)), kHeightRange))
            return "";
    } catch (const ConvertError& e) {
        return e.what();
    }
    return "身長が入力できる範囲（0～300 cm）の外です";
}

std::string PlanImport(const ImportedFile& file, std::string_view log,
                       const std::optional<std::string>& height, const LocalTime& now,
                       ImportPlan& plan) {
    plan = {};
    plan.format = file.format;
    plan.leftOut = file.rejected;
    LogRecords records;
    if (std::string reason = ReadLogRecords(log, records); !reason.empty())
        return reason;
    if (height)
        plan.height = *height;
    else if (!records.heights.empty())
        plan.height = GridText(records.heights.back(), kHeight);
    else
        return "";

    std::set<Key> seen;
    const RecordDates dates = DateRecords(records.stamps, now);
    for (std::size_t i = 0; i < dates.size(); ++i)
        if (dates[i])
            seen.insert({HoursSinceEpoch(*dates[i]), Hundredths(records.weights[i])});
    std::vector<TimedLine> candidates;
    std::vector<std::pair<std::size_t, RejectedRow>> out; // by reading
    std::vector<std::size_t> readingOf;
    for (std::size_t j = 0; j < file.readings.size(); ++j) {
        const ImportedReading& r = file.readings[j];
        const RecordDate d{r.at.year, r.at.month, r.at.day, r.at.hour};
        std::string line;
        if (std::string reason = Typed(r, d, plan.height, line); !reason.empty()) {
            out.push_back({j, {r.where, reason}});
            continue;
        }
        plan.first = plan.first ? std::min(*plan.first, d, ByTime) : d;
        plan.last = plan.last ? std::max(*plan.last, d, ByTime) : d;
        if (!seen.insert({HoursSinceEpoch(d), LineWeight(line)}).second) {
            ++plan.duplicates;
            continue;
        }
        candidates.push_back({d, std::move(line)});
        readingOf.push_back(j);
    }

    Placement p = PlaceInTime(records.stamps, candidates, now);
    if (!p.refusal.empty())
        return p.refusal;
    for (const Placement::LeftOut& l : p.leftOut)
        out.push_back({readingOf[l.line], {file.readings[readingOf[l.line]].where, l.reason}});
    std::stable_sort(out.begin(), out.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& o : out)
        plan.leftOut.push_back(std::move(o.second));
    for (const std::size_t k : p.kept)
        plan.added.push_back(std::move(candidates[k]));
    plan.lines = std::move(p.lines);
    return "";
}

} // namespace vorn
