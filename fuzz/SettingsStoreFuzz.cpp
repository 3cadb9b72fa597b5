// The settings store on an arbitrary Vorn2.conf, and on arbitrary target
// texts. Loading any file gives nine texts and is repeatable; saving what was
// loaded and loading again gives the same nine texts; and any nine texts
// saved load back as they were (texts that are not UTF-8 as their UTF-8
// reading, with U+FFFD for each bad sequence).
//
// Input: nine texts, each ended by a backslash and another character (a
// doubled backslash stands for one), then the bytes of the file.

#include "ReadBack.h"
#include "platform/Errors.h"
#include "platform/qt/QtSettingsStore.h"
#include "targets/TargetStore.h"

#include <QString>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace vorn;
using vorn::fuzz::Fail;
namespace fs = std::filesystem;

namespace {

// A folder of our own, on tmpfs when there is one: the store syncs its file.
const fs::path& scratch() {
    static const fs::path* dir = [] {
        std::string tmpl = (access("/dev/shm", W_OK) == 0 ? std::string("/dev/shm")
                                                          : fs::temp_directory_path().string()) +
                           "/vorn-fuzz-XXXXXX";
        if (!mkdtemp(tmpl.data()))
            std::abort();
        setenv("HOME", tmpl.c_str(), 1);
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(*dir, ec);
        });
        return new fs::path(tmpl);
    }();
    return *dir;
}

std::string show(const TargetTable& table) {
    std::string s;
    for (const std::string& t : table)
        s += "[" + t + "]";
    return s;
}

// Not UTF-8, so never a loaded text.
const std::string kStale = "\xff(stale)";

TargetTable load() {
    QtSettingsStore store;
    TargetTable table;
    table.fill(kStale);
    LoadTargets(store, table);
    return table;
}

void save(const TargetTable& table) {
    QtSettingsStore store;
    try {
        SaveTargets(store, table);
    } catch (const StoreError& e) {
        Fail(std::string("saving failed: ") + e.what());
    }
}

} // namespace

// Qt is built without frame pointers, so the sanitizer's fast unwinder makes
// up a new stack for almost every allocation inside Qt and keeps each one: a
// short recorded stack keeps the memory of long runs bounded.
extern "C" const char* __asan_default_options() {
    return "malloc_context_size=3";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    TargetTable typed;
    for (std::string& t : typed)
        t = input.ConsumeRandomLengthString();
    const std::string file = input.ConsumeRemainingBytesAsString();

    // QSettings keeps what it read as long as the file keeps its size and
    // modification time: give every new file a time of its own.
    static long run = 0;
    const fs::path config = scratch() / "config";
    const fs::path conf = config / "Tav" / "Vorn2.conf";
    fs::remove_all(config);
    fs::create_directories(config / "Tav");
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    std::ofstream(conf, std::ios::binary) << file;
    const timespec times[2] = {{++run, 0}, {run, 0}};
    utimensat(AT_FDCWD, conf.c_str(), times, 0);

    const TargetTable loaded = load();
    for (const std::string& t : loaded)
        if (t == kStale)
            Fail("a target was not loaded");
    if (load() != loaded)
        Fail("loading twice differs: " + show(loaded) + " " + show(load()));

    save(loaded);
    const TargetTable again = load();
    if (again != loaded)
        Fail("saved " + show(loaded) + ", loaded " + show(again));

    save(typed);
    TargetTable expected;
    for (std::size_t k = 0; k < typed.size(); ++k)
        expected[k] = QString::fromStdString(typed[k]).toStdString();
    const TargetTable back = load();
    if (back != expected)
        Fail("saved " + show(expected) + ", loaded " + show(back));

    return 0;
}
