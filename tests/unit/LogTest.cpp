// Tests of the log line format and of appending to a log file.

#include "core/Errors.h"
#include "log/LogError.h"
#include "log/LogFileSystem.h"
#include "log/LogReader.h"
#include "log/LogRecord.h"
#include "log/LogWriter.h"
#include "log/PosixFileSystem.h"
#include "support/Cases.h"
#include "support/TestHome.h"
#include "support/fakes/FaultyFileSystem.h"
#include "support/fakes/WorkedExample.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vorn;
using namespace vorn::test;
using Op = FaultyFileSystem::Op;

namespace {

RecordValues widened(std::initializer_list<float> v) {
    RecordValues r{};
    std::size_t i = 0;
    for (float f : v)
        r[i++] = static_cast<double>(f);
    return r;
}

// The worked example: 170 cm, 65 kg, 20 %, stamp 083020.
const RecordValues kExample = widened({170, 65, 20, 13, 52, 38.06f, 63.58f, 22.49f, 2.23f});
const std::string kExampleShort =
    " 83020 170.00 65.00 000.00 000.00 000.00 000.00 63.58 22.49  2.23\n";

// What C's printf makes of the record in the C locale.
std::string printfRecord(int stamp, const RecordValues& v, bool full) {
    char buf[512];
    if (full)
        std::snprintf(buf, sizeof buf,
                      "%6d %5.2lf %5.2lf %5.2lf %5.2lf %5.2lf %5.2lf %5.2lf %4.2lf %5.2lf\n", stamp,
                      v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]);
    else
        std::snprintf(buf, sizeof buf,
                      "%6d %5.2lf %5.2lf 000.00 000.00 000.00 000.00 %5.2lf %4.2lf %5.2lf\n", stamp,
                      v[0], v[1], v[6], v[7], v[8]);
    return buf;
}

} // namespace

TEST(FormatRecord, WritesTheLineByteForByte) {
    struct Case {
        int stamp;
        RecordValues values;
        bool full;
        std::string line;
    } cases[] = {
        {83020, kExample, true, kWorkedLine},
        {83020, kExample, false, kExampleShort},
        // November: six digits; BMI below 10 gets no padding; -20.10 is six wide.
        {112309, widened({190, 34.3f, 0, 0, 0, 0, 79.42f, 9.5f, -20.1f}), false,
         "112309 190.00 34.30 000.00 000.00 000.00 000.00 79.42 9.50 -20.10\n"},
        {10100, widened({99.5f, 5, 3.5f, 0.18f, 4.82f, 3.53f, 21.78f, 5.05f, -77.04f}), true,
         " 10100 99.50  5.00  3.50  0.18  4.82  3.53 21.78 5.05 -77.04\n"},
        // The short form ignores the fat fields, even values it could not print.
        {123123,
         {170, 65, NAN, INFINITY, NAN, -INFINITY, 63.58, 22.49, 2.23},
         false,
         "123123 170.00 65.00 000.00 000.00 000.00 000.00 63.58 22.49  2.23\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatRecord(c.stamp, c.values, c.full), c.line) << c.line;
}

TEST(FormatRecord, AgreesWithPrintfInTheCLocale) {
    std::mt19937 gen(20240830);
    std::uniform_real_distribution<float> any(-1000.0f, 1000.0f);
    std::vector<float> edge = {0.0f,    -0.0f,   0.005f,   0.015f,  0.125f, -0.004f,
                               9.995f,  99.995f, 999.995f, 1e7f,    -1e7f,  2.345f,
                               22.485f, 1.0e-3f, 5e-5f,    -9.999f, 3.4e38f};
    for (int i = 0; i < 2000; ++i)
        edge.push_back(any(gen));
    for (std::size_t i = 0; i + kQuantityCount <= edge.size(); i += 3) {
        RecordValues v{};
        for (int q = 0; q < kQuantityCount; ++q)
            v[static_cast<std::size_t>(q)] =
                static_cast<double>(edge[i + static_cast<std::size_t>(q)]);
        const int stamp = static_cast<int>(i * 97 % 130000);
        for (bool full : {true, false})
            ASSERT_EQ(FormatRecord(stamp, v, full), printfRecord(stamp, v, full));
    }
}

TEST(FormatRecord, IgnoresACommaLocale) {
    const std::string old = std::setlocale(LC_ALL, nullptr);
    const char* found = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "de_DE"})
        if (std::setlocale(LC_ALL, name)) {
            found = name;
            break;
        }
    if (!found)
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    const std::string full = FormatRecord(83020, kExample, true);
    const std::string shortForm = FormatRecord(83020, kExample, false);
    std::setlocale(LC_ALL, old.c_str());
    EXPECT_EQ(full, kWorkedLine) << found;
    EXPECT_EQ(shortForm, kExampleShort) << found;
}

