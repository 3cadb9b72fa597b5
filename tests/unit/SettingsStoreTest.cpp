// The settings file as other tools and people leave it: read verbatim, and
// after a save every line but the nine targets kept byte for byte; and when
// it is blocked, oversized, locked or damaged: loading gives empty or
// verbatim targets, saving either keeps every target or says which file it
// could not write, and nothing waits for ever.

#include "core/Errors.h"
#include "platform/IniSettingsStore.h"
#include "support/Cases.h"
#include "support/MainFixture.h"
#include "targets/TargetStore.h"
#include "ui/graph/WindowChoice.h"
#include "ui/main/RememberedLog.h"

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

using namespace vorn;
using namespace vorn::test;
namespace fs = std::filesystem;

namespace {

const TargetTable kSaved = {"170.00", "65.00", "20.00", "", "52.00", "", "63.58", "22.00", "-3.00"};
// kSaved as a new section writes it.
const std::string kSection = "[TGT]\nVAL1=170.00\nVAL2=65.00\nVAL3=20.00\nVAL4=\nVAL5=52.00\n"
                             "VAL6=\nVAL7=63.58\nVAL8=22.00\nVAL9=-3.00\n";

class SettingsStoreTest : public ::testing::Test, public ConfigFolder {
protected:
    // What LoadTargets gives, starting from a table that holds something in
    // every entry; `message` gets the StoreError's text, if any.
    TargetTable load(std::string* message = nullptr) {
        IniSettingsStore store;
        TargetTable table;
        table.fill("stale");
        const std::string error = ErrorText<StoreError>([&] { LoadTargets(store, table); });
        if (message)
            *message = error;
        else
            EXPECT_EQ(error, "") << "loading failed";
        return table;
    }
    // The message of a failed SaveTargets; empty when it passed.
    std::string save(const TargetTable& table) {
        IniSettingsStore store;
        return ErrorText<StoreError>([&] { SaveTargets(store, table); });
    }
};

} // namespace

TEST_F(SettingsStoreTest, HandEditedFilesReadVerbatimAndKeepEveryOtherLineOnSave) {
    struct Case {
        const char* what;
        std::string before;
        TargetTable read;
        std::string after; // once kSaved is saved
    } cases[] = {
        {"quotes, blanks, backslashes and other bytes",
         "[TGT]\nVAL1=\"170.00\"\nVAL2 =  65.00  \n  VAL3\t=a\\tb\\n\nVAL4=C:\\dir\\\n"
         "VAL5=52.00\nVAL6=\x82\xa0 体重 \xff\n",
         {"\"170.00\"", "  65.00  ", "a\\tb\\n", "C:\\dir\\", "52.00", "\x82\xa0 体重 \xff", "", "",
          ""},
         "[TGT]\nVAL1=170.00\nVAL2 =65.00\n  VAL3\t=20.00\nVAL4=\nVAL5=52.00\nVAL6=\n"
         "VAL7=63.58\nVAL8=22.00\nVAL9=-3.00\n"},
        {"comments, blank lines, other sections and lower-case names",
         "; written by hand\n\n[Window]\nVAL1=keep\n# note=1\n\n[tgt]\nval2=65.00\n; VAL3=old\n"
         "val1=1\n\n[Other]\nx=\"y\"\n",
         {"1", "65.00", "", "", "", "", "", "", ""},
         "; written by hand\n\n[Window]\nVAL1=keep\n# note=1\n\n[tgt]\nval2=65.00\n; VAL3=old\n"
         "val1=170.00\nVAL3=20.00\nVAL4=\nVAL5=52.00\nVAL6=\nVAL7=63.58\nVAL8=22.00\nVAL9=-3.00\n"
         "\n[Other]\nx=\"y\"\n"},
        {"CR LF, a header with blanks, names and sections twice, no final line end",
         "[Other]\r\nVAL2=9\r\n  [ Tgt ]  \r\nVAL2=65.00\r\nVAL2=70.00\r\n[TGT]\r\nVAL3=x\r\n"
         "VAL8=22.00",
         {"", "65.00", "x", "", "", "", "", "22.00", ""},
         "[Other]\r\nVAL2=9\r\n  [ Tgt ]  \r\nVAL2=65.00\r\nVAL2=70.00\r\nVAL1=170.00\r\nVAL4=\r\n"
         "VAL5=52.00\r\nVAL6=\r\nVAL7=63.58\r\nVAL9=-3.00\r\n[TGT]\r\nVAL3=20.00\r\n"
         "VAL8=22.00"},
        {"no section, no final line end after a CR",
         "[表示]\nタイトル=体重\r",
         {},
         "[表示]\nタイトル=体重\r\r\n\n" + kSection},
        {"an empty file", "", {}, kSection},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        putConf(k.before);
        EXPECT_EQ(load(), k.read);
        EXPECT_EQ(save(kSaved), "");
        EXPECT_EQ(Slurp(conf), k.after);
        EXPECT_EQ(load(), kSaved);
    }
}

