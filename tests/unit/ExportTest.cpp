// Exports land whole or not at all, and their text carries what the log
// holds only as text.

#include "log/HistoryCsv.h"
#include "platform/ExportFile.h"
#include "support/Cases.h"
#include "support/TestHome.h"

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace vorn;
using namespace vorn::test;
namespace fs = std::filesystem;

namespace {

// The names in a folder.
std::vector<std::string> Names(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Files may grow to `bytes` only: a longer write fails as on a full disk.
struct SizeLimit {
    explicit SizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~SizeLimit() { setrlimit(RLIMIT_FSIZE, &old); }
    rlimit old{};
};

struct FailedExport {
    const char* name;
    const char* target; // below the test's folder
    const char* reason;
};
const FailedExport kFailed[] = {
    {"a folder", "folder", "フォルダーです"},
    {"a name ending in a slash", "new/", "フォルダーです"},
    {"a missing folder", "missing/out.csv", "ファイルまたはフォルダーが見つかりません"},
    {"a FIFO", "fifo", "デバイスや名前付きパイプなどで、普通のファイルではありません"},
    {"no room left", "big.csv", "ファイルが大きすぎます"},
};
class FailedExports : public ::testing::TestWithParam<FailedExport> {};

} // namespace

TEST_P(FailedExports, LeavesNothingAndSaysWhy) {
    const std::string dir = MakeTempDir("export");
    fs::create_directory(dir + "/folder");
    mkfifo((dir + "/fifo").c_str(), 0600);
    Spit(dir + "/big.csv", "old");
    const std::vector<std::string> before = Names(dir);
    const std::string path = dir + "/" + GetParam().target;
    IoStatus status;
    {
        const SizeLimit limit(4096);
        status = WriteExport(path, std::string(8192, 'x'));
    }
    EXPECT_EQ(status.reason, GetParam().reason);
    EXPECT_EQ(Names(dir), before) << "a temporary file stayed behind";
    EXPECT_EQ(Slurp(dir + "/big.csv"), "old");
    EXPECT_EQ(ExportFailure(path, status),
              "ファイル「" + path + "」に書き出せませんでした。\n理由: " + GetParam().reason);
}
INSTANTIATE_TEST_SUITE_P(Every, FailedExports, ::testing::ValuesIn(kFailed), ByName());

TEST(Export, ReplacesAFileWholeAndKeepsItsPermissions) {
    const std::string dir = MakeTempDir("export");
    const std::string path = dir + "/out.csv";
    ASSERT_TRUE(WriteExport(path, "first\r\n").ok());
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0666 & ~umask(022)) << "a new file follows the umask";
    chmod(path.c_str(), 0640);
    ASSERT_TRUE(WriteExport(path, "second").ok());
    EXPECT_EQ(Slurp(path), "second");
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(Names(dir), std::vector<std::string>{"out.csv"});
}

namespace {

const std::string kHeader = "日時,身長(cm),体重(kg),脂肪率(%),脂肪量(kg),除脂肪量(kg),体水分量(kg),"
                            "標準体重(kg),BMI,肥満度(%)";
const RecordFields kFull = {83020, 170, 65, 20, 13, 52, 38.06, 63.58, 22.49, 2.23};
const RecordFields kShort = {83120, 170, 64, 0, 0, 0, 0, 63.58, 22.145, -3.3333};
const RecordFields kNoDate = {133020, 170.004, 66, 20, 13.2, 52.8, 38.65, 63.58, 22.84, 3.8};

struct CsvCase {
    const char* name;
    WholeLog log;
    std::optional<int> trend;
    std::string rows; // after the header
    const char* trendHeader = "";
    ByteOrderMark mark = ByteOrderMark::Without;
};
const CsvCase kCsv[] = {
    {"an empty log", {}, std::nullopt, ""},
    {"full and short records with their dates",
     {{kFull, kShort}, {false, true}},
     std::nullopt,
     "2026-08-30T20:00,170.00,65.00,20.00,13.00,52.00,38.06,63.58,22.49,2.23\r\n"
     "2026-08-31T20:00,170.00,64.00,,,,,63.58,22.14,-3.33\r\n"},
    {"a stamp that is no moment has no date",
     {{kNoDate}, {false}},
     std::nullopt,
     ",170.00,66.00,20.00,13.20,52.80,38.65,63.58,22.84,3.80\r\n"},
    {"the weight's trend",
     {{kFull, kShort}, {false, true}},
     kWeight,
     "2026-08-30T20:00,170.00,65.00,20.00,13.00,52.00,38.06,63.58,22.49,2.23,65.00\r\n"
     "2026-08-31T20:00,170.00,64.00,,,,,63.58,22.14,-3.33,64.90\r\n",
     ",傾向 体重(kg)"},
    {"no step without a fat percentage",
     {{kFull, kShort, kNoDate}, {false, true, false}},
     kFatPercent,
     "2026-08-30T20:00,170.00,65.00,20.00,13.00,52.00,38.06,63.58,22.49,2.23,20.00\r\n"
     "2026-08-31T20:00,170.00,64.00,,,,,63.58,22.14,-3.33,\r\n"
     ",170.00,66.00,20.00,13.20,52.80,38.65,63.58,22.84,3.80,20.00\r\n",
     ",傾向 脂肪率(%)"},
    {"a byte order mark for spreadsheets",
     {{kNoDate}, {false}},
     std::nullopt,
     ",170.00,66.00,20.00,13.20,52.80,38.65,63.58,22.84,3.80\r\n",
     "",
     ByteOrderMark::With},
};
class Csv : public ::testing::TestWithParam<CsvCase> {};

} // namespace

TEST_P(Csv, HasAHeaderAndOneLinePerRecordAsTheGridShowsIt) {
    const LocalTime now{2026, 9, 1, 7, 30};
    const std::string mark = GetParam().mark == ByteOrderMark::With ? "\xEF\xBB\xBF" : "";
    EXPECT_EQ(HistoryCsv(GetParam().log, now, GetParam().trend, GetParam().mark),
              mark + kHeader + GetParam().trendHeader + "\r\n" + GetParam().rows);
}
INSTANTIATE_TEST_SUITE_P(Every, Csv, ::testing::ValuesIn(kCsv), ByName());

TEST(Csv, QuotesOnlyWhatWouldBreakAField) {
    EXPECT_EQ(CsvField("体重(kg)"), "体重(kg)");
    EXPECT_EQ(CsvField("<b>=1+1</b>"), "<b>=1+1</b>");
    EXPECT_EQ(CsvField("a,b"), "\"a,b\"");
    EXPECT_EQ(CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(CsvField("two\r\nlines"), "\"two\r\nlines\"");
}