TEST(FormatRecord, RefusesAValueThatCouldNotBeReadBack) {
    // A typed height of 1e39 becomes an infinite float.
    for (double bad : {static_cast<double>(INFINITY), -static_cast<double>(INFINITY),
                       std::numeric_limits<double>::quiet_NaN()})
        for (int q : {kHeight, kWaterMass, kBmi, kObesityDegree}) {
            RecordValues v = kExample;
            v[static_cast<std::size_t>(q)] = bad;
            EXPECT_THROW(FormatRecord(83020, v, true), ConvertError) << q << " " << bad;
        }
}

class AppendRecordTest : public ::testing::Test {
protected:
    std::string dir = MakeTempDir("append");
    PosixFileSystem posix;
};

TEST_F(AppendRecordTest, CreatesTheFileThenAddsAtTheEndOnly) {
    const std::string path = dir + "/data.txt";
    AppendRecord(posix, path, kWorkedLine);
    EXPECT_EQ(Slurp(path), kWorkedLine);
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    const mode_t mask = umask(022);
    umask(mask);
    EXPECT_EQ(st.st_mode & 0777, 0644u & ~mask);
    AppendRecord(posix, path, kExampleShort);
    EXPECT_EQ(Slurp(path), kWorkedLine + kExampleShort);
}

namespace {
const std::string kRecord = kWorkedLine.substr(0, kWorkedLine.size() - 1);
// More than a few KiB of whole records after a line end, and no line end.
const std::string kLongLastLine = [] {
    std::string s = kExampleShort + "\n";
    for (int k = 0; k < 100; ++k)
        s += kRecord + " ";
    return s;
}();
struct LastLine {
    const char* name;
    std::string before;
    bool refused;
    std::string added; // what goes after `before` when not refused
};
struct AppendAfter : AppendRecordTest, ::testing::WithParamInterface<LastLine> {};
const LastLine kLastLines[] = {
    {"line end", kWorkedLine, false, kWorkedLine},
    {"CR LF and blanks", kWorkedLine + "\r\n \t\r\n", false, kWorkedLine},
    {"blanks, no line end", kWorkedLine + "  ", false, kWorkedLine},
    {"a record, no line end", kExampleShort + kRecord, false, "\n" + kWorkedLine},
    {"two records, no line end", kRecord + " " + kRecord, false, "\n" + kWorkedLine},
    {"cut inside a record", kWorkedLine + kRecord.substr(0, 20), true, ""},
    {"cut, then a line end", kWorkedLine + kRecord.substr(0, 20) + "\n", true, ""},
    {"cut, then blank lines", kRecord.substr(0, 20) + "\n\n" + kWorkedLine, true, ""},
    {"a record over two lines", kRecord.substr(0, 31) + "\n" + kRecord.substr(31), false,
     "\n" + kWorkedLine},
    {"no number far back", "x\n" + kWorkedLine + kWorkedLine, true, ""},
    {"one field too many", kRecord + " 1", true, ""},
    {"NUL bytes after a line end", kWorkedLine + std::string(4, '\0'), true, ""},
    {"a NUL inside a line", std::string("1\0 2\n", 5) + kWorkedLine, true, ""},
    // The last line reaches back past the first block read.
    {"a long last line", kLongLastLine, false, "\n" + kWorkedLine},
    {"a long last line, cut", kLongLastLine + "1 2", true, ""},
    {"no line end in 64 KiB", std::string(70000, '1'), true, ""},
};
} // namespace

TEST_P(AppendAfter, LooksAtTheLastLineBeforeWriting) {
    const LastLine& c = GetParam();
    const std::string path = dir + "/data.txt";
    Spit(path, c.before);
    const std::string error = ErrorText<LogError>([&] { AppendRecord(posix, path, kWorkedLine); });
    if (c.refused) {
        // The reason names the place where the history's reading stops.
        const std::string place = StopPlace(ReadWholeLog(posix, path).result);
        EXPECT_EQ(
            error.rfind("ファイル「" + path + "」に保存できませんでした。\n理由: " + place, 0), 0u)
            << error;
    } else {
        EXPECT_EQ(error, "");
    }
    EXPECT_EQ(Slurp(path), c.before + c.added);
}
INSTANTIATE_TEST_SUITE_P(Every, AppendAfter, ::testing::ValuesIn(kLastLines), ByName());

