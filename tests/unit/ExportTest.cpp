// Exports land whole or not at all, and their text carries what the log
// holds only as text.

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
