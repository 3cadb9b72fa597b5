// Tests of records put into a log at their place in time: an import's plan,
// a record saved at another moment, and the splicing of a log's lines.

#include "app/DataInCommand.h"
#include "core/NumText.h"
#include "import/ImportError.h"
#include "import/ImportIntoLog.h"
#include "log/LogError.h"
#include "log/TimedSave.h"
#include "log/TypedRecord.h"
#include "support/Cases.h"
#include "support/MainFixture.h"
#include "support/fakes/FaultyFileSystem.h"
#include "support/fakes/WorkedExample.h"
#include "ui/main/DataInController.h"
#include "ui/main/RememberedLog.h"

#include <array>
#include <cerrno>
#include <filesystem>

using namespace vorn;
using namespace vorn::test;
using Op = FaultyFileSystem::Op;

namespace {

const LocalTime kNow{2026, 12, 9, 23, 30};
using Dates = std::vector<RecordDate>;

std::string LogOf(const Dates& dates) {
    std::string log;
    for (const RecordDate& d : dates)
        log += TypedRecordLine(StampOf(d), {"170", "70", {}});
    return log;
}

// The dates the log's records are read at now.
Dates DatesOf(const std::string& log) {
    LogRecords r;
    EXPECT_EQ(ReadLogRecords(log, r), "");
    Dates dates;
    for (const auto& d : DateRecords(r.stamps, kNow))
        dates.push_back(d.value_or(RecordDate{}));
    return dates;
}

struct Merge {
    const char* name;
    Dates log;
    Dates file;
    std::vector<const char*> weights; // "60.5" for the rest
    int added, duplicates;
    std::vector<const char*> reasons; // of the readings left out, in order
};
const Merge kMerges[] = {
    {"between, across the turn of the year",
     {{2025, 12, 30, 8}, {2026, 1, 2, 8}, {2026, 6, 1, 8}},
     {{2026, 12, 9, 20}, {2025, 12, 31, 7}, {2026, 3, 1, 9}, {2025, 12, 30, 8}},
     {},
     4,
     0,
     {}},
    {"years back, each within a year of the next",
     {},
     {{2026, 11, 30, 0},
      {2020, 1, 31, 23},
      {2021, 1, 1, 0},
      {2021, 12, 31, 5},
      {2022, 10, 1, 1},
      {2023, 3, 1, 2},
      {2024, 2, 29, 7},
      {2024, 12, 2, 0},
      {2025, 12, 1, 0},
      {2019, 2, 1, 0}},
     {},
     10,
     0,
     {}},
    {"a year before the next: read in its year",
     {{2026, 5, 1, 8}},
     {{2025, 5, 1, 8}, {2024, 1, 1, 0}},
     {},
     0,
     0,
     {kYearLost, kYearLost}},
    {"nothing after it within a year, or still to come",
     {},
     {{2025, 12, 9, 23}, {2026, 12, 10, 0}},
     {},
     0,
     0,
     {kYearLost, kNotYet}},
    {"less than a year before now", {}, {{2025, 12, 10, 0}}, {}, 1, 0, {}},
    {"same moment and weight as the log or an earlier reading",
     {{2026, 6, 1, 8}},
     {{2026, 6, 1, 8}, {2026, 6, 1, 8}, {2026, 6, 1, 8}, {2025, 6, 1, 8}},
     {"70.001", "70.5", "70.50", "70"},
     1,
     2,
     {kYearLost}},
};
struct MergeTest : ::testing::TestWithParam<Merge> {};
} // namespace

