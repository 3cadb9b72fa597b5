#include "import/TableFormats.h"

#include <algorithm>
#include <array>

namespace vorn {
namespace {

// ASCII letters in lower case, blanks and full-width blanks dropped, and
// full-width parentheses and percent signs as ASCII ones.
std::string Folded(const std::string& name) {
    std::string out;
    for (std::size_t k = 0; k < name.size(); ++k) {
        const char c = name[k];
        const std::string_view rest = std::string_view(name).substr(k);
        if (rest.starts_with("\u3000")) {
            k += 2;
        } else if (rest.starts_with("（") || rest.starts_with("）") || rest.starts_with("％")) {
            out += rest.starts_with("（") ? '(' : rest.starts_with("）") ? ')' : '%';
            k += 2;
        } else if (c != ' ' && c != '\t') {
            out += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
    }
    return out;
}

bool StartsWithAny(const std::string& name, std::initializer_list<std::string_view> starts) {
    return std::any_of(starts.begin(), starts.end(),
                       [&](std::string_view s) { return name.starts_with(s); });
}

int Find(const std::vector<std::string>& fields, std::string_view name) {
    const auto it = std::find(fields.begin(), fields.end(), name);
    return it == fields.end() ? -1 : static_cast<int>(it - fields.begin());
}

int FindStart(const std::vector<std::string>& fields, std::string_view start) {
    for (std::size_t k = 0; k < fields.size(); ++k)
        if (fields[k].starts_with(start))
            return static_cast<int>(k);
    return -1;
}

WeightUnit UnitOf(const std::string& foldedHeader) {
    return foldedHeader.find("lb") != std::string::npos ? WeightUnit::Pounds
                                                        : WeightUnit::Kilograms;
}

// The peers' own CSVs, told by their exact headers.
std::optional<TablePlan> PlanKnown(const std::vector<std::string>& f) {
    TablePlan p;
    if (f.size() >= 3 && f[0] == "日時" && Find(f, "体重(kg)") > 0) {
        p.format = "Vorn２ CSV";
        p.date = 0;
        p.weight = Find(f, "体重(kg)");
        p.fat = Find(f, "脂肪率(%)");
    } else if (f.size() >= 3 && f[0] == "DATE" && f[1] == "TIME" && Find(f, "WEIGHT") > 1) {
        p.format = "openScale CSV (v3)";
        p.date = 0;
        p.time = 1;
        p.weight = Find(f, "WEIGHT");
        p.fat = Find(f, "BODY_FAT");
    } else if (Find(f, "dateTime") >= 0 && Find(f, "weight") >= 0) {
        p.format = "openScale CSV (v2)";
        p.date = Find(f, "dateTime");
        p.weight = Find(f, "weight");
        p.fat = Find(f, "fat");
    } else if (!f.empty() && f[0] == "Date" && FindStart(f, "Weight (") > 0 &&
               FindStart(f, "Fat mass (") > 0) {
        p.format = "Withings weight.csv";
        p.date = 0;
        p.weight = FindStart(f, "Weight (");
        p.fat = FindStart(f, "Fat mass (");
        p.fatIsMass = true;
        p.rules.unit = UnitOf(Folded(f[static_cast<std::size_t>(p.weight)]));
    } else if (f.size() == 2 && f[0] == "date" && f[1] == "weight") {
        p.format = "GNOME Health CSV";
        p.date = 0;
        p.weight = 1;
    } else {
        return std::nullopt;
    }
    return p;
}

// A spreadsheet's header: the first column whose name says each role.
std::optional<TablePlan> PlanSpreadsheet(const std::vector<std::string>& fields) {
    TablePlan p;
    for (std::size_t k = 0; k < fields.size(); ++k) {
        const std::string n = Folded(fields[k]);
        const int at = static_cast<int>(k);
        if (p.date < 0 &&
            StartsWithAny(n, {"日付", "測定日", "日時", "年月日", "date", "day", "timestamp"})) {
            p.date = at;
        } else if (p.time < 0 && StartsWithAny(n, {"時刻", "測定時刻", "時間", "time"})) {
            p.time = at;
        } else if (p.weight < 0 && StartsWithAny(n, {"体重", "weight", "bodyweight"})) {
            p.weight = at;
            p.rules.unit = UnitOf(n);
        } else if (p.fat < 0 && StartsWithAny(n, {"体脂肪", "脂肪率", "bodyfat", "fat%", "fat(%)",
                                                  "fatpercent", "fatratio"})) {
            // A fat mass is no percentage.
            const bool mass =
                n.find("kg") != std::string::npos || n.find("lb") != std::string::npos ||
                n.find("mass") != std::string::npos || n.find("量") != std::string::npos;
            if (!mass)
                p.fat = at;
        }
    }
    if (p.date < 0 || p.weight < 0)
        return std::nullopt;
    p.rules.point = ',';
    return p;
}

const char* SeparatorName(char separator) {
    return separator == ';'    ? "セミコロン区切り"
           : separator == '\t' ? "タブ区切り"
                               : "カンマ区切り";
}

} // namespace

std::optional<TablePlan> PlanTable(const std::string& header) {
    for (const char separator : {',', ';', '\t'}) {
        const std::vector<std::string> fields = SplitLine(header, separator);
        if (fields.size() < 2)
            continue;
        if (auto known = PlanKnown(fields)) {
            known->separator = separator;
            return known;
        }
    }
    for (const char separator : {',', ';', '\t'}) {
        const std::vector<std::string> fields = SplitLine(header, separator);
        if (fields.size() < 2)
            continue;
        if (auto sheet = PlanSpreadsheet(fields)) {
            sheet->separator = separator;
            sheet->format = std::string("表計算の CSV（") + SeparatorName(separator) + "）";
            return sheet;
        }
    }
    return std::nullopt;
}

void ReadTable(TextRecords& records, const TablePlan& plan, ImportedFile& into) {
    records.setSeparator(plan.separator);
    TextRecord record;
    const auto blank = [&] {
        return std::all_of(record.fields.begin(), record.fields.end(), [](const std::string& f) {
            return f.find_first_not_of(" \t") == std::string::npos;
        });
    };
    while (records.next(record) && blank()) {
    } // up to the header
    const auto cell = [&](int column) -> std::string_view {
        if (column < 0 || static_cast<std::size_t>(column) >= record.fields.size())
            return {};
        return record.fields[static_cast<std::size_t>(column)];
    };
    while (records.next(record)) {
        if (blank())
            continue;
        RowTexts row;
        row.moment = cell(plan.date);
        if (plan.time >= 0)
            row.time = cell(plan.time);
        row.weight = cell(plan.weight);
        if (plan.fatIsMass)
            row.fatMass = cell(plan.fat);
        else
            row.fatPercent = cell(plan.fat);
        if (!TakeRow(row, plan.rules, LineName(record.line), into))
            records.fail(kTooManyRows);
    }
}

} // namespace vorn
