#include "platform/Settings.h"

#include <algorithm>
#include <charconv>

namespace vorn {
namespace {

// The longest path the system opens.
constexpr std::size_t kLongestPath = 4095;

} // namespace

namespace rule {

std::optional<bool> OnOrOff(const std::string& text) {
    return text == "1";
}

std::optional<int> WholeNumber(const std::string& text, int low, int high) {
    if (text.empty() || text.size() > 5 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

std::optional<std::string> FullPath(const std::string& text) {
    const bool control = std::any_of(text.begin(), text.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7F;
    });
    if (text.empty() || text.front() != '/' || text.back() == '/' || text.size() > kLongestPath ||
        control)
        return std::nullopt;
    return text;
}

std::optional<std::string> Verbatim(const std::string& text) {
    return text;
}

} // namespace rule

std::string SettingText(bool on) {
    return on ? "1" : "0";
}

std::string SettingText(int number) {
    return std::to_string(number);
}

void Settings::readTexts(const std::vector<SettingPlace>& places, std::vector<std::string>& texts) {
    texts.clear();
    if (places.empty())
        return;
    store_.open(kSettingsKey, places.front().what);
    for (const SettingPlace& p : places)
        texts.push_back(store_.readString(p.section, p.name, ""));
    store_.release();
}

void Settings::write(const std::vector<SettingChange>& changes) {
    if (changes.empty())
        return;
    store_.open(kSettingsKey, changes.front().place.what);
    for (const SettingChange& c : changes)
        store_.writeString(c.place.section, c.place.name, c.text);
    store_.release();
}

} // namespace vorn