// After the rewrite every record of the log keeps its date and every one
// added is read at its own; the same file again adds nothing.
TEST_P(MergeTest, PutsEachRecordAtItsPlaceInTime) {
    const Merge& c = GetParam();
    ImportedFile file;
    for (std::size_t j = 0; j < c.file.size(); ++j)
        file.readings.push_back({{c.file[j].year, c.file[j].month, c.file[j].day, c.file[j].hour},
                                 j < c.weights.size() ? c.weights[j] : "60.5",
                                 "20",
                                 "r"});
    const std::string log = LogOf(c.log);
    ImportPlan plan;
    ASSERT_EQ(PlanImport(file, log, "170", kNow, plan), "");
    EXPECT_EQ(plan.added.size(), static_cast<std::size_t>(c.added));
    EXPECT_EQ(plan.duplicates, c.duplicates);
    std::vector<std::string> reasons(c.reasons.begin(), c.reasons.end());
    std::vector<std::string> given;
    for (const RejectedRow& r : plan.leftOut)
        given.push_back(r.reason);
    EXPECT_EQ(given, reasons);

    std::string updated;
    ASSERT_EQ(SpliceRecords(log, {}, plan.lines, updated), "");
    Dates expected = DatesOf(log);
    for (const TimedLine& t : plan.added)
        expected.push_back(t.when);
    std::stable_sort(expected.begin(), expected.end(), [](const auto& a, const auto& b) {
        return HoursSinceEpoch(a) < HoursSinceEpoch(b);
    });
    EXPECT_EQ(DatesOf(updated), expected);
    ASSERT_EQ(PlanImport(file, updated, std::nullopt, kNow, plan), "");
    EXPECT_TRUE(plan.added.empty());
}
INSTANTIATE_TEST_SUITE_P(Every, MergeTest, ::testing::ValuesIn(kMerges), ByName());

namespace {
// Record k of a made-up log, at 1 January, k h.
std::string Rec(int k, const char* end = "\n") {
    return "10100 1" + std::to_string(k) + ".00 2 3 4 5 6 7 8 9" + end;
}
struct Splice {
    const char* name;
    std::string log;
    std::vector<int> removed;
    std::vector<NewLine> lines;
    std::string after; // or the reason
};
const Splice kSplices[] = {
    {"first, middle, end after a last line without LF",
     Rec(1) + "\n" + Rec(2, ""),
     {},
     {{2, "E\n"}, {0, "A\n"}, {1, "B\n"}, {1, "C\n"}},
     "A\n" + Rec(1) + "\nB\nC\n" + Rec(2) + "E\n"},
    {"a record taken out and put in elsewhere at once",
     Rec(1) + Rec(2) + Rec(3),
     {2},
     {{0, "X\n"}},
     "X\n" + Rec(1) + Rec(2)},
    {"at a record that starts on another's line",
     Rec(1, " ") + Rec(2),
     {},
     {{1, "X\n"}},
     "記録を入れる位置の行に"},
    {"past the last record", Rec(1), {}, {{2, "X\n"}}, "記録を読み込んだ後に"},
};
struct SpliceTest : ::testing::TestWithParam<Splice> {};
} // namespace

TEST_P(SpliceTest, PutsWholeLinesInAndTakesThemOut) {
    const Splice& c = GetParam();
    std::vector<KnownRecord> removed;
    for (const int k : c.removed) // record k is Rec(k + 1)
        removed.push_back({k, {10100, 11.0 + k, 2, 3, 4, 5, 6, 7, 8, 9}});
    std::string updated;
    const std::string reason = SpliceRecords(c.log, removed, c.lines, updated);
    EXPECT_EQ(reason.empty() ? updated : reason.substr(0, c.after.size()), c.after);
}
INSTANTIATE_TEST_SUITE_P(Every, SpliceTest, ::testing::ValuesIn(kSplices), ByName());

