// Every way a save or a load can fail, driven through the main window's
// commands. A failed save keeps the earlier bytes of the log, warns, claims
// no success and keeps the measurement on display for another try; a close
// then stays open without writing the targets and a graph loads nothing. A
// load gives a clear message or the records before the fault, never a hang.

#include "log/PosixFileSystem.h"
#include "support/MainFixture.h"
#include "support/TestHome.h"
#include "support/fakes/FaultyFileSystem.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace vorn;
using namespace vorn::test;
using Op = FaultyFileSystem::Op;

namespace {

const std::string kLine = " 83020 170.00 65.00 20.00 13.00 52.00 38.06 63.58 22.49  2.23\n";
const char* const kSaved = "正常に保存致しました";
const char* const kWarning = "警告ﾍﾙﾌﾟ";
const char* const kNotice = "注意ﾍﾙﾌﾟ";

std::string Records(int n) {
    std::string s;
    for (int i = 0; i < n; ++i)
        s += kLine;
    return s;
}

// Answers the dialogs from the fixture's chooser, and runs `afterChoice` on
// a chosen open name before the program gets to read it.
class ChooserWithAftermath : public FileChooser {
public:
    explicit ChooserWithAftermath(FakeFileChooser& inner) : inner_(inner) {}
    std::optional<std::string> chooseSave() override { return inner_.chooseSave(); }
    std::optional<std::string> chooseOpen() override {
        auto chosen = inner_.chooseOpen();
        if (chosen && afterChoice)
            afterChoice(*chosen);
        return chosen;
    }
    std::function<void(const std::string&)> afterChoice;

private:
    FakeFileChooser& inner_;
};

struct Faults : MainFixture {
    std::string dir = MakeTempDir("faults");
    std::string log = dir + "/data.txt";
    ChooserWithAftermath aftermath{files};

    Faults() {
        chooser = &aftermath;
        useFileSystem(posix);
    }

    void forget() {
        prompter.shown.clear();
        prompter.answers.clear();
        files.saveAnswers.clear();
        files.openAnswers.clear();
        files.openCalls = 0;
        view.closed = 0;
        settings.writes = 0;
        graphView.shown = 0;
        aftermath.afterChoice = nullptr;
    }
    int boxes(const std::string& caption) const {
        int n = 0;
        for (const ShownBox& b : prompter.shown)
            n += b.caption == caption;
        return n;
    }
    bool said(const std::string& words) const {
        for (const ShownBox& b : prompter.shown)
            if (b.text.find(words) != std::string::npos)
                return true;
        return false;
    }
};

enum class Command { Save, Close, Graph };
// What a failed save leaves after the earlier bytes: nothing, the new line
// (only a close failed), or perhaps some of it, which the warning mentions.
enum class Left { Nothing, Remnant, TheLine };
const char* NameOf(Command k) {
    return k == Command::Save ? "save" : k == Command::Close ? "close" : "graph";
}

// Runs a command that saves the measurement on display to `path`.
void SaveThrough(Faults& f, Command k, const std::string& path) {
    f.files.saveAnswers.push_back(path);
    if (k != Command::Save)
        f.prompter.answers.push_back(mb::IDYES);
    switch (k) {
    case Command::Save:
        f.c->Button4Click();
        break;
    case Command::Close:
        f.c->Button1Click();
        break;
    case Command::Graph:
        f.c->Button5Click();
        break;
    }
}

} // namespace

