// Tests of loading a log file into the history table, and of removing
// records from it.

#include "log/HistoryTable.h"
#include "log/LogError.h"
#include "log/LogReader.h"
#include "log/LogRecord.h"
#include "log/LogWriter.h"
#include "log/PosixFileSystem.h"
#include "log/RecordRemover.h"
#include "log/RecordScanner.h"
#include "support/Cases.h"
#include "support/TestHome.h"
#include "support/fakes/FaultyFileSystem.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <sys/file.h>
#include <unistd.h>

using namespace vorn;
using namespace vorn::test;
using Op = FaultyFileSystem::Op;
using Stop = LoadResult::Stop;

namespace {

// Record k of a made-up history: every field differs from every other.
std::string line(int k, const char* end = "\n") {
    std::string s = std::to_string(10100 + k);
    for (int c = 1; c < 10; ++c)
        s.append(" ").append(std::to_string(k)).append(".").append(std::to_string(c)).append("0");
    return s.append(end);
}
double field(int k, int c) {
    return c == 0 ? 10100 + k : k + c / 10.0;
}

class ReadHistoryTest : public ::testing::Test {
protected:
    void SetUp() override { clearTable(); }
    void clearTable() {
        for (auto& column : table->columns)
            column.fill(-1); // stands for "left as it was"
    }
    // Loads `content` into a table filled with -1, or (keep) into the table as
    // the last load left it.
    LoadResult load(const std::string& content, bool keep = false) {
        if (!keep)
            clearTable();
        const std::string path = dir + "/log" + std::to_string(++files) + ".txt";
        Spit(path, content);
        return ReadHistory(posix, path, *table);
    }
    // Entries 1..n hold records from+1..from+n of line(), and entry n+1 is
    // untouched.
    void expectRecords(int n, const std::string& what, int from = 0) {
        for (int k = 1; k <= n; ++k)
            for (int c = 0; c < HistoryTable::kColumns; ++c)
                ASSERT_DOUBLE_EQ(table->at(c, k), field(from + k, c)) << what << " record " << k;
        if (n + 1 < HistoryTable::kEntries) {
            EXPECT_EQ(table->at(0, n + 1), -1) << what;
        }
        EXPECT_EQ(table->at(0, 0), -1) << what;
    }

    std::string dir = MakeTempDir("read");
    int files = 0;
    PosixFileSystem posix;
    std::unique_ptr<HistoryTable> table = std::make_unique<HistoryTable>();
};

} // namespace

TEST_F(ReadHistoryTest, ReadsBackWhatTheWriterWrote) {
    const std::string path = dir + "/data.txt";
    const RecordValues v = {170, 65, 20, 13, 52, 38.06, 63.58, 22.49, -20.1};
    AppendRecord(posix, path, FormatRecord(83020, v, true));
    AppendRecord(posix, path, FormatRecord(123123, v, false));
    const LoadResult r = ReadHistory(posix, path, *table);
    EXPECT_EQ(r.records, 2);
    EXPECT_EQ(r.stop, Stop::End);
    const double expected[2][10] = {{83020, 170, 65, 20, 13, 52, 38.06, 63.58, 22.49, -20.1},
                                    {123123, 170, 65, 0, 0, 0, 0, 63.58, 22.49, -20.1}};
    for (int k = 1; k <= 2; ++k)
        for (int c = 0; c < 10; ++c)
            EXPECT_DOUBLE_EQ(table->at(c, k), expected[k - 1][c]) << k << " " << c;
}

TEST_F(ReadHistoryTest, KnowsEachRecordSavedWithoutAFatPercentage) {
    const RecordValues typedZero = {170, 60, 0, 0, 60, 43.92, 63.58, 20.76, -5.63};
    const RecordValues noWeight = {170, 0, 0, 0, 0, 0, 63.58, 0, -100};
    const std::string text = FormatRecord(83020, typedZero, false) +
                             FormatRecord(83021, typedZero, true) +
                             FormatRecord(83022, noWeight, true) +
                             " 83023 170.00 65.00 000.00 000.00 000.00 0 63.58 22.49 2.23\n" +
                             FormatRecord(83024, typedZero, false);
    Spit(dir + "/fat.txt", text);
    EXPECT_EQ(ReadWholeLog(posix, dir + "/fat.txt").savedWithoutFat,
              (std::vector<bool>{true, false, false, false, true}));
    RecordScanner latest(true, 2);
    latest.feed(text.data(), text.size());
    latest.finish();
    EXPECT_EQ(latest.savedWithoutFat(), (std::vector<bool>{false, true}));
}

