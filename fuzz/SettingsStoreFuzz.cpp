// The settings file's text on an arbitrary Vorn2.conf, and on arbitrary
// target texts. Loading any text gives nine texts and is repeatable; a save keeps
// every line of the file byte for byte except the lines of the nine values
// (each keeps its name, its "=" and its line end) and the lines it adds;
// saving what was loaded loads back the same; and any nine texts saved load
// back as they were, but for those with a line end, which are refused and
// keep their old value. A file over the size limit is neither read nor
// written (that much goes through the store and a real file).
//
// Input: nine texts, each ended by a backslash and another character (a
// doubled backslash stands for one), then the bytes of the file.

#include "ReadBack.h"
#include "core/Errors.h"
#include "platform/IniSettingsStore.h"
#include "platform/IniText.h"
#include "support/TestHome.h"
#include "targets/TargetStore.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <unistd.h>
#include <vector>

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

// Not a line of any file, so never a loaded text.
const std::string kStale = "\n(stale)";

// The nine texts the store loads from the file (failed: it raised
// StoreError).
TargetTable load(bool& failed) {
    IniSettingsStore store;
    TargetTable table;
    table.fill(kStale);
    failed = false;
    try {
        LoadTargets(store, table);
    } catch (const StoreError&) {
        failed = true;
    }
    return table;
}

// Empty when the store's save passed, else its message.
std::string save(const TargetTable& table) {
    IniSettingsStore store;
    try {
        SaveTargets(store, table);
    } catch (const StoreError& e) {
        return e.what();
    }
    return "";
}

// The nine texts a file's text holds, as the store reads them.
TargetTable read(const std::string& text) {
    TargetTable table;
    for (int k = 0; k < kQuantityCount; ++k) {
        std::string value;
        if (ini::Find(text, kTargetSection, TargetValueName(k), value))
            table[static_cast<std::size_t>(k)] = value;
    }
    return table;
}

// The text with the nine texts written, as the store's save writes it;
// `refused` tells whether a value was left out.
std::string write(const std::string& text, const TargetTable& table, bool& refused) {
    std::vector<ini::Write> writes;
    for (int k = 0; k < kQuantityCount; ++k)
        writes.push_back({kTargetSection, TargetValueName(k), table[static_cast<std::size_t>(k)]});
    std::vector<std::string> names;
    std::string out = ini::Edit(text, writes, names);
    refused = !names.empty();
    return out;
}

// ---- Lines, as a save must keep them ----

struct Line {
    std::string body;
    std::string end; // "\r\n", "\n", or "" for a last line without one
};

std::vector<Line> lines(const std::string& text) {
    std::vector<Line> out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t lf = text.find('\n', pos);
        if (lf == std::string::npos) {
            out.push_back({text.substr(pos), ""});
            break;
        }
        const bool cr = lf > pos && text[lf - 1] == '\r';
        out.push_back({text.substr(pos, lf - pos - cr), cr ? "\r\n" : "\n"});
        pos = lf + 1;
    }
    return out;
}

std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// A line that names one of the nine values: its text up to the "=".
bool targetPrefix(const std::string& body, std::string& prefix) {
    const std::size_t eq = body.find('=');
    if (eq == std::string::npos)
        return false;
    std::string name = body.substr(0, eq);
    name.erase(0, name.find_first_not_of(" \t"));
    name.erase(name.find_last_not_of(" \t") + 1);
    name = lower(name);
    if (name.size() != 4 || name.compare(0, 3, "val") != 0 || name[3] < '1' || name[3] > '9')
        return false;
    prefix = body.substr(0, eq + 1);
    return true;
}

// A line a save may add: a value as it writes one, the section header, or
// the blank line before it.
bool addable(const Line& l) {
    if (l.body.empty() || l.body == "[TGT]")
        return true;
    return l.body.size() >= 5 && l.body.compare(0, 3, "VAL") == 0 && l.body[3] >= '1' &&
           l.body[3] <= '9' && l.body[4] == '=';
}

void requireKept(const std::string& before, const std::string& after) {
    const std::vector<Line> old = lines(before);
    const std::vector<Line> now = lines(after);
    std::size_t j = 0;
    int changed = 0;
    int added = 0;
    for (std::size_t i = 0; i < old.size(); ++i) {
        const Line& o = old[i];
        std::string prefix;
        const bool target = targetPrefix(o.body, prefix);
        for (;; ++j, ++added) {
            if (j == now.size())
                Fail("line " + std::to_string(i + 1) + " of the file was lost: " + o.body);
            const Line& n = now[j];
            // Only the last line, when it had none, may gain a line end.
            const bool sameEnd = n.end == o.end || (i + 1 == old.size() && o.end.empty());
            if (sameEnd && n.body == o.body)
                break;
            if (sameEnd && target && n.body.compare(0, prefix.size(), prefix) == 0) {
                ++changed;
                break;
            }
            if (!addable(n) || n.end.empty())
                Fail("line " + std::to_string(i + 1) + " of the file was changed: " + o.body +
                     " became " + n.body);
        }
        ++j;
    }
    for (; j < now.size(); ++j, ++added)
        if (!addable(now[j]) || now[j].end.empty())
            Fail("a line was added that is no value: " + now[j].body);
    if (changed > 9 || added > 11)
        Fail(std::to_string(changed) + " lines changed and " + std::to_string(added) + " added");
}

bool breaksLine(const std::string& t) {
    return t.find('\n') != std::string::npos || (!t.empty() && t.back() == '\r');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    TargetTable typed;
    for (std::string& t : typed)
        t = input.ConsumeRandomLengthString();
    const std::string file = input.ConsumeRemainingBytesAsString();

    if (file.size() > IniSettingsStore::kMaxFileSize) {
        const fs::path config = scratch() / "config";
        const fs::path conf = config / "Tav" / "Vorn2.conf";
        fs::remove_all(config);
        fs::create_directories(config / "Tav");
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        std::ofstream(conf, std::ios::binary) << file;
        bool failed;
        if (load(failed) != TargetTable{} || !failed)
            Fail("an oversized file was read");
        if (save(typed).empty() || vorn::test::Slurp(conf) != file)
            Fail("an oversized file was replaced");
        return 0;
    }
    const TargetTable loaded = read(file);
    if (read(file) != loaded)
        Fail("loading twice differs");

    // Saving what was loaded changes none of it, even a value that ends in a
    // CR and could not be written anew.
    bool refused = false;
    const std::string first = write(file, loaded, refused);
    if (refused)
        Fail("saving what was loaded refused a value");
    requireKept(file, first);
    const TargetTable again = read(first);
    if (again != loaded)
        Fail("saved " + show(loaded) + ", loaded " + show(again));

    TargetTable expected = typed;
    bool mustRefuse = false;
    for (std::size_t k = 0; k < typed.size(); ++k)
        if (breaksLine(typed[k]) && typed[k] != again[k]) {
            expected[k] = again[k];
            mustRefuse = true;
        }
    const std::string second = write(first, typed, refused);
    if (refused != mustRefuse)
        Fail(mustRefuse ? "a value with a line end was not refused" : "a value was refused");
    requireKept(first, second);
    const TargetTable back = read(second);
    if (back != expected)
        Fail("saved " + show(expected) + ", loaded " + show(back));

    return 0;
}
