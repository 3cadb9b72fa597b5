#include "app/DataInCommand.h"

#include "app/CommandLineText.h"

#include "core/Errors.h"
#include "core/InputCheck.h"
#include "core/NumText.h"
#include "import/ImportError.h"
#include "import/ImportIntoLog.h"
#include "log/LogError.h"
#include "log/TimedSave.h"
#include "log/TypedRecord.h"

#include <map>
#include <optional>

namespace vorn {
namespace {

DataInResult Usage(const std::string& message) {
    return {2, "", UsageErrorText(message)};
}

DataInResult Failed(const std::string& message) {
    return {1, "", "vorn: " + Printable(message, true) + "\n"};
}

// The options after the command's own argument: each of `valued` takes a
// value, each of `flags` none; none may come twice. False, with `problem`
// set, on anything else.
bool ReadOptions(const std::vector<std::string>& args, const std::vector<std::string>& valued,
                 const std::vector<std::string>& flags, std::map<std::string, std::string>& got,
                 std::string& problem) {
    auto among = [](const std::vector<std::string>& names, const std::string& a) {
        for (const std::string& n : names)
            if (n == a)
                return true;
        return false;
    };
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string arg = Printable(args[i]);
        const bool takesValue = among(valued, arg);
        if (!takesValue && !among(flags, arg)) {
            problem = Unexpected(arg);
            return false;
        }
        if (got.count(arg)) {
            problem = GivenTwice(arg);
            return false;
        }
        if (takesValue && i + 1 == args.size()) {
            problem = NeedsValue(arg);
            return false;
        }
        got[arg] = takesValue ? args[++i] : "";
    }
    return true;
}

// Why a typed value is no value the main window takes, or nothing.
std::string RangeProblem(const char* option, const std::string& text, const FieldRange& range) {
    try {
        if (InRange(static_cast<float>(StrToFloat(text)), range))
            return "";
    } catch (const ConvertError&) {
        return std::string(option) + " の「" + Printable(text) + "」は有効な数値ではありません。";
    }
    return std::string(option) + " の「" + Printable(text) + "」は範囲の外です。" + range.message;
}

// "YYYY-MM-DDTHH" as a moment, or nothing.
std::optional<RecordDate> ReadMoment(const std::string& text) {
    if (text.size() != 13 || text[4] != '-' || text[7] != '-' || text[10] != 'T')
        return std::nullopt;
    for (const std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9, 11, 12})
        if (!IsDigit(text[i]))
            return std::nullopt;
    const RecordDate d{std::stoi(text.substr(0, 4)), std::stoi(text.substr(5, 2)),
                       std::stoi(text.substr(8, 2)), std::stoi(text.substr(11, 2))};
    if (d.month < 1 || d.month > 12 || d.day < 1 || d.hour > 23 ||
        !(DateOfHour(HoursSinceEpoch(d)) == d))
        return std::nullopt;
    return d;
}

std::string NoHeight(const std::string& log) {
    return "記録ファイル「" + Printable(log) +
           "」に記録がないため、--height CM で身長(cm)を指定してください。";
}

std::string Summary(const ImportPlan& plan, bool dryRun) {
    std::string s = "形式: " + Printable(plan.format) + "\n";
    if (plan.first && plan.last)
        s += "期間: " + RecordDateText(*plan.first) + " ～ " + RecordDateText(*plan.last) + "\n";
    // A dry run tells what would happen, in the words of the window's preview.
    s += std::string(dryRun ? "追加する記録: " : "追加した記録: ") +
         IntToStr(static_cast<long long>(plan.added.size())) + " 件\n既にあるため" +
         (dryRun ? "省く" : "省いた") + "記録: " + IntToStr(plan.duplicates) + " 件\n" +
         (dryRun ? "取り込まない" : "取り込まなかった") +
         "行: " + IntToStr(static_cast<long long>(plan.leftOut.size())) + " 件\n";
    for (const RejectedRow& r : plan.leftOut)
        s += "  " + Printable(r.where) + ": " + Printable(r.reason) + "\n";
    if (dryRun)
        s += "（--dry-run: 記録ファイルには何も書き込んでいません）\n";
    return s;
}

} // namespace

