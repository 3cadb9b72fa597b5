#include "support/fakes/FakeSeams.h"

#include "core/Errors.h"

#include <utility>

namespace vorn::test {
namespace {

// The next scripted answer, or `dry` once the script has run out.
template <class T> T Next(std::deque<T>& answers, T dry) {
    if (answers.empty())
        return dry;
    T a = std::move(answers.front());
    answers.pop_front();
    return a;
}

} // namespace

int FakePrompter::show(const std::string& text, const std::string& caption, unsigned flags) {
    shown.push_back({text, caption, flags});
    return Next(answers, mb::IDOK);
}

std::optional<std::string> FakeFileChooser::chooseSave() {
    ++saveCalls;
    return Next(saveAnswers, {});
}

std::optional<std::string> FakeFileChooser::chooseExport(ExportKind kind) {
    exportKinds.push_back(kind);
    return Next(exportAnswers, {});
}

std::optional<std::string> FakeFileChooser::chooseOpen() {
    ++openCalls;
    auto chosen = Next(openAnswers, {});
    if (chosen && afterOpen)
        afterOpen(*chosen);
    return chosen;
}

void MemorySettingsStore::open(const std::string& key, const std::string& /*what*/) {
    opened.push_back(key);
    isOpen = true;
}

std::string MemorySettingsStore::readString(const std::string& section, const std::string& name,
                                            const std::string& def) {
    auto s = values.find(section);
    if (s == values.end())
        return def;
    auto v = s->second.find(name);
    return v == s->second.end() ? def : v->second;
}

void MemorySettingsStore::writeString(const std::string& section, const std::string& name,
                                      const std::string& value) {
    ++writes;
    values[section][name] = value;
}

void MemorySettingsStore::release() {
    ++releases;
    isOpen = false;
    if (!failReleaseWith.empty())
        throw StoreError(failReleaseWith);
}

} // namespace vorn::test
