// Every way a save or a load can fail, driven through the main window's
// commands. A failed save keeps the earlier bytes of the log, warns, claims
// no success and keeps the measurement on display for another try; a close
// then stays open without writing the targets and a graph loads nothing. A
// load gives a clear message or the records before the fault, never a hang.

#include "support/Cases.h"
#include "support/MainFixture.h"
#include "support/fakes/FaultyFileSystem.h"
#include "support/fakes/WorkedExample.h"

#include <cerrno>
#include <filesystem>
#include <functional>
#include <tuple>

using namespace vorn;
using namespace vorn::test;
using Op = FaultyFileSystem::Op;

namespace {

const char* const kSaved = "正常に保存致しました";
const char* const kWarning = "警告ﾍﾙﾌﾟ";
const char* const kNotice = "注意ﾍﾙﾌﾟ";

std::string Records(int n) {
    std::string s;
    for (int i = 0; i < n; ++i)
        s += kWorkedLine;
    return s;
}

using Inject = std::function<void(FaultyFileSystem&)>;
Inject Fail(Op op, int nth, int err) {
    return [=](FaultyFileSystem& f) { f.failOn(op, nth, err); };
}
Inject ShortWrite(std::size_t bytes) {
    return [=](FaultyFileSystem& f) { f.shortWriteOn(1, bytes); };
}
Inject Then(Inject first, Inject second) {
    return [=](FaultyFileSystem& f) {
        first(f);
        second(f);
    };
}

enum class Command { Save, Close, Graph };
// What a failed save leaves after the earlier bytes: nothing, the new line
// (only a close failed), or perhaps some of it, which the warning mentions.
enum class Left { Nothing, Remnant, TheLine };
struct SaveFault {
    const char* name;
    Inject inject;
    Left left;
};
const SaveFault kSaveFaults[] = {
    {"open refused", Fail(Op::Open, 1, EACCES), Left::Nothing},
    {"lock refused", Fail(Op::Lock, 1, ENOLCK), Left::Nothing},
    {"size unknown", Fail(Op::Size, 1, EIO), Left::Nothing},
    {"end unreadable", Fail(Op::ReadAt, 1, EIO), Left::Nothing},
    {"disk full", Fail(Op::Write, 1, ENOSPC), Left::Nothing},
    {"quota exceeded", Fail(Op::Write, 1, EDQUOT), Left::Nothing},
    {"short write", ShortWrite(10), Left::Nothing},
    {"nothing written", ShortWrite(0), Left::Nothing},
    {"short write, then no cut", Then(ShortWrite(10), Fail(Op::Truncate, 1, EIO)), Left::Remnant},
    {"short write, then size unknown", Then(ShortWrite(10), Fail(Op::Size, 2, EIO)), Left::Remnant},
    {"sync fails", Fail(Op::Sync, 1, EIO), Left::Nothing},
    {"sync fails, then no cut", Then(Fail(Op::Sync, 1, EIO), Fail(Op::Truncate, 1, EIO)),
     Left::Remnant},
    {"close fails", Fail(Op::Close, 1, EIO), Left::Nothing},
};

struct SavingCommandFault : FlowFixture,
                            ::testing::WithParamInterface<std::tuple<Command, SaveFault>> {
    // Runs the command, which saves the measurement on display to the log.
    void run(Command k) {
        files.saveAnswers.push_back(log);
        if (k != Command::Save)
            prompter.answers.push_back(mb::IDYES);
        k == Command::Save    ? c->Button4Click()
        : k == Command::Close ? c->Button1Click()
                              : c->Button5Click();
    }
};
std::string SavingCommandName(const ::testing::TestParamInfo<SavingCommandFault::ParamType>& p) {
    const Command k = std::get<0>(p.param);
    return std::string(k == Command::Save    ? "save_"
                       : k == Command::Close ? "close_"
                                             : "graph_") +
           CaseName(std::get<1>(p.param).name);
}

} // namespace

