#include "import/LineFormats.h"

#include "import/ExactDecimal.h"
#include "import/ImportMoment.h"
#include "import/ImportRow.h"

#include <algorithm>

namespace vorn {
namespace {

// The blank-separated words of a trale line.
std::vector<std::string> Words(const std::vector<std::string>& fields) {
    std::vector<std::string> words;
    for (const std::string& f : fields)
        if (!f.empty())
            words.push_back(f);
    return words;
}

bool IsComment(const TextRecord& record) {
    return !record.fields.empty() && record.fields[0].starts_with("#");
}

bool IsBlank(const TextRecord& record) {
    return std::all_of(record.fields.begin(), record.fields.end(), [](const std::string& f) {
        return f.find_first_not_of(" \t") == std::string::npos;
    });
}

std::string Lowered(std::string text) {
    for (char& c : text)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return text;
}

} // namespace

bool LooksLikeTrale(const std::vector<std::string>& headLines) {
    for (const std::string& line : headLines) {
        if (line.starts_with("# This file was created with trale"))
            return true;
        if (line.empty() || line.starts_with("#"))
            continue;
        const std::vector<std::string> words = Words(SplitLine(line, ' '));
        return words.size() == 2 && ReadWrittenMoment(words[0]).result == MomentRead::Ok &&
               ParseExactDecimal(words[1]).has_value();
    }
    return false;
}

void ReadTrale(TextRecords& records, ImportedFile& into) {
    into.format = "trale テキスト";
    records.setSeparator(' ');
    TextRecord record;
    while (records.next(record)) {
        if (IsComment(record) || IsBlank(record))
            continue;
        const std::vector<std::string> words = Words(record.fields);
        const bool kept =
            words.size() > 2
                ? LeaveOut(LineName(record.line), "日付と体重のほかに余分な内容があります", into)
                : TakeRow({words[0], std::nullopt, words.size() > 1 ? words[1] : "", "",
                           std::nullopt, std::nullopt},
                          RowRules{}, LineName(record.line), into);
        if (!kept)
            records.fail(kTooManyRows);
    }
}

bool LooksLikeLibra(const std::vector<std::string>& headLines) {
    return !headLines.empty() && headLines[0].starts_with("#Version");
}

void ReadLibra(TextRecords& records, ImportedFile& into) {
    into.format = "Libra CSV";
    records.setSeparator(';');
    RowRules rules;
    int weight = 1;
    int fat = 3;
    TextRecord record;
    while (records.next(record)) {
        if (IsBlank(record))
            continue;
        if (IsComment(record)) {
            const std::string first = Lowered(record.fields[0]);
            if (first.starts_with("#units:"))
                rules.unit = first.find("lb") != std::string::npos ? WeightUnit::Pounds
                                                                   : WeightUnit::Kilograms;
            if (first.starts_with("#date")) {
                for (std::size_t k = 0; k < record.fields.size(); ++k) {
                    const std::string name = Lowered(record.fields[k]);
                    weight = name == "weight" ? static_cast<int>(k) : weight;
                    fat = name == "body fat" ? static_cast<int>(k) : fat;
                }
            }
            continue;
        }
        const auto cell = [&](int column) -> std::string_view {
            return static_cast<std::size_t>(column) < record.fields.size()
                       ? std::string_view(record.fields[static_cast<std::size_t>(column)])
                       : std::string_view();
        };
        if (!TakeRow({cell(0), std::nullopt, cell(weight), cell(fat), std::nullopt, std::nullopt},
                     rules, LineName(record.line), into))
            records.fail(kTooManyRows);
    }
}

} // namespace vorn