TEST_F(ReadHistoryTest, LineBreaksAndBlanksDoNotMatter) {
    std::string split = line(2);
    split[split.find(' ', 20)] = '\n';
    struct Case {
        const char* name;
        std::string content;
    } cases[] = {
        {"LF", line(1) + line(2)},
        {"CR LF", line(1, "\r\n") + line(2, "\r\n")},
        {"no final line end", line(1) + line(2, "")},
        {"two on one line", line(1, " ") + line(2)},
        {"one over two lines", line(1) + split},
        // Each starts from a std::string: a literal put before a temporary
        // string is where GCC 12 at -O3 reports a false -Wrestrict.
        {"tabs and blank lines",
         std::string("\n\r\n\t") + line(1, "\t\t") + "\n\n " + line(2) + "\n\n"},
        {"padding as written", std::string(" ") + line(1) + " " + line(2, " \r\n")},
    };
    for (const Case& c : cases) {
        const LoadResult r = load(c.content);
        EXPECT_EQ(r.records, 2) << c.name;
        EXPECT_EQ(r.stop, Stop::End) << c.name;
        expectRecords(2, c.name);
    }
    for (const char* empty : {"", "\n", "\r\n\r\n", "  \t \n"}) {
        const LoadResult r = load(empty);
        EXPECT_EQ(r.records, 0);
        EXPECT_EQ(r.stop, Stop::End);
    }
}

TEST_F(ReadHistoryTest, AShorterLoadLeavesLaterEntriesAsTheyWere) {
    std::string ten, three;
    for (int k = 1; k <= 10; ++k)
        ten += line(k);
    for (int k = 1; k <= 3; ++k)
        three += line(k + 100);
    ASSERT_EQ(load(ten).records, 10);
    ASSERT_EQ(load(three, true).records, 3);
    for (int k = 1; k <= 3; ++k)
        EXPECT_EQ(table->at(0, k), field(k + 100, 0));
    for (int k = 4; k <= 10; ++k)
        EXPECT_EQ(table->at(0, k), field(k, 0));
    EXPECT_EQ(table->at(0, 11), -1);
}

TEST_F(ReadHistoryTest, KeepsTheLast999Records) {
    std::string lines;
    for (int k = 1; k <= 1200; ++k)
        lines += line(k);
    const std::size_t end999 = lines.find(line(1000));
    struct Case {
        std::string content;
        long long skipped; // the kept ones are records skipped+1 .. skipped+999
        Stop stop;
        long long stopRecord;
    } cases[] = {
        {lines, 201, Stop::End, 0},
        {lines.substr(0, end999), 0, Stop::End, 0},
        {lines.substr(0, end999) + "\r\n  \n", 0, Stop::End, 0},
        {lines + "x", 201, Stop::NotANumber, 1201},
        {lines + "1 2 3", 201, Stop::CutShort, 1201},
    };
    for (const Case& c : cases) {
        const LoadResult r = load(c.content);
        const std::string what = std::to_string(c.skipped) + " " + std::to_string(c.stopRecord);
        EXPECT_EQ(r.records, 999) << what;
        EXPECT_EQ(r.skipped, c.skipped) << what;
        EXPECT_EQ(r.stop, c.stop) << what;
        EXPECT_EQ(r.stopRecord, c.stopRecord) << what;
        expectRecords(999, what, static_cast<int>(c.skipped));
    }
}