DataInResult RunImport(const std::vector<std::string>& args, LogFileSystem& fs, Clock& clock,
                       const ImportReader& read) {
    if (args.size() < 2 || args[1].empty() || args[1].rfind("--", 0) == 0)
        return Usage("--import には、取り込むファイルを指定してください。");
    std::map<std::string, std::string> opt;
    std::string problem;
    if (!ReadOptions(args, {"--into", "--height"}, {"--dry-run"}, opt, problem))
        return Usage(problem);
    if (!opt.count("--into") || opt["--into"].empty())
        return Usage("--import には --into LOG で、取り込み先の記録ファイルも指定してください。");
    std::optional<std::string> height;
    if (opt.count("--height")) {
        if (problem = RangeProblem("--height", opt["--height"], kHeightRange); !problem.empty())
            return Usage(problem);
        height = opt["--height"];
    }
    const std::string& log = opt["--into"];
    const bool dryRun = opt.count("--dry-run") != 0;
    ImportPlan plan;
    try {
        const ImportedFile file = read(args[1]);
        if (dryRun)
            PlanImportInto(fs, log, file, height, clock.now(), plan);
        else
            ImportIntoLog(fs, log, file, height, clock.now(), plan);
    } catch (const ImportError& e) {
        return Failed(e.what());
    } catch (const LogError& e) {
        if (plan.height.empty() && !height)
            return Usage(NoHeight(log));
        return Failed(e.what());
    }
    if (plan.height.empty())
        return Usage(NoHeight(log));
    return {0, Summary(plan, dryRun), ""};
}

DataInResult RunAdd(const std::vector<std::string>& args, LogFileSystem& fs, Clock& clock) {
    if (args.size() < 2 || args[1].empty() || args[1].rfind("--", 0) == 0)
        return Usage("--add には、記録を追加する記録ファイルを指定してください。");
    std::map<std::string, std::string> opt;
    std::string problem;
    if (!ReadOptions(args, {"--height", "--weight", "--fat", "--at"}, {}, opt, problem))
        return Usage(problem);
    if (!opt.count("--height") || !opt.count("--weight"))
        return Usage("--add には --height CM と --weight KG も指定してください。");
    problem = RangeProblem("--height", opt["--height"], kHeightRange);
    if (problem.empty())
        problem = RangeProblem("--weight", opt["--weight"], kWeightRange);
    if (problem.empty() && opt.count("--fat"))
        problem = RangeProblem("--fat", opt["--fat"], kFatRange);
    if (!problem.empty())
        return Usage(problem);
    const LocalTime now = clock.now();
    std::optional<RecordDate> at = RecordDate{now.year, now.month, now.day, now.hour};
    if (opt.count("--at") && !(at = ReadMoment(opt["--at"])))
        return Usage("--at の「" + Printable(opt["--at"]) +
                     "」は日時ではありません。実在する日時を YYYY-MM-DDTHH（2026-12-01T07 "
                     "など）で指定してください。");
    std::optional<std::string> fat;
    if (opt.count("--fat"))
        fat = opt["--fat"];
    try {
        const TimedLine record{
            *at, TypedRecordLine(StampOf(*at), {opt["--height"], opt["--weight"], fat})};
        SaveRecordAt(fs, args[1], record, now);
    } catch (const UnplacedRecord& e) {
        return {2, "", "vorn: " + Printable(e.what(), true) + "\n"};
    } catch (const ConvertError& e) {
        return Usage(Printable(e.what()));
    } catch (const LogError& e) {
        return Failed(e.what());
    }
    return {};
}

} // namespace vorn
