// Tests of the log line format and of appending to a log file.

#include "core/Errors.h"
#include "log/LogError.h"
#include "log/LogFileSystem.h"
#include "log/LogRecord.h"
#include "log/LogWriter.h"
#include "log/PosixFileSystem.h"
#include "support/TestHome.h"
#include "support/fakes/FaultyFileSystem.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <random>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vorn;
using Op = test::FaultyFileSystem::Op;

namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void spit(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

RecordValues widened(std::initializer_list<float> v) {
    RecordValues r{};
    std::size_t i = 0;
    for (float f : v)
        r[i++] = static_cast<double>(f);
    return r;
}

// The worked example: 170 cm, 65 kg, 20 %, stamp 083020.
const RecordValues kExample = widened({170, 65, 20, 13, 52, 38.06f, 63.58f, 22.49f, 2.23f});
const std::string kExampleFull = " 83020 170.00 65.00 20.00 13.00 52.00 38.06 63.58 22.49  2.23\n";
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
        {83020, kExample, true, kExampleFull},
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
    EXPECT_EQ(full, kExampleFull) << found;
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
    void SetUp() override { dir = test::MakeTempDir("append"); }
    std::string dir;
    PosixFileSystem posix;
};

TEST_F(AppendRecordTest, CreatesTheFileThenAddsAtTheEndOnly) {
    const std::string path = dir + "/data.txt";
    AppendRecord(posix, path, kExampleFull);
    EXPECT_EQ(slurp(path), kExampleFull);
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    const mode_t mask = umask(022);
    umask(mask);
    EXPECT_EQ(st.st_mode & 0777, 0644u & ~mask);
    AppendRecord(posix, path, kExampleShort);
    EXPECT_EQ(slurp(path), kExampleFull + kExampleShort);
}

TEST_F(AppendRecordTest, LooksAtTheLastLineBeforeWriting) {
    const std::string record = kExampleFull.substr(0, kExampleFull.size() - 1);
    std::string longLine; // more than a few KiB of whole records, no line end
    for (int k = 0; k < 100; ++k)
        longLine += record + " ";
    const std::string head = kExampleShort + "\n";
    struct Case {
        const char* name;
        std::string before;
        bool refused;
        std::string added; // what goes after `before` when not refused
    } cases[] = {
        {"line end", kExampleFull, false, kExampleFull},
        {"CR LF and blanks", kExampleFull + "\r\n \t\r\n", false, kExampleFull},
        {"blanks, no line end", kExampleFull + "  ", false, kExampleFull},
        {"a record, no line end", kExampleShort + record, false, "\n" + kExampleFull},
        {"two records, no line end", record + " " + record, false, "\n" + kExampleFull},
        {"cut inside a record", kExampleFull + record.substr(0, 20), true, ""},
        {"one field too many", record + " 1", true, ""},
        {"NUL bytes after a line end", kExampleFull + std::string(4, '\0'), true, ""},
        {"a NUL inside a line", std::string("1\0 2\n", 5) + kExampleFull, true, ""},
        // The last line reaches back past the first block read.
        {"a long last line", head + longLine, false, "\n" + kExampleFull},
        {"a long last line, cut", head + longLine + "1 2", true, ""},
        {"no line end in 64 KiB", std::string(70000, '1'), true, ""},
    };
    for (const Case& c : cases) {
        const std::string path = dir + "/" + c.name + ".txt";
        spit(path, c.before);
        try {
            AppendRecord(posix, path, kExampleFull);
            EXPECT_FALSE(c.refused) << c.name;
        } catch (const LogError& e) {
            EXPECT_TRUE(c.refused) << c.name << ": " << e.what();
            EXPECT_EQ(std::string(e.what()).rfind("ファイル「" + path +
                                                      "」に保存できませんでした。\n理由: "
                                                      "ファイルの最後の行が途中で切れているか、"
                                                      "壊れています\nファイルには何も書き込んで"
                                                      "いません。",
                                                  0),
                      0u)
                << e.what();
        }
        EXPECT_EQ(slurp(path), c.before + c.added) << c.name;
    }
}