// What an import or a script writes is what the window saves.
TEST_F(FlowFixture, TypedInputsMakeTheLineTheWindowSaves) {
    const std::vector<std::array<const char*, 3>> typed = {
        {"170", "65", "20"}, {"170", "65", ""},          {"95.34626", "9.5", "100"},
        {"150", "300", ""},  {"1e2", "0.005", "33.335"}, {" 165.5", "70.125 ", "0"}};
    for (const auto& [h, w, f] : typed) {
        std::filesystem::remove(log);
        measure(h, w, f);
        saveTo(log);
        EXPECT_EQ(Slurp(log), TypedRecordLine(StrToInt(dateStamp),
                                              {h, w, *f ? std::optional(f) : std::nullopt}));
    }
}

namespace {
// A log of one record, 1 December 2026, 7 h, and a file of two readings:
// one to add before it, one left out.
const std::string kOneRecord = TypedRecordLine(120107, {"160", "60", {}});
const std::string kAdded = TypedRecordLine(113007, {"160", "61.5", {"20"}});
struct Command {
    const char* name;
    std::vector<std::string> args; // "LOG" stands for the log's path
    int exitCode;
    std::string log; // afterwards
    const char* said = "";
};
const Command kCommands[] = {
    {"import", {"--import", "f", "--into", "LOG"}, 0, kAdded + kOneRecord, "追加した記録: 1 件"},
    {"dry run", {"--import", "f", "--into", "LOG", "--dry-run"}, 0, kOneRecord, "形式: 表??\n"},
    {"no --into", {"--import", "f", "--height", "170"}, 2, kOneRecord, "--into LOG で、取り込み先"},
    {"stray", {"--import", "f", "--into", "LOG", "-\x1b"}, 2, kOneRecord, "「-?」です"},
    {"given twice", {"--add", "LOG", "--at", "1", "--at"}, 2, kOneRecord, "--at が 2 回指定"},
    {"height out of range", {"--import", "f", "--into", "LOG", "--height", "301"}, 2, kOneRecord},
    {"unreadable file", {"--import", "gone", "--into", "LOG"}, 1, kOneRecord, "読めません"},
    {"add before",
     {"--add", "LOG", "--height", "160", "--weight", "61.5", "--fat", "20", "--at",
      "2026-11-30T07"},
     0,
     kAdded + kOneRecord},
    {"add now",
     {"--add", "LOG", "--height", "160", "--weight", "60"},
     0,
     kOneRecord + TypedRecordLine(120923, {"160", "60", {}})},
    {"add out of range", {"--add", "LOG", "--height", "160", "--weight", "1000.5"}, 2, kOneRecord},
    {"add at no moment",
     {"--add", "LOG", "--height", "1", "--weight", "1", "--at", "2026-02-29T01"},
     2,
     kOneRecord},
    {"add a year back",
     {"--add", "LOG", "--height", "1", "--weight", "1", "--at", "2025-12-01T07"},
     2,
     kOneRecord,
     kYearLost},
    {"add to a folder", {"--add", "/", "--height", "1", "--weight", "1"}, 1, kOneRecord},
};
struct CommandTest : ::testing::TestWithParam<Command> {};
} // namespace

TEST_P(CommandTest, ExitsAsTheOtherCommandsAndWritesOnlyWhenDone) {
    const Command& c = GetParam();
    const std::string log = MakeTempDir("cli") + "/data.txt";
    Spit(log, kOneRecord);
    std::vector<std::string> args = c.args;
    for (std::string& a : args)
        a = a == "LOG" ? log : a;
    PosixFileSystem fs;
    FixedClock clock(kNow);
    const auto read = [](const std::string& path) {
        if (path == "gone")
            throw ImportError("ファイル「gone」を読めません");
        return ImportedFile{"表\x1b\xc2\x9b",
                            {{{2026, 11, 30, 7, 5}, "61.5", "20", "2行目"},
                             {{2026, 12, 1, 7, 0}, "1001", {}, "3行目"}},
                            {}};
    };
    const DataInResult r =
        args[0] == "--add" ? RunAdd(args, fs, clock) : RunImport(args, fs, clock, read);
    EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
    EXPECT_NE((r.out + r.err).find(c.said), std::string::npos) << r.out << r.err;
    EXPECT_EQ(Slurp(log), c.log);
    EXPECT_EQ(std::filesystem::exists(log + "~"), Slurp(log).find(kAdded) == 0);
}
INSTANTIATE_TEST_SUITE_P(Every, CommandTest, ::testing::ValuesIn(kCommands), ByName());