TEST_F(ReadHistoryTest, StopsAtTheFirstProblemAndKeepsTheRecordsBefore) {
    struct Case {
        std::string content;
        int records;
        Stop stop;
        int stopLine;
    } cases[] = {
        {line(1) + "garbage " + line(2), 1, Stop::NotANumber, 2},
        {line(1) + line(2).substr(0, 20) + std::string("\0\0\0", 3) + "\n", 1, Stop::NotANumber, 2},
        {line(1) + "\x89PNG\r\n\x1a\n", 1, Stop::NotANumber, 2},
        {line(1) + line(2) + "\n\n1 2 3 4 5", 2, Stop::CutShort, 5},
        {line(1) + line(2).substr(0, 30), 1, Stop::CutShort, 2},
        {line(1, "") + "x", 0, Stop::NotANumber, 1}, // glued to the last field
        {line(1) + "1,5", 1, Stop::NotANumber, 2},
        {line(1) + "12kg", 1, Stop::NotANumber, 2},
        {line(1) + "1 2\n3 nan", 1, Stop::NotANumber, 3},
    };
    for (const Case& c : cases) {
        const LoadResult r = load(c.content);
        EXPECT_EQ(r.records, c.records) << c.content;
        EXPECT_EQ(r.stop, c.stop) << c.content;
        EXPECT_EQ(r.stopRecord, c.records + 1) << c.content;
        EXPECT_EQ(r.stopLine, c.stopLine) << c.content;
        expectRecords(c.records, c.content);
    }
}

TEST_F(ReadHistoryTest, AcceptsDecimalNumbersOnly) {
    struct Case {
        const char* text;
        bool number;
        double value;
    } cases[] = {
        {"000.00", true, 0},  {"+1.5", true, 1.5},  {"-2", true, -2},        {"1e3", true, 1000},
        {"1E-2", true, 0.01}, {".5", true, 0.5},    {"5.", true, 5},         {"1e-400", true, 0},
        {"nan", false, 0},    {"inf", false, 0},    {"-Infinity", false, 0}, {"0x10", false, 0},
        {"1e999", false, 0},  {"-1e999", false, 0}, {".", false, 0},         {"-", false, 0},
        {"1e", false, 0},     {"e5", false, 0},     {"1.2.3", false, 0},     {"+-1", false, 0},
        {"1e+", false, 0},    {"１７０", false, 0},
    };
    for (const Case& c : cases) {
        const std::string content = std::string(c.text) + " 1 2 3 4 5 6 7 8 9\n";
        const LoadResult r = load(content);
        EXPECT_EQ(r.records, c.number ? 1 : 0) << c.text;
        EXPECT_EQ(r.stop, c.number ? Stop::End : Stop::NotANumber) << c.text;
        if (c.number) {
            EXPECT_DOUBLE_EQ(table->at(0, 1), c.value) << c.text;
        }
    }
    // A field longer than any number could sensibly be is refused as well.
    EXPECT_EQ(load(std::string(600, '0') + " 1 2 3 4 5 6 7 8 9").stop, Stop::NotANumber);
}

TEST_F(ReadHistoryTest, RefusesAHugeFileOfGarbageAtOnce) {
    const std::string path = dir + "/huge.txt";
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, 100LL * 1024 * 1024), 0); // 100 MB of NUL bytes, sparse
    ::close(fd);
    FaultyFileSystem fs(posix);
    const LoadResult r = ReadHistory(fs, path, *table);
    ::unlink(path.c_str());
    EXPECT_EQ(r.records, 0);
    EXPECT_EQ(r.stop, Stop::NotANumber);
    EXPECT_EQ(r.stopRecord, 1);
    EXPECT_EQ(fs.calls(Op::Read), 1);
    EXPECT_EQ(fs.openHandles(), 0u);
}