namespace {
const std::string kEarlier = kWorkedLine + kExampleShort;
const std::string kEio = "ディスクの読み書きでエラーが発生しました";
const std::optional<std::string> kGone; // the file is not there afterwards
struct AppendFault {
    const char* name;
    bool fresh; // the save creates the file
    Op op;
    int err; // 0: a short write of `shortBytes`
    std::size_t shortBytes;
    std::string reason;
    std::optional<std::string> fileAfter;
};
struct FailingAppend : AppendRecordTest, ::testing::WithParamInterface<AppendFault> {};
const AppendFault kAppendFaults[] = {
    {"open", false, Op::Open, EACCES, 0, "書き込みが許可されていません", kEarlier},
    {"lock", false, Op::Lock, ENOLCK, 0, "ファイルをロックできません", kEarlier},
    {"identity", false, Op::IsAt, EIO, 0, kEio, kEarlier},
    {"size", false, Op::Size, EIO, 0, kEio, kEarlier},
    {"tail", false, Op::ReadAt, EIO, 0, kEio, kEarlier},
    {"write", false, Op::Write, ENOSPC, 0, "ディスクがいっぱいです", kEarlier},
    {"short write", false, Op::Write, 0, 20, "途中までしか書き込めませんでした", kEarlier},
    {"empty write", false, Op::Write, 0, 0, "書き込めませんでした", kEarlier},
    {"fsync", false, Op::Sync, EIO, 0, kEio, kEarlier},
    // A file the save made goes again while empty, or stays empty.
    {"new, lock", true, Op::Lock, ENOLCK, 0, "ファイルをロックできません", ""},
    {"new, write", true, Op::Write, EDQUOT, 0, "ディスクの使用量の上限（クォータ）を超えています",
     kGone},
    {"new, short write", true, Op::Write, 0, 20, "途中までしか書き込めませんでした", kGone},
    {"new, fsync", true, Op::Sync, EIO, 0, kEio, kGone},
    {"new, folder sync", true, Op::SyncFolder, EIO, 0, kEio, kGone},
    {"new, not removed", true, Op::Remove, EIO, 0, kEio, ""},
    {"close", false, Op::Close, EIO, 0, kEio, kEarlier},
    {"new, close", true, Op::Close, EIO, 0, kEio, kGone},
};
} // namespace

TEST_P(FailingAppend, RaisesAndAddsNothing) {
    const AppendFault& c = GetParam();
    const std::string path = dir + "/data.txt";
    if (!c.fresh)
        Spit(path, kEarlier);
    FaultyFileSystem fs(posix);
    if (c.op == Op::Remove) // the write fails, then so does the removal
        fs.failOn(Op::Write, 1, EIO);
    if (c.err)
        fs.failOn(c.op, 1, c.err);
    else
        fs.shortWriteOn(1, c.shortBytes);
    EXPECT_EQ(ErrorText<LogError>([&] { AppendRecord(fs, path, kWorkedLine); }),
              "ファイル「" + path + "」に保存できませんでした。\n理由: " + c.reason);
    if (c.fileAfter) {
        EXPECT_EQ(Slurp(path), *c.fileAfter);
    } else {
        EXPECT_FALSE(std::filesystem::exists(path));
    }
    EXPECT_EQ(fs.openHandles(), 0u);
    EXPECT_EQ(fs.strayCloses(), 0);
}
INSTANTIATE_TEST_SUITE_P(Every, FailingAppend, ::testing::ValuesIn(kAppendFaults), ByName());

TEST_F(AppendRecordTest, SaysSoWhenAPartialLineCouldNotBeRemoved) {
    const std::string path = dir + "/partial.txt";
    Spit(path, kWorkedLine);
    FaultyFileSystem fs(posix);
    fs.shortWriteOn(1, 7);
    fs.failOn(Op::Truncate, 1, EIO);
    const std::string error = ErrorText<LogError>([&] { AppendRecord(fs, path, kExampleShort); });
    EXPECT_NE(error.find("書きかけの行が残っている"), std::string::npos) << error;
    EXPECT_EQ(Slurp(path), kWorkedLine + kExampleShort.substr(0, 7));
    EXPECT_EQ(fs.openHandles(), 0u);
}