TEST_F(Faults, EveryFailurePointOfEverySavingCommand) {
    struct Fault {
        const char* what;
        std::function<void(FaultyFileSystem&)> inject;
        Left left;
    } faults[] = {
        {"open refused", [](FaultyFileSystem& f) { f.failOn(Op::Open, 1, EACCES); }, Left::Nothing},
        {"lock refused", [](FaultyFileSystem& f) { f.failOn(Op::Lock, 1, ENOLCK); }, Left::Nothing},
        {"size unknown", [](FaultyFileSystem& f) { f.failOn(Op::Size, 1, EIO); }, Left::Nothing},
        {"end unreadable", [](FaultyFileSystem& f) { f.failOn(Op::ReadAt, 1, EIO); },
         Left::Nothing},
        {"disk full", [](FaultyFileSystem& f) { f.failOn(Op::Write, 1, ENOSPC); }, Left::Nothing},
        {"quota exceeded", [](FaultyFileSystem& f) { f.failOn(Op::Write, 1, EDQUOT); },
         Left::Nothing},
        {"short write", [](FaultyFileSystem& f) { f.shortWriteOn(1, 10); }, Left::Nothing},
        {"nothing written", [](FaultyFileSystem& f) { f.shortWriteOn(1, 0); }, Left::Nothing},
        {"short write, then no cut",
         [](FaultyFileSystem& f) {
             f.shortWriteOn(1, 10);
             f.failOn(Op::Truncate, 1, EIO);
         },
         Left::Remnant},
        {"short write, then size unknown",
         [](FaultyFileSystem& f) {
             f.shortWriteOn(1, 10);
             f.failOn(Op::Size, 2, EIO);
         },
         Left::Remnant},
        {"sync fails", [](FaultyFileSystem& f) { f.failOn(Op::Sync, 1, EIO); }, Left::Nothing},
        {"sync fails, then no cut",
         [](FaultyFileSystem& f) {
             f.failOn(Op::Sync, 1, EIO);
             f.failOn(Op::Truncate, 1, EIO);
         },
         Left::Remnant},
        // The line is on disk when only the close fails; the user is warned all
        // the same, since the file system said something went wrong.
        {"close fails", [](FaultyFileSystem& f) { f.failOn(Op::Close, 1, EIO); }, Left::TheLine},
    };
    const std::string earlier = Records(2);
    for (Command k : {Command::Save, Command::Close, Command::Graph}) {
        for (const Fault& fault : faults) {
            SCOPED_TRACE(std::string(NameOf(k)) + ": " + fault.what);
            Spit(log, earlier);
            logFilePath.clear();
            graph.setHistoryRowCount(7);
            forget();
            FaultyFileSystem faulty(posix);
            fault.inject(faulty);
            useFileSystem(faulty);
            measure("170", "65", "20");
            SaveThrough(*this, k, log);

            const std::string after = Slurp(log);
            EXPECT_EQ(after.substr(0, earlier.size()), earlier);
            if (fault.left == Left::Nothing) {
                EXPECT_EQ(after, earlier);
            } else if (fault.left == Left::TheLine) {
                EXPECT_EQ(after, earlier + kLine);
            } else if (after != earlier) {
                EXPECT_TRUE(said("書きかけの行")) << "a part line left unmentioned";
            }
            ASSERT_EQ(boxes(kWarning), 1);
            EXPECT_NE(prompter.shown.back().text.find(log), std::string::npos);
            EXPECT_EQ(prompter.shown.back().caption, kWarning);
            EXPECT_FALSE(said(kSaved));
            EXPECT_EQ(shown(MainCtl::Lb_ft), "2.23");
            EXPECT_EQ(shown(MainCtl::Ed_h), "170");
            EXPECT_EQ(faulty.openHandles(), 0u);
            EXPECT_EQ(view.closed, 0);
            EXPECT_EQ(settings.writes, 0);
            EXPECT_EQ(graphView.shown, 0);
            EXPECT_EQ(files.openCalls, 0);
            EXPECT_EQ(faulty.calls(Op::Read), 0);
            EXPECT_EQ(graph.historyRowCount(), 7);

            // The measurement is still there to be saved once the file works,
            // but never glued to a part line left behind: that file is refused.
            useFileSystem(posix);
            forget();
            SaveThrough(*this, k, log);
            const std::string retried = Slurp(log);
            if (after != earlier + kLine && after != earlier) {
                EXPECT_EQ(retried, after);
                EXPECT_TRUE(said("最後の行が途中で切れているか、壊れています"));
                EXPECT_FALSE(said(kSaved));
                EXPECT_EQ(shown(MainCtl::Lb_ft), "2.23");
                continue;
            }
            EXPECT_EQ(retried.substr(0, after.size()), after);
            EXPECT_EQ(retried.substr(after.size()), kLine);
            EXPECT_TRUE(said(kSaved));
            EXPECT_EQ(shown(MainCtl::Lb_ft), "--.--");
            EXPECT_EQ(view.closed, k == Command::Close ? 1 : 0);
            EXPECT_EQ(settings.writes, k == Command::Close ? 9 : 0);
            EXPECT_EQ(graphView.shown, k == Command::Graph ? 1 : 0);
            if (k == Command::Graph && fault.left != Left::Remnant) {
                EXPECT_EQ(graph.historyRowCount(), fault.left == Left::TheLine ? 5 : 4);
            }
        }
    }
}