TEST_F(AppendRecordTest, EveryFailureRaisesAndAddsNothing) {
    const std::string earlier = kExampleFull + kExampleShort;
    const std::string eio = "ディスクの読み書きでエラーが発生しました";
    const std::optional<std::string> gone; // the file is not there afterwards
    struct Case {
        const char* name;
        bool fresh; // the save creates the file
        Op op;
        int nth;
        int err; // 0: a short write of `shortBytes`
        std::size_t shortBytes;
        std::string reason;
        std::optional<std::string> fileAfter;
    } cases[] = {
        {"open", false, Op::Open, 1, EACCES, 0, "書き込みが許可されていません", earlier},
        {"lock", false, Op::Lock, 1, ENOLCK, 0, "ファイルをロックできません", earlier},
        {"identity", false, Op::IsAt, 1, EIO, 0, eio, earlier},
        {"size", false, Op::Size, 1, EIO, 0, eio, earlier},
        {"tail", false, Op::ReadAt, 1, EIO, 0, eio, earlier},
        {"write", false, Op::Write, 1, ENOSPC, 0, "ディスクがいっぱいです", earlier},
        {"short write", false, Op::Write, 1, 0, 20, "途中までしか書き込めませんでした", earlier},
        {"empty write", false, Op::Write, 1, 0, 0, "書き込めませんでした", earlier},
        {"fsync", false, Op::Sync, 1, EIO, 0, eio, earlier},
        // A file the save made goes again while empty, or stays empty.
        {"new, lock", true, Op::Lock, 1, ENOLCK, 0, "ファイルをロックできません", ""},
        {"new, write", true, Op::Write, 1, EDQUOT, 0,
         "ディスクの使用量の上限（クォータ）を超えています", gone},
        {"new, short write", true, Op::Write, 1, 0, 20, "途中までしか書き込めませんでした", gone},
        {"new, fsync", true, Op::Sync, 1, EIO, 0, eio, gone},
        {"new, folder sync", true, Op::SyncFolder, 1, EIO, 0, eio, gone},
        {"new, not removed", true, Op::Remove, 1, EIO, 0, eio, ""},
        // The line is on disk: the user hears that the close failed, and
        // that the record may be there already.
        {"close", false, Op::Close, 1, EIO, 0,
         eio + "\n記録はすでにファイルに書き込まれている可能性があります。"
               "保存し直す前に、ファイルの最後の行を確かめてください。",
         earlier + kExampleFull},
    };
    for (const Case& c : cases) {
        const std::string path = dir + "/" + c.name + ".txt";
        if (!c.fresh)
            spit(path, earlier);
        test::FaultyFileSystem fs(posix);
        if (c.op == Op::Remove) // the write fails, then so does the removal
            fs.failOn(Op::Write, 1, EIO);
        if (c.err)
            fs.failOn(c.op, c.nth, c.err);
        else
            fs.shortWriteOn(c.nth, c.shortBytes);
        try {
            AppendRecord(fs, path, kExampleFull);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const LogError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "ファイル「" + path + "」に保存できませんでした。\n理由: " + c.reason)
                << c.name;
        }
        if (c.fileAfter) {
            EXPECT_EQ(slurp(path), *c.fileAfter) << c.name;
        } else {
            EXPECT_FALSE(std::filesystem::exists(path)) << c.name;
        }
        EXPECT_EQ(fs.openHandles(), 0u) << c.name;
        EXPECT_EQ(fs.strayCloses(), 0) << c.name;
    }
}

TEST_F(AppendRecordTest, SaysSoWhenAPartialLineCouldNotBeRemoved) {
    const std::string path = dir + "/partial.txt";
    spit(path, kExampleFull);
    test::FaultyFileSystem fs(posix);
    fs.shortWriteOn(1, 7);
    fs.failOn(Op::Truncate, 1, EIO);
    try {
        AppendRecord(fs, path, kExampleShort);
        ADD_FAILURE() << "no error";
    } catch (const LogError& e) {
        EXPECT_NE(std::string(e.what()).find("書きかけの行が残っている"), std::string::npos)
            << e.what();
    }
    EXPECT_EQ(slurp(path), kExampleFull + kExampleShort.substr(0, 7));
    EXPECT_EQ(fs.openHandles(), 0u);
}

TEST_F(AppendRecordTest, RealFailuresRaiseWithTheReason) {
    // Only regular files are written to, at once, whether or not another
    // program holds the other end of a FIFO.
    const std::string fifo = dir + "/fifo";
    const std::string heldFifo = dir + "/held";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    ASSERT_EQ(mkfifo(heldFifo.c_str(), 0644), 0);
    const int reader = ::open(heldFifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const std::string notAFile = "デバイスや名前付きパイプなどで、普通のファイルではありません";
    struct Case {
        std::string path;
        std::string reason;
    } cases[] = {
        {"/dev/full", notAFile},
        {"/dev/null", notAFile},
        {fifo, notAFile},
        {heldFifo, notAFile},
        {dir, "フォルダーです"},
        {dir + "/missing/data.txt", "ファイルまたはフォルダーが見つかりません"},
    };
    for (const Case& c : cases) {
        try {
            AppendRecord(posix, c.path, kExampleFull);
            ADD_FAILURE() << c.path << ": no error";
        } catch (const LogError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "ファイル「" + c.path + "」に保存できませんでした。\n理由: " + c.reason);
        }
    }
    char byte = 0;
    EXPECT_EQ(::read(reader, &byte, 1), 0) << "something went into the FIFO";
    ::close(reader);
}

// Another program appending to the same log waits for the lock until this
// one has cut its partial line off again, then adds its whole record.
TEST_F(AppendRecordTest, AnotherAppendWaitsUntilAnUndoIsDone) {
    const std::string path = dir + "/shared.txt";
    spit(path, kExampleFull);
    test::FaultyFileSystem fs(posix);
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
    EXPECT_THROW(AppendRecord(fs, path, kExampleFull), LogError);
    ASSERT_GT(other, 0);
    int status = -1;
    ASSERT_EQ(waitpid(other, &status, 0), other);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(slurp(path), kExampleFull + kExampleShort);
}

// Say another append created the file, failed and removed it while this one
// waited for the lock: the record goes into a file of that name, not into
// the removed one.
TEST_F(AppendRecordTest, AFileRemovedBeforeTheLockIsOpenedAgain) {
    const std::string path = dir + "/data.txt";
    spit(path, kExampleShort);
    test::FaultyFileSystem fs(posix);
    fs.before(Op::Lock, 1, [&] { std::filesystem::remove(path); });
    AppendRecord(fs, path, kExampleFull);
    EXPECT_EQ(slurp(path), kExampleFull);
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
    try {
        AppendRecord(posix, locked + "/data.txt", kExampleFull);
        ADD_FAILURE() << "no error";
    } catch (const LogError& e) {
        EXPECT_NE(std::string(e.what()).find("書き込みが許可されていません"), std::string::npos);
    }
}