TEST_F(SettingsStoreTest, FirstLoadCreatesTheFileAndFirstCloseTheSection) {
    fs::remove_all(config);
    EXPECT_EQ(load(), TargetTable{});
    ASSERT_TRUE(fs::is_regular_file(conf));
    EXPECT_EQ(Slurp(conf), "");

    EXPECT_EQ(save(TargetTable{}), "");
    EXPECT_EQ(Slurp(conf),
              "[TGT]\nVAL1=\nVAL2=\nVAL3=\nVAL4=\nVAL5=\nVAL6=\nVAL7=\nVAL8=\nVAL9=\n");
    struct stat st;
    ASSERT_EQ(stat(conf.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    // Made anew when it went after the load.
    IniSettingsStore store;
    store.open(kTargetKey, "目標値");
    fs::remove(conf);
    store.writeString(kTargetSection, "VAL1", "");
    store.release();
    ASSERT_EQ(stat(conf.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // A value with a line end in it is refused; the others are kept.
    TargetTable broken = kSaved;
    broken[0] = "1\nVAL9=5";
    const std::string message = save(broken);
    EXPECT_NE(message.find("VAL1"), std::string::npos) << message;
    EXPECT_NE(message.find(conf), std::string::npos) << message;
    TargetTable expected = kSaved;
    expected[0] = "";
    EXPECT_EQ(load(), expected);
}

namespace {
struct Blocked {
    const char* name;
    std::function<void(const ConfigFolder&)> block;
    bool warnsOnLoad;   // something is there that cannot be read
    const char* reason; // the system's, when saving names one
};
const char* const kNotADir = "途中にフォルダーではないものがある名前です";
struct BlockedPlace : SettingsStoreTest, ::testing::WithParamInterface<Blocked> {};
const Blocked kBlocked[] = {
    {"a folder named Vorn2.conf", [](const ConfigFolder& f) { fs::create_directories(f.conf); },
     true, ""},
    {"a FIFO named Vorn2.conf",
     [](const ConfigFolder& f) {
         fs::create_directories(f.tav);
         ASSERT_EQ(mkfifo(f.conf.c_str(), 0644), 0);
     },
     true, ""},
    {"a link to a FIFO",
     [](const ConfigFolder& f) {
         fs::create_directories(f.tav);
         ASSERT_EQ(mkfifo((f.tav + "/pipe").c_str(), 0644), 0);
         fs::create_symlink("pipe", f.conf);
     },
     true, ""},
    {"a link to a device",
     [](const ConfigFolder& f) {
         fs::create_directories(f.tav);
         fs::create_symlink("/dev/null", f.conf);
     },
     true, ""},
    {"a link into a missing folder",
     [](const ConfigFolder& f) {
         fs::create_directories(f.tav);
         fs::create_symlink("gone/Vorn2.conf", f.conf);
     },
     false, "ファイルまたはフォルダーが見つかりません"},
    {"a file where the Tav folder should be",
     [](const ConfigFolder& f) { std::ofstream(f.tav) << "x"; }, false, kNotADir},
    {"a file where the configuration folder should be",
     [](const ConfigFolder& f) {
         fs::remove_all(f.config);
         std::ofstream(f.config) << "x";
     },
     false, kNotADir},
};
} // namespace

TEST_P(BlockedPlace, LoadsNothingAndRefusesToSave) {
    GetParam().block(*this);
    const auto before = fs::symlink_status(conf).type();

    // A FIFO would keep a reader waiting for ever.
    std::string warning;
    EXPECT_EQ(load(&warning), TargetTable{});
    EXPECT_EQ(warning.find(conf) != std::string::npos, GetParam().warnsOnLoad) << warning;
    const std::string message = save(kSaved);
    EXPECT_NE(message.find(conf), std::string::npos) << message;
    if (*GetParam().reason) {
        EXPECT_NE(message.find(std::string("理由: ") + GetParam().reason), std::string::npos)
            << message;
    }
    EXPECT_EQ(fs::symlink_status(conf).type(), before);
}
INSTANTIATE_TEST_SUITE_P(Every, BlockedPlace, ::testing::ValuesIn(kBlocked), ByName());

TEST_F(SettingsStoreTest, LinksAreWrittenThroughAndOthersLoseWriting) {
    fs::create_directories(tav);
    putConf("");
    fs::rename(conf, tav + "/real.conf");
    ASSERT_EQ(chmod((tav + "/real.conf").c_str(), 0666), 0);
    fs::create_symlink("real.conf", conf);
    EXPECT_EQ(save(kSaved), "");
    EXPECT_TRUE(fs::is_symlink(conf));
    EXPECT_EQ(Slurp(tav + "/real.conf"), kSection);
    EXPECT_EQ(fs::status(conf).permissions(), static_cast<fs::perms>(0644));
}

TEST_F(SettingsStoreTest, DamagedFilesLoadVerbatimAndKeepEveryTargetOnSave) {
    const std::string section = "\n[TGT]\nVAL2=65.00\n";
    const char variant[] = "[TGT]\nVAL2=@Variant(\0\0\0\x7f\0\0\0\x01)\n";
    // The largest file that is read.
    const std::string longValue(IniSettingsStore::kMaxFileSize - 12, '7');
    struct Case {
        const char* what;
        std::string bytes;
        std::string val2; // what VAL2 loads as; every other target loads empty
    } cases[] = {
        {"binary garbage", RandomBytes(5000, 20260830), ""},
        {"binary garbage, then the section", RandomBytes(5000, 20260830) + section, "65.00"},
        {"NUL bytes", std::string(4096, '\0'), ""},
        {"NUL bytes, then the section", std::string(4096, '\0') + section, "65.00"},
        {"a huge value", "[TGT]\nVAL2=" + longValue + "\n", longValue},
        {"an unclosed section", "[TGT\nVAL2=65.00\n", ""},
        {"a doubly closed section", "[TGT]]\nVAL2=65.00\n", "65.00"},
        {"an empty section name", "[]\nVAL2=65.00\n", ""},
        {"a name without a value", "[TGT]\nVAL2\n=7\n", ""},
        {"a comma", "[TGT]\nVAL2=65,00\n", "65,00"},
        {"a damaged variant", std::string(variant, sizeof variant - 1),
         std::string(variant + 11, sizeof variant - 13)},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        putConf(k.bytes);
        TargetTable expected;
        expected[1] = k.val2;
        EXPECT_EQ(load(), expected);

        // Saving over the damage keeps every target, and says nothing.
        EXPECT_EQ(save(kSaved), "");
        EXPECT_EQ(load(), kSaved);
    }
}

namespace {
// Gives up at the `tries`-th wait; `onWait` runs at each.
struct CountedPatience : posix::LockPatience {
    explicit CountedPatience(int n, std::function<void(int)> f = {}) : tries(n), onWait(f) {}
    bool waitMore() override {
        ++waits;
        if (onWait)
            onWait(waits);
        return waits < tries;
    }
    int tries;
    std::function<void(int)> onWait;
    int waits = 0;
};
} // namespace

TEST_F(SettingsStoreTest, LockedStoreWaitsItsTimeThenGivesUp) {
    putConf("[TGT]\nVAL2=70.00\n");
    // Another program in the middle of its save.
    int other = ::open((conf + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(other, 0);
    ASSERT_EQ(flock(other, LOCK_EX), 0);

    CountedPatience patience(3);
    IniSettingsStore store(&patience);
    const std::string message = ErrorText<StoreError>([&] { SaveTargets(store, kSaved); });
    EXPECT_NE(message.find(conf), std::string::npos) << message;
    EXPECT_EQ(patience.waits, 3);
    EXPECT_EQ(Slurp(conf), "[TGT]\nVAL2=70.00\n");

    // It finishes while this one waits.
    CountedPatience finishing(3, [&](int n) {
        if (n == 2)
            ::close(std::exchange(other, -1));
    });
    IniSettingsStore patient(&finishing);
    EXPECT_EQ(ErrorText<StoreError>([&] { SaveTargets(patient, kSaved); }), "");
    EXPECT_EQ(finishing.waits, 2);
    EXPECT_EQ(load(), kSaved);
}

TEST_F(SettingsStoreTest, TemporaryFilesOfAKilledSaveGoAtTheNextStart) {
    putConf("[TGT]\nVAL2=70.00\n");
    Spit(conf + ".lock", "");
    const std::string stale = tav + "/.Vorn2.conf.Ab3xY9";
    const std::string others[] = {tav + "/.Vorn2.conf.Ab3xY", tav + "/Vorn2.conf.Ab3xY9"};
    for (const std::string& f : {stale, others[0], others[1]})
        Spit(f, "[TGT]\nVAL2=6");
    EXPECT_EQ(load()[1], "70.00");
    EXPECT_FALSE(fs::exists(stale));
    for (const std::string& f : others)
        EXPECT_TRUE(fs::exists(f)) << f;
}

namespace {
// The main window over the settings file.
struct OversizedStore : MainFixture, ConfigFolder, ::testing::WithParamInterface<std::string> {
    IniSettingsStore ini;
};
const std::string kOversized[] = {
    "[TGT]\nVAL2=65.00\n" + std::string(IniSettingsStore::kMaxFileSize, ';'),
    std::string(8 << 20, 'x'),
};
} // namespace

// Through the main window: a warning at start-up, which still comes up, and
// one at the close command, which leaves the file as it was and still quits.
TEST_P(OversizedStore, WarnsAndIsLeftUntouched) {
    const std::string& bytes = GetParam();
    putConf(bytes);
    clock.time = LocalTime{2027, 1, 2, 3, 4};
    store = &ini;
    useFileSystem(posix);
    EXPECT_EQ(targets, TargetTable{});
    EXPECT_FALSE(view.isVisible(MainCtl::Sb2));
    EXPECT_EQ(dateStamp, "010203");
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(prompter.shown[0].text.find(conf), std::string::npos);
    EXPECT_NE(prompter.shown[0].text.find("1 MiB"), std::string::npos);

    targets = kSaved;
    c->Button1Click();
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_NE(prompter.shown[1].text.find(conf), std::string::npos);
    EXPECT_EQ(view.closed, 1);
    EXPECT_TRUE(Slurp(conf) == bytes);
}
INSTANTIATE_TEST_SUITE_P(Every, OversizedStore, ::testing::ValuesIn(kOversized),
                         [](const auto& p) { return p.index == 0 ? "values" : "garbage"; });

namespace {
// Kept choices, maybe hand-edited: what cannot be used reads as a first run's.
struct StoredChoice {
    const char* name;
    MemorySettingsStore::Sections stored;
    std::string log;
    GraphWindowChoice graph;
};
const StoredChoice kStoredChoices[] = {
    {"none", {}, "", {}},
    {"log", {{"LOG", {{"FILE", "/u/体重.txt"}}}}, "/u/体重.txt", {}},
    {"size", {{"GRAPH", {{"WIDTH", "900"}, {"HEIGHT", "700"}}}}, "", {0, 900, 700}},
    {"quantity", {{"GRAPH", {{"QUANTITY", "8"}}}}, "", {8, 463, 318}},
    {"relative log", {{"LOG", {{"FILE", "data.txt"}}}}, "", {}},
    {"control character", {{"LOG", {{"FILE", "/home/u/a\tb.txt"}}}}, "", {}},
    {"tenth quantity", {{"GRAPH", {{"QUANTITY", "9"}}}}, "", {}},
    {"signed quantity", {{"GRAPH", {{"QUANTITY", "+1"}}}}, "", {}},
    {"narrower than designed", {{"GRAPH", {{"WIDTH", "462"}, {"HEIGHT", "700"}}}}, "", {}},
    {"beyond any screen", {{"GRAPH", {{"WIDTH", "900"}, {"HEIGHT", "16385"}}}}, "", {}},
    {"overflowing", {{"GRAPH", {{"WIDTH", "4294968196"}, {"HEIGHT", "700"}}}}, "", {}},
    {"half a size", {{"GRAPH", {{"WIDTH", "900"}}}}, "", {}},
};
struct StoredChoiceTest : ::testing::TestWithParam<StoredChoice> {};
} // namespace

TEST_P(StoredChoiceTest, ReadsAsKeptOrAsAFirstRun) {
    MemorySettingsStore store(GetParam().stored);
    EXPECT_EQ(LoadRememberedLog(store), GetParam().log);
    EXPECT_TRUE(LoadGraphWindowChoice(store) == GetParam().graph);
}
INSTANTIATE_TEST_SUITE_P(Every, StoredChoiceTest, ::testing::ValuesIn(kStoredChoices), ByName());
