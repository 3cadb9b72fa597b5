// The settings store when its file is missing, blocked, unreadable or damaged:
// loading gives empty or verbatim targets, and saving either keeps every
// target or says which file it could not write.

#include "platform/Errors.h"
#include "platform/qt/QtSettingsStore.h"
#include "support/TestHome.h"
#include "targets/TargetStore.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <set>
#include <sys/stat.h>

using namespace vorn;
using namespace vorn::test;
namespace fs = std::filesystem;

namespace {

const TargetTable kSaved = {"170.00", "65.00", "20.00", "", "52.00", "", "63.58", "22.00", "-3.00"};

class SettingsStoreFaults : public ::testing::Test {
protected:
    void SetUp() override {
        config = MakeTempDir("config");
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        tav = config + "/Tav";
        conf = tav + "/Vorn2.conf";
    }

    void put(const std::string& bytes) {
        fs::create_directories(tav);
        std::ofstream(conf, std::ios::binary | std::ios::trunc) << bytes;
    }
    // What LoadTargets gives, starting from a table that holds something in
    // every entry.
    TargetTable load() {
        QtSettingsStore store;
        TargetTable table;
        table.fill("stale");
        LoadTargets(store, table);
        return table;
    }
    // The message of a failed SaveTargets; empty when it passed.
    std::string save(const TargetTable& table) {
        QtSettingsStore store;
        try {
            SaveTargets(store, table);
        } catch (const StoreError& e) {
            return e.what();
        }
        return "";
    }

    std::string config;
    std::string tav;
    std::string conf;
};

} // namespace

TEST_F(SettingsStoreFaults, BlockedPlacesLoadNothingAndRefuseToSave) {
    struct Case {
        const char* what;
        std::function<void()> block;
    } cases[] = {
        {"a folder named Vorn2.conf", [&] { fs::create_directories(conf); }},
        {"a FIFO named Vorn2.conf",
         [&] {
             fs::create_directories(tav);
             ASSERT_EQ(mkfifo(conf.c_str(), 0644), 0);
         }},
        {"a link to a FIFO",
         [&] {
             fs::create_directories(tav);
             ASSERT_EQ(mkfifo((tav + "/pipe").c_str(), 0644), 0);
             fs::create_symlink("pipe", conf);
         }},
        {"a link into a missing folder",
         [&] {
             fs::create_directories(tav);
             fs::create_symlink("gone/Vorn2.conf", conf);
         }},
        {"a file where the Tav folder should be", [&] { std::ofstream(tav) << "x"; }},
        {"a file where the configuration folder should be",
         [&] {
             fs::remove_all(config);
             std::ofstream(config) << "x";
         }},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        SetUp();
        k.block();
        const auto before = fs::symlink_status(conf).type();

        // A FIFO would keep a reader waiting for ever.
        EXPECT_EQ(load(), TargetTable{});
        const std::string message = save(kSaved);
        EXPECT_NE(message.find(conf), std::string::npos) << message;
        EXPECT_EQ(fs::symlink_status(conf).type(), before);
    }
}

TEST_F(SettingsStoreFaults, DamagedFilesLoadVerbatimOrNothingAndAreRewrittenWhole) {
    const std::string section = "\n[TGT]\nVAL2=65.00\n";
    const std::string longValue(1 << 20, '7');
    const char variant[] = "[TGT]\nVAL2=@Variant(\0\0\0\x7f\0\0\0\x01)\n";
    struct Case {
        const char* what;
        std::string bytes;
        // What VAL2 may load as (empty set: anything); every other target loads empty.
        std::set<std::string> val2;
    } cases[] = {
        {"binary garbage", RandomBytes(5000, 20260830), {""}},
        {"binary garbage, then the section", RandomBytes(5000, 20260830) + section, {"", "65.00"}},
        {"NUL bytes", std::string(4096, '\0'), {""}},
        {"NUL bytes, then the section", std::string(4096, '\0') + section, {"", "65.00"}},
        {"a huge line", std::string(8 << 20, 'x'), {""}},
        {"a huge line, then the section", std::string(8 << 20, '[') + section, {"", "65.00"}},
        {"a huge value", "[TGT]\nVAL2=" + longValue + "\n", {longValue}},
        {"an unclosed section", "[TGT\nVAL2=65.00\n", {"", "65.00"}},
        {"a doubly closed section", "[TGT]]\nVAL2=65.00\n", {"", "65.00"}},
        {"an empty section name", "[]\nVAL2=65.00\n", {""}},
        {"a name without a value", "[TGT]\nVAL2\n=7\n", {""}},
        {"a value twice", "[TGT]\nVAL2=65.00\nVAL2=70.00\n", {"65.00", "70.00"}},
        {"a section twice", "[TGT]\nVAL2=65.00\n[X]\n[TGT]\nVAL3=\n", {"65.00"}},
        {"CR LF line ends", "[TGT]\r\nVAL2=65.00\r\n", {"65.00"}},
        {"a comma", "[TGT]\nVAL2=65,00\n", {"65,00"}},
        {"a damaged variant", std::string(variant, sizeof variant - 1), {}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        put(k.bytes);
        const TargetTable loaded = load();
        EXPECT_TRUE(k.val2.empty() || k.val2.count(loaded[1])) << loaded[1].substr(0, 40);
        for (int q = 0; q < 9; ++q) {
            if (q != 1) {
                EXPECT_EQ(loaded[static_cast<size_t>(q)], "") << q;
            }
        }

        // Saving over the damage keeps every target, and says nothing.
        EXPECT_EQ(save(kSaved), "");
        EXPECT_EQ(load(), kSaved);
    }
}
