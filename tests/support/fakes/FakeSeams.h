#pragma once

#include "platform/Clock.h"
#include "platform/FileChooser.h"
#include "platform/HelpViewer.h"
#include "platform/Prompter.h"
#include "platform/SettingsStore.h"

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace vorn::test {

struct ShownBox {
    std::string text;
    std::string caption;
    unsigned flags;
    bool operator==(const ShownBox&) const = default;
};
inline std::ostream& operator<<(std::ostream& out, const ShownBox& b) {
    return out << '"' << b.text << "\" \"" << b.caption << "\" 0x" << std::hex << b.flags
               << std::dec;
}
using Boxes = std::vector<ShownBox>;

// Records every box; answers from a queue (IDOK when it runs dry).
class FakePrompter : public Prompter {
public:
    int show(const std::string& text, const std::string& caption, unsigned flags) override;
    std::deque<int> answers;
    std::vector<ShownBox> shown;
};

// Answers the dialogs from queues of names; nullopt stands for a cancel.
// `afterOpen` runs on a chosen open name before the program gets to read it.
class FakeFileChooser : public FileChooser {
public:
    std::optional<std::string> chooseSave() override;
    std::optional<std::string> chooseOpen() override;
    void offer(const std::string& path) override { offers.push_back(path); }
    std::vector<std::string> offers; // every file offered, in order
    std::deque<std::optional<std::string>> saveAnswers;
    std::deque<std::optional<std::string>> openAnswers;
    std::optional<std::string> chooseExport(ExportKind kind) override;
    std::deque<std::optional<std::string>> exportAnswers;
    std::vector<ExportKind> exportKinds; // one per call
    std::function<void(const std::string&)> afterOpen;
    int saveCalls = 0;
    int openCalls = 0;
};

class FakeHelpViewer : public HelpViewer {
public:
    void command(unsigned code, long data) override { calls.push_back({code, data}); }
    std::vector<std::pair<unsigned, long>> calls;
};

class FixedClock : public Clock {
public:
    explicit FixedClock(LocalTime t) : time(t) {}
    LocalTime now() override { return time; }
    LocalTime time;
};

// A settings store in memory: sections of named values.
class MemorySettingsStore : public SettingsStore {
public:
    using Sections = std::map<std::string, std::map<std::string, std::string>>;
    MemorySettingsStore() = default;
    explicit MemorySettingsStore(Sections start) : values(std::move(start)) {}

    void open(const std::string& key, const std::string& what) override;
    std::string readString(const std::string& section, const std::string& name,
                           const std::string& def) override;
    void writeString(const std::string& section, const std::string& name,
                     const std::string& value) override;
    void release() override;

    Sections values;
    std::vector<std::string> opened; // keys, in order
    int releases = 0;
    int writes = 0;
    bool isOpen = false;
    std::string failReleaseWith; // non-empty: release() raises StoreError with it
};

} // namespace vorn::test