TEST_F(ReadHistoryTest, AFileThatCannotBeReadRaisesAndChangesNothing) {
    std::string big; // more than one chunk, so that a later read can fail
    for (int k = 1; k <= 999; ++k)
        big += line(k) + std::string(100, ' ');
    const std::string bigPath = dir + "/big.txt";
    Spit(bigPath, big);
    // A FIFO is refused at once, also while a writer holds it open and sends
    // nothing, and so are devices.
    const TestFifos fifos(dir);
    ASSERT_GE(fifos.peer, 0);
    const std::string notAFile = "デバイスや名前付きパイプなどで、普通のファイルではありません";
    struct Case {
        std::string path;
        Op op;
        int err; // 0: no fault injected
        std::string reason;
    } cases[] = {
        {dir + "/missing.txt", Op::Open, 0, "ファイルまたはフォルダーが見つかりません"},
        {dir, Op::Open, 0, "フォルダーです"},
        {fifos.lone, Op::Open, 0, notAFile},
        {fifos.held, Op::Open, 0, notAFile},
        {"/dev/zero", Op::Open, 0, notAFile},
        {"/dev/null", Op::Open, 0, notAFile},
        {bigPath, Op::Open, EACCES, "読み込みが許可されていません"},
        {bigPath, Op::Read, EIO, "ディスクの読み書きでエラーが発生しました"},
    };
    for (const Case& c : cases) {
        FaultyFileSystem fs(posix);
        if (c.err)
            fs.failOn(c.op, c.op == Op::Read ? 2 : 1, c.err);
        EXPECT_EQ(ErrorText<LogError>([&] { ReadHistory(fs, c.path, *table); }),
                  "ファイル「" + c.path + "」を読み込めませんでした。\n理由: " + c.reason);
        EXPECT_EQ(fs.openHandles(), 0u) << c.path;
        expectRecords(0, c.path);
    }
}

