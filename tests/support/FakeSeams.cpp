#include "support/FakeSeams.h"

#include "core/Errors.h"

namespace vorn::test {

int FakePrompter::show(const std::string& text, const std::string& caption, unsigned flags) {
    shown.push_back({text, caption, flags});
    if (answers.empty())
        return mb::IDOK;
    const int a = answers.front();
    answers.pop_front();
    return a;
}

std::optional<std::string> FakeFileChooser::chooseSave() {
    ++saveCalls;
    if (saveAnswers.empty())
        return std::nullopt;
    auto a = saveAnswers.front();
    saveAnswers.pop_front();
    return a;
}

std::optional<std::string> FakeFileChooser::chooseOpen() {
    ++openCalls;
    if (openAnswers.empty())
        return std::nullopt;
    auto a = openAnswers.front();
    openAnswers.pop_front();
    return a;
}

void MemorySettingsStore::open(const std::string& key) {
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