TEST_F(Faults, EveryKindOfBadLogThroughTheGraphCommand) {
    const std::string records = dir + "/records.txt";
    Spit(records, Records(2));
    std::string big; // several chunks, so that a later read can fail
    for (int i = 0; i < 999; ++i)
        big += kLine.substr(0, kLine.size() - 1) + std::string(200, ' ') + "\n";
    const std::string bigPath = dir + "/big.txt";
    Spit(bigPath, big);
    auto file = [&](const std::string& name, const std::string& bytes) {
        return [=, this] {
            Spit(dir + "/" + name, bytes);
            return dir + "/" + name;
        };
    };
    auto path = [](const std::string& p) { return [p] { return p; }; };
    auto fail = [](Op op, int nth, int err) {
        return [=](FaultyFileSystem& f) { f.failOn(op, nth, err); };
    };

    struct Case {
        const char* what;
        std::function<std::string()> make; // the name chosen in the open dialog
        std::function<void(FaultyFileSystem&)> inject;
        bool removeAfterChoice;
        // Expected: a warning and nothing loaded (rows < 0), or the window
        // with this many rows and, unless empty, a notice saying this.
        int rows;
        std::string notice;
        int maxReads; // 0: not counted
    };
    const TestFifos fifos(dir);
    ASSERT_GE(fifos.peer, 0);
    const std::string& fifo = fifos.lone;
    const std::string& heldFifo = fifos.held;
    const Case cases[] = {
        {"a missing file", path(dir + "/missing.txt"), nullptr, false, -1, "", 0},
        {"a folder", path(dir), nullptr, false, -1, "", 0},
        {"removed after the choice", file("gone.txt", Records(2)), nullptr, true, -1, "", 0},
        {"open refused", path(records), fail(Op::Open, 1, EACCES), false, -1, "", 0},
        {"first read fails", path(records), fail(Op::Read, 1, EIO), false, -1, "", 0},
        {"a later read fails", path(bigPath), fail(Op::Read, 2, EIO), false, -1, "", 0},
        {"close fails after reading", path(records), fail(Op::Close, 1, EIO), false, 3, "", 0},
        // Only regular files are read: no endless stream, no wait for a writer.
        {"an empty device", path("/dev/null"), nullptr, false, -1, "", 0},
        {"an endless stream of NUL bytes", path("/dev/zero"), nullptr, false, -1, "", 0},
        {"a FIFO without a writer", path(fifo), nullptr, false, -1, "", 0},
        {"a FIFO whose writer sends nothing", path(heldFifo), nullptr, false, -1, "", 0},
        {"binary garbage", file("garbage.txt", RandomBytes(1 << 20, 830)), nullptr, false, 1,
         "中止", 1},
        {"records, then NUL bytes", file("nul.txt", Records(2) + std::string(1 << 20, '\0')),
         nullptr, false, 3, "2 件", 1},
        {"records, then garbage", file("mixed.txt", Records(2) + RandomBytes(1 << 20, 830)),
         nullptr, false, 3, "2 件", 1},
        {"one huge line", file("line.txt", std::string(16 << 20, '1')), nullptr, false, 1,
         "数値でない", 1},
        {"a huge valid log", file("huge.txt", Records(200000)), nullptr, false, 1000,
         "（それより前の 199001 件は表示しません）", 0},
        {"a record cut short", file("short.txt", Records(2) + "123 4.5 6"), nullptr, false, 3,
         "途中で終わって", 0},
    };

    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        forget();
        graph.setHistoryRowCount(7);
        history.at(0, 1) = -1;
        const std::string chosen = k.make();
        FaultyFileSystem faulty(posix);
        if (k.inject)
            k.inject(faulty);
        useFileSystem(faulty);
        if (k.removeAfterChoice)
            aftermath.afterChoice = [](const std::string& name) { std::filesystem::remove(name); };
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
            continue;
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
}

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