// A record saved before the log's last one: the log rewritten with it at its
// place and the old one kept as a copy, or, when any call fails, kept as it
// was.
TEST(SaveRecordAt, RewritesTheLogOrLeavesIt) {
    const std::string log = MakeTempDir("at") + "/data.txt";
    PosixFileSystem posix;
    int failures = 0;
    for (int op = -1; op <= static_cast<int>(Op::Rename); ++op) {
        SCOPED_TRACE(op);
        Spit(log, kOneRecord);
        std::filesystem::remove(log + "~");
        FaultyFileSystem fs(posix);
        fs.failOn(Op(op), 1, EIO);
        const std::string error = ErrorText<LogError>([&] {
            SaveRecordAt(fs, log, {{2026, 11, 30, 7}, kAdded}, kNow);
        });
        failures += !error.empty();
        EXPECT_EQ(Slurp(log), error.empty() ? kAdded + kOneRecord : kOneRecord);
        EXPECT_EQ(error.empty() ? Slurp(log + "~") : kOneRecord, kOneRecord);
        EXPECT_EQ(fs.openHandles(), 0u);
    }
    EXPECT_GE(failures, 8);
}

namespace {
// The main window's dialogs of the date and the import, answered by the test.
struct FakeDataInView : DataInView {
    std::optional<RecordDate> moment;
    std::optional<std::string> source = "f.csv";
    bool readable = true;
    std::optional<std::string> height;
    bool confirm = true;
    std::vector<std::string> asked; // which dialogs, in order
    ImportPreview shown;
    std::optional<RecordDate> askMoment(const RecordDate&, const RecordDate&) override {
        asked.push_back("moment");
        return moment;
    }
    std::optional<std::string> chooseImportFile() override { return source; }
    ImportedFile readImportFile(const std::string& path) override {
        if (!readable)
            throw ImportError("ファイル「" + path + "」を読めません");
        return {
            "表", {{{2026, 8, 1, 7, 0}, "61.5", "20", "2行目"}}, {{"3行目", "体重がありません"}}};
    }
    std::optional<std::string> askHeight() override {
        asked.push_back("height");
        return height;
    }
    bool confirmImport(const ImportPreview& p) override {
        asked.push_back("preview");
        shown = p;
        return confirm;
    }
};
struct DataInFlow : FlowFixture {
    FakeDataInView dialogs;
    DataInController dataIn{view,
                            dialogs,
                            {prompter, clock, help, settings, files, posix},
                            {m, targets, dateStamp, logFilePath, history}};
    DataInFlow() { c->setDataIn(&dataIn); }
};
} // namespace

// A save at an earlier moment goes in before the later records and keeps the
// old log as a copy; the current hour again saves as before, at the end.
TEST_F(DataInFlow, AMeasurementAtAnotherMomentGoesInAtItsPlace) {
    const std::string later = TypedRecordLine(81000, {"160", "60", {}});
    Spit(log, later);
    dialogs.moment = RecordDate{2026, 8, 1, 7};
    dataIn.D1Click();
    EXPECT_EQ(shown(MainCtl::Lb_dt), "08/01-07");
    EXPECT_EQ(view.fontColours[MainCtl::Lb_dt], colour::Red);
    measure("170", "65", "20");
    saveTo(log);
    const std::string early = TypedRecordLine(80107, {"170", "65", {"20"}});
    EXPECT_EQ(Slurp(log), early + later);
    EXPECT_EQ(Slurp(log + "~"), later);

    dialogs.moment = RecordDate{2026, 8, 30, 20};
    dataIn.D1Click();
    EXPECT_EQ(shown(MainCtl::Lb_dt), "08/30-20");
    EXPECT_EQ(view.fontColours[MainCtl::Lb_dt], colour::Blue);
    measure("170", "65", "20");
    saveTo(log);
    EXPECT_EQ(Slurp(log), early + later + kWorkedLine);
}