TEST_P(SavingCommandFault, KeepsTheLogAndTheMeasurement) {
    const auto& [k, fault] = GetParam();
    const std::string earlier = Records(2);
    Spit(log, earlier);
    graph.setHistoryRowCount(7);
    FaultyFileSystem faulty(posix);
    fault.inject(faulty);
    useFileSystem(faulty);
    measure("170", "65", "20");
    run(k);

    const std::string after = Slurp(log);
    EXPECT_EQ(after.substr(0, earlier.size()), earlier);
    if (fault.left == Left::Nothing) {
        EXPECT_EQ(after, earlier);
    } else if (fault.left == Left::TheLine) {
        EXPECT_EQ(after, earlier + kWorkedLine);
    } else if (after != earlier) {
        EXPECT_TRUE(said("書きかけの行")) << "a part line left unmentioned";
    }
    // The warning, after the question of a close or a graph.
    EXPECT_EQ(prompter.shown.size(), k == Command::Save ? 1u : 2u);
    ASSERT_EQ(boxes(kWarning), 1);
    EXPECT_NE(prompter.shown.back().text.find(log), std::string::npos);
    EXPECT_EQ(prompter.shown.back().caption, kWarning);
    EXPECT_FALSE(said(kSaved));
    expectDisplayKept();
    EXPECT_EQ(faulty.openHandles(), 0u);
    EXPECT_EQ(view.closed, 0);
    EXPECT_EQ(settings.writes, 0);
    EXPECT_EQ(graphView.shown, 0);
    EXPECT_EQ(files.openCalls, 0);
    EXPECT_EQ(faulty.calls(Op::Read), 0);
    EXPECT_EQ(graph.historyRowCount(), 7);

    // The measurement is still there to be saved once the file works, but
    // never glued to a part line left behind: that file is refused.
    useFileSystem(posix);
    forget();
    run(k);
    const std::string retried = Slurp(log);
    if (after != earlier + kWorkedLine && after != earlier) {
        EXPECT_EQ(retried, after);
        EXPECT_TRUE(said("記録ファイルとして読めません"));
        EXPECT_FALSE(said(kSaved));
        EXPECT_EQ(shown(MainCtl::Lb_ft), "2.23");
        return;
    }
    EXPECT_EQ(retried.substr(0, after.size()), after);
    EXPECT_EQ(retried.substr(after.size()), kWorkedLine);
    EXPECT_TRUE(said(kSaved));
    EXPECT_EQ(shown(MainCtl::Lb_ft), "--.--");
    EXPECT_EQ(view.closed, k == Command::Close ? 1 : 0);
    EXPECT_EQ(settings.writes, (k == Command::Close ? 9 : 0) + 1);
    EXPECT_EQ(graphView.shown, k == Command::Graph ? 1 : 0);
    if (k == Command::Graph && fault.left != Left::Remnant) {
        EXPECT_EQ(graph.historyRowCount(), fault.left == Left::TheLine ? 5 : 4);
    }
}
INSTANTIATE_TEST_SUITE_P(Every, SavingCommandFault,
                         ::testing::Combine(::testing::Values(Command::Save, Command::Close,
                                                              Command::Graph),
                                            ::testing::ValuesIn(kSaveFaults)),
                         SavingCommandName);

namespace {

// The name chosen in the open dialog, made in the log's folder when need be.
using Choice = std::function<std::string(const std::string& dir)>;
Choice At(const std::string& path) {
    return [=](const std::string&) { return path; };
}
Choice In(const std::string& name) {
    return [=](const std::string& dir) { return dir + "/" + name; };
}
Choice Made(const std::string& name, std::function<std::string()> bytes) {
    return [=](const std::string& dir) {
        Spit(dir + "/" + name, bytes());
        return dir + "/" + name;
    };
}
const Choice kRecords = Made("records.txt", [] { return Records(2); });
// Several chunks, so that a later read can fail.
const Choice kBig = Made("big.txt", [] {
    std::string big;
    for (int i = 0; i < 999; ++i)
        big += kWorkedLine.substr(0, kWorkedLine.size() - 1) + std::string(200, ' ') + "\n";
    return big;
});

struct BadLog {
    const char* name;
    Choice choice;
    Inject inject;
    bool removeAfterChoice;
    // Expected: a warning and nothing loaded (rows < 0), or the window with
    // this many rows and, unless empty, a notice saying this.
    int rows;
    std::string notice;
    int maxReads; // 0: not counted
};
const BadLog kBadLogs[] = {
    {"a missing file", In("missing.txt"), nullptr, false, -1, "", 0},
    {"a folder", [](const std::string& dir) { return dir; }, nullptr, false, -1, "", 0},
    {"removed after the choice", Made("gone.txt", [] { return Records(2); }), nullptr, true, -1, "",
     0},
    {"open refused", kRecords, Fail(Op::Open, 1, EACCES), false, -1, "", 0},
    {"first read fails", kRecords, Fail(Op::Read, 1, EIO), false, -1, "", 0},
    {"a later read fails", kBig, Fail(Op::Read, 2, EIO), false, -1, "", 0},
    {"close fails after reading", kRecords, Fail(Op::Close, 1, EIO), false, 3, "", 0},
    // Only regular files are read: no endless stream, no wait for a writer.
    {"an empty device", At("/dev/null"), nullptr, false, -1, "", 0},
    {"an endless stream of NUL bytes", At("/dev/zero"), nullptr, false, -1, "", 0},
    {"a FIFO without a writer", In("fifo"), nullptr, false, -1, "", 0},
    {"a FIFO whose writer sends nothing", In("held"), nullptr, false, -1, "", 0},
    {"binary garbage", Made("garbage.txt", [] { return RandomBytes(1 << 20, 830); }), nullptr,
     false, 1, "中止", 1},
    {"records, then NUL bytes",
     Made("nul.txt", [] { return Records(2) + std::string(1 << 20, '\0'); }), nullptr, false, 3,
     "2 件", 1},
    {"records, then garbage",
     Made("mixed.txt", [] { return Records(2) + RandomBytes(1 << 20, 830); }), nullptr, false, 3,
     "2 件", 1},
    {"one huge line", Made("line.txt", [] { return std::string(16 << 20, '1'); }), nullptr, false,
     1, "数値でない", 1},
    {"a huge valid log", Made("huge.txt", [] { return Records(200000); }), nullptr, false, 1000,
     "（それより前の 199001 件は表示しません）", 0},
    {"a record cut short", Made("short.txt", [] { return Records(2) + "123 4.5 6"; }), nullptr,
     false, 3, "途中で終わって", 0},
};
struct BadLogFile : FlowFixture, ::testing::WithParamInterface<BadLog> {};

} // namespace