TEST(LoadNotice, TellsWhereReadingStopped) {
    struct Case {
        LoadResult result;
        std::string notice;
    } cases[] = {
        {{12, Stop::End, 0, 0}, ""},
        {{3, Stop::NotANumber, 4, 7},
         "記録 4 件目（7 行目）で読み込みを中止しました（数値でない内容があります）。"
         "それより前の 3 件を表示します。"},
        {{0, Stop::NotANumber, 1, 1},
         "記録 1 件目（1 行目）で読み込みを中止しました（数値でない内容があります）。"
         "表示できる記録はありません。"},
        {{5, Stop::CutShort, 6, 6},
         "記録 6 件目（6 行目）が途中で終わっているため、読み込みを中止しました。"
         "それより前の 5 件を表示します。"},
        {{999, Stop::End, 0, 0, 1},
         "記録が999件を超えているため、最新の999件を表示します（それより前の 1 "
         "件は表示しません）。"},
        {{999, Stop::NotANumber, 3001, 3005, 2001},
         "記録 3001 件目（3005 行目）で読み込みを中止しました（数値でない内容があります）。"
         "それより前の最新の 999 件を表示します（さらに前の 2001 件は表示しません）。"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LoadNotice(c.result), c.notice);
}

namespace {
const std::string kThree = line(1) + line(2) + line(3);
// Record 2 over three lines, a blank one between.
const std::string kSplit = "10102 2.10 2.20 2.30\n \t\n2.40 2.50 2.60 2.70 2.80 2.90\n";
struct Removal {
    const char* name;
    std::string before;
    std::vector<int> places; // from 0, loaded from line(1) + line(2) + ...
    std::string after;       // the log afterwards, or a part of the reason of a refusal
    bool viaLink = false;
};
const Removal kRemovals[] = {
    {"CR LF", line(1, "\r\n") + line(2, "\r\n") + line(3, "\r\n"), {2, 0}, line(2, "\r\n")},
    {"the last, no line end", line(1) + line(2, ""), {1}, line(1)},
    {"before a last line without one", line(1) + line(2, " "), {0}, line(2, " ")},
    {"over three lines", "\n" + line(1) + kSplit + "\n", {1}, "\n" + line(1) + "\n"},
    {"through a link", kThree, {0}, line(2) + line(3), true},
    {"shares the next one's line", line(1, " ") + line(2), {0}, "削除する記録と同じ行に"},
    {"shares the one before's line", line(1, " ") + line(2), {1}, "削除する記録と同じ行に"},
    {"damaged", line(1) + "12x\n", {0}, "ファイルに数値でない内容か"},
    {"changed since", line(2) + line(3), {0}, "記録を読み込んだ後に"},
    {"gone since", line(1), {1}, "記録を読み込んだ後に"},
};
struct RemoveRecordsTest : ReadHistoryTest, ::testing::WithParamInterface<Removal> {};
} // namespace

TEST_P(RemoveRecordsTest, CutsWholeLinesAndKeepsACopy) {
    const Removal& c = GetParam();
    load(kThree);
    const std::string file = dir + "/data.txt";
    const std::string path = c.viaLink ? dir + "/link.txt" : file;
    Spit(file, c.before);
    Spit(path + "~", "an older copy");
    std::filesystem::permissions(file, std::filesystem::perms(0640));
    if (c.viaLink)
        std::filesystem::create_symlink(file, path);
    std::vector<KnownRecord> records;
    for (const int place : c.places)
        records.push_back(HistoryRecord(*table, 0, place + 1));
    const std::string error = ErrorText<LogError>([&] { RemoveRecords(posix, path, records); });
    const bool refused = (c.after[0] & 0x80) != 0; // a reason, in Japanese
    EXPECT_NE(error.find(refused ? "から記録を削除できませんでした。\n理由: " + c.after : ""),
              std::string::npos);
    EXPECT_EQ(refused, !error.empty()) << error;
    EXPECT_EQ(Slurp(file), refused ? c.before : c.after);
    EXPECT_EQ(Slurp(path + "~"), refused ? "an older copy" : c.before);
    EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(std::filesystem::is_symlink(path), c.viaLink);
}
INSTANTIATE_TEST_SUITE_P(Every, RemoveRecordsTest, ::testing::ValuesIn(kRemovals), ByName());

// Each call that a removal makes fails in turn, and each write is also cut
// short: the log keeps its bytes and no file is left behind, unless only
// the last close failed or a short write was simply resumed.
TEST_F(ReadHistoryTest, ARemovalFailingAnywhereLeavesTheLog) {
    load(kThree);
    const std::vector<KnownRecord> second = {HistoryRecord(*table, 0, 2)};
    const std::string log = dir + "/log1.txt"; // as loaded
    FaultyFileSystem clean(posix);
    clean.before(Op::Rename, 2, [&] { // an append of this program waits meanwhile
        const int other = ::open(log.c_str(), O_RDONLY | O_CLOEXEC);
        EXPECT_EQ(::flock(other, LOCK_EX | LOCK_NB), -1);
        ::close(other);
    });
    RemoveRecords(clean, log, second);
    const std::string head = "ファイル「" + log + "」から記録を削除できませんでした。\n理由: ";
    for (int op = 0; op <= static_cast<int>(Op::Rename); ++op)
        for (int nth = 1; nth <= clean.calls(Op(op)); ++nth)
            for (int way = 0; way < (Op(op) == Op::Write ? 3 : 1); ++way) {
                SCOPED_TRACE(op * 100 + nth * 10 + way); // which call, and how it failed
                Spit(log, kThree);
                FaultyFileSystem fs(posix);
                way == 0 ? fs.failOn(Op(op), nth, EIO) : fs.shortWriteOn(nth, way == 1 ? 0 : 10);
                const std::string error =
                    ErrorText<LogError>([&] { RemoveRecords(fs, log, second); });
                const bool lastClose = Op(op) == Op::Close && nth == clean.calls(Op::Close);
                EXPECT_EQ(error.substr(0, head.size()), lastClose || way == 2 ? "" : head) << error;
                EXPECT_EQ(Slurp(log), error.empty() ? line(1) + line(3) : kThree);
                EXPECT_EQ(Slurp(log + "~"), kThree);
                EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 2);
                EXPECT_EQ(fs.openHandles(), 0u);
            }
    // A program that takes no lock rewrites the log meanwhile: kept too.
    FaultyFileSystem late(posix);
    late.before(Op::Create, 2, [&] { Spit(log, kThree + line(4)); });
    Spit(log, kThree);
    EXPECT_THROW(RemoveRecords(late, log, second), LogError);
    EXPECT_EQ(Slurp(log), kThree + line(4));
}