namespace {
struct WindowImport {
    const char* name;
    std::function<void(FakeDataInView&, FakeFileChooser&)> answer;
    std::vector<std::string> asked;
    bool written;
    const char* said;
};
const std::string kLater = TypedRecordLine(81000, {"160", "60", {}});
const WindowImport kWindowImports[] = {
    {"confirmed", [](auto&, auto&) {}, {"preview"}, true, "記録を 1 件取り込みました"},
    {"cancelled at the preview", [](auto& d, auto&) { d.confirm = false; }, {"preview"}, false, ""},
    {"no file chosen", [](auto& d, auto&) { d.source.reset(); }, {}, false, ""},
    {"no log chosen", [](auto&, auto& f) { f.saveAnswers = {std::nullopt}; }, {}, false, ""},
    {"unreadable", [](auto& d, auto&) { d.readable = false; }, {}, false, "を読めません"},
};
struct WindowImportTest : DataInFlow, ::testing::WithParamInterface<WindowImport> {};
} // namespace

TEST_P(WindowImportTest, WritesOnlyAfterThePreview) {
    Spit(log, kLater);
    files.saveAnswers = {log};
    GetParam().answer(dialogs, files);
    dataIn.I1Click();
    EXPECT_EQ(dialogs.asked, GetParam().asked);
    EXPECT_EQ(Slurp(log), GetParam().written
                              ? TypedRecordLine(80107, {"160", "61.5", {"20"}}) + kLater
                              : kLater);
    EXPECT_EQ(prompter.shown.size(), *GetParam().said ? 1u : 0u);
    EXPECT_TRUE(said(GetParam().said) || prompter.shown.empty());
}
INSTANTIATE_TEST_SUITE_P(Every, WindowImportTest, ::testing::ValuesIn(kWindowImports), ByName());

// The import's log dialog offers the remembered log; the log imported into
// is remembered, and a second import of the same file adds nothing.
TEST_F(DataInFlow, TheImportedLogIsOfferedAndRemembered) {
    SaveRememberedLog(settings, "/old/data.txt");
    Spit(log, kLater);
    files.saveAnswers = {std::nullopt, log, log};
    dataIn.I1Click();
    EXPECT_EQ(files.offers.size(), 1u); // before the dialog
    dataIn.I1Click();
    dataIn.I1Click();
    EXPECT_EQ(files.offers, (std::vector<std::string>{"/old/data.txt", log, log}));
    EXPECT_EQ(LoadRememberedLog(settings) + logFilePath, log + log);
    EXPECT_TRUE(said("取り込む新しい記録はありませんでした"));
}

// A log with no record: the height is asked, and must be one the window takes.
TEST_F(DataInFlow, AnEmptyLogAsksForTheHeight) {
    for (const char* height : {"", "301", "170"}) {
        files.saveAnswers = {log};
        dialogs.height = *height ? std::optional<std::string>(height) : std::nullopt;
        dataIn.I1Click();
    }
    EXPECT_EQ(dialogs.asked, (std::vector<std::string>{"height", "height", "height", "preview"}));
    EXPECT_TRUE(said("身長が入力できる範囲"));
    EXPECT_NE(dialogs.shown.summary.find("期間: 2026/08/01 7時 ～ 2026/08/01 7時"),
              std::string::npos);
    EXPECT_EQ(dialogs.shown.leftOut, std::vector<std::string>{"3行目: 体重がありません"});
    EXPECT_EQ(Slurp(log), TypedRecordLine(80107, {"170", "61.5", {"20"}}));
}