TEST_P(BadLogFile, IsRefusedOrLoadedUpToTheFault) {
    const BadLog& k = GetParam();
    const TestFifos fifos(dir);
    ASSERT_GE(fifos.peer, 0);
    graph.setHistoryRowCount(7);
    history.at(0, 1) = -1;
    const std::string chosen = k.choice(dir);
    FaultyFileSystem faulty(posix);
    if (k.inject)
        k.inject(faulty);
    useFileSystem(faulty);
    if (k.removeAfterChoice)
        files.afterOpen = [](const std::string& name) { std::filesystem::remove(name); };
    files.openAnswers.push_back(chosen);
    c->Button5Click();

    EXPECT_EQ(logFilePath, chosen);
    EXPECT_EQ(faulty.openHandles(), 0u);
    if (k.maxReads > 0) {
        EXPECT_LE(faulty.calls(Op::Read), k.maxReads);
    }
    if (k.rows < 0) {
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_EQ(prompter.shown[0].caption, kWarning);
        EXPECT_NE(prompter.shown[0].text.find(chosen), std::string::npos);
        EXPECT_EQ(graphView.shown, 0);
        EXPECT_EQ(graph.historyRowCount(), 7);
        EXPECT_EQ(history.at(0, 1), -1);
        return;
    }
    EXPECT_EQ(graphView.shown, 1);
    EXPECT_EQ(graph.historyRowCount(), k.rows);
    if (k.rows > 1) {
        EXPECT_EQ(graphView.cell(1, k.rows - 1), "083020");
    }
    if (k.notice.empty()) {
        EXPECT_TRUE(prompter.shown.empty());
    } else {
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_EQ(prompter.shown[0].caption, kNotice);
        EXPECT_NE(prompter.shown[0].text.find(k.notice), std::string::npos)
            << prompter.shown[0].text;
    }
}
INSTANTIATE_TEST_SUITE_P(Every, BadLogFile, ::testing::ValuesIn(kBadLogs), ByName());

using Faults = FlowFixture;

TEST_F(Faults, ARememberedLogRemovedSinceIsReported) {
    Spit(log, Records(2));
    files.openAnswers.push_back(log);
    c->Button5Click();
    ASSERT_EQ(graphView.shown, 1);
    std::filesystem::remove(log);

    forget();
    measure("170", "65", "20");
    prompter.answers.push_back(mb::IDNO); // not saved: load the log chosen before
    c->Button5Click();
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[1].caption, kWarning);
    EXPECT_NE(prompter.shown[1].text.find(log), std::string::npos);
    EXPECT_EQ(files.openCalls, 0);
    EXPECT_EQ(graphView.shown, 0);
    EXPECT_EQ(graph.historyRowCount(), 3);
    EXPECT_EQ(shown(MainCtl::Lb_ft), "2.23");
    EXPECT_FALSE(std::filesystem::exists(log)); // a load creates nothing
}