TEST_F(AppendRecordTest, RealFailuresRaiseWithTheReason) {
    // Only regular files are written to, at once, whether or not another
    // program holds the other end of a FIFO.
    const TestFifos fifos(dir);
    ASSERT_GE(fifos.peer, 0);
    const std::string notAFile = "デバイスや名前付きパイプなどで、普通のファイルではありません";
    struct Case {
        std::string path;
        std::string reason;
    } cases[] = {
        {"/dev/full", notAFile},
        {"/dev/null", notAFile},
        {fifos.lone, notAFile},
        {fifos.held, notAFile},
        {dir, "フォルダーです"},
        {dir + "/missing/data.txt", "ファイルまたはフォルダーが見つかりません"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ErrorText<LogError>([&] { AppendRecord(posix, c.path, kWorkedLine); }),
                  "ファイル「" + c.path + "」に保存できませんでした。\n理由: " + c.reason);
    char byte = 0;
    EXPECT_EQ(::read(fifos.peer, &byte, 1), -1) << "something went into the FIFO";
}

// Another program appending to the same log waits for the lock until this
// one has cut its partial line off again, then adds its whole record.
TEST_F(AppendRecordTest, AnotherAppendWaitsUntilAnUndoIsDone) {
    const std::string path = dir + "/shared.txt";
    Spit(path, kWorkedLine);
    FaultyFileSystem fs(posix);
    fs.shortWriteOn(1, 20);
    pid_t other = -1;
    fs.before(Op::Truncate, 1, [&] {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        other = fork();
        if (other == 0) {
            // Not this append's descriptor: sharing it would share its lock.
            for (int fd = 3; fd < 1024; ++fd)
                if (fd != ready[1])
                    ::close(fd);
            const bool started = ::write(ready[1], "x", 1) == 1;
            PosixFileSystem own;
            try {
                AppendRecord(own, path, kExampleShort);
            } catch (const LogError&) {
                _exit(1);
            }
            _exit(started ? 0 : 2);
        }
        ::close(ready[1]);
        char byte = 0;
        EXPECT_EQ(::read(ready[0], &byte, 1), 1);
        ::close(ready[0]);
        // Time enough for the other append to reach the file, were it free.
        usleep(300 * 1000);
    });
    EXPECT_THROW(AppendRecord(fs, path, kWorkedLine), LogError);
    ASSERT_GT(other, 0);
    int status = -1;
    ASSERT_EQ(waitpid(other, &status, 0), other);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(Slurp(path), kWorkedLine + kExampleShort);
}

// Say another append created the file, failed and removed it while this one
// waited for the lock: the record goes into a file of that name, not into
// the removed one.
TEST_F(AppendRecordTest, AFileRemovedBeforeTheLockIsOpenedAgain) {
    const std::string path = dir + "/data.txt";
    Spit(path, kExampleShort);
    FaultyFileSystem fs(posix);
    fs.before(Op::Lock, 1, [&] { std::filesystem::remove(path); });
    AppendRecord(fs, path, kWorkedLine);
    EXPECT_EQ(Slurp(path), kWorkedLine);
    EXPECT_EQ(fs.calls(Op::Open), 2);
    EXPECT_EQ(fs.openHandles(), 0u);
}

TEST(ErrnoReason, JapaneseForEveryErrno) {
    for (int err = 0; err < 256; ++err)
        for (bool writing : {true, false}) {
            const std::string reason = ErrnoReason(err, writing);
            EXPECT_FALSE(reason.empty()) << err;
            EXPECT_TRUE(
                std::none_of(reason.begin(), reason.end(),
                             [](char ch) { return std::isalpha(static_cast<unsigned char>(ch)); }))
                << err << ": " << reason;
        }
    // The common ones have words of their own, not the numbered fallback.
    for (int err : {EIO,       ENXIO,   ENOSPC,  EDQUOT,    EACCES,       EPERM,    EROFS,  ENOENT,
                    EISDIR,    ENOTDIR, EEXIST,  ELOOP,     ENAMETOOLONG, EMFILE,   ENFILE, EFBIG,
                    EINTR,     EAGAIN,  ESTALE,  ETXTBSY,   EBADF,        EINVAL,   ENODEV, ENOMEM,
                    EOVERFLOW, EBUSY,   EUCLEAN, ENOMEDIUM, ENOLCK,       ETIMEDOUT})
        EXPECT_EQ(ErrnoReason(err, true).find("エラー番号"), std::string::npos) << err;
}

TEST_F(AppendRecordTest, AReadOnlyFolderIsRefused) {
    if (geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop root (EACCES is covered with a fault)";
    const std::string locked = dir + "/locked";
    ASSERT_EQ(mkdir(locked.c_str(), 0555), 0);
    EXPECT_NE(ErrorText<LogError>([&] {
                  AppendRecord(posix, locked + "/data.txt", kWorkedLine);
              }).find("書き込みが許可されていません"),
              std::string::npos);
}
