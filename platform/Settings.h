#pragma once

#include "core/Errors.h"
#include "core/Quantities.h"
#include "platform/SettingsStore.h"

#include <cstddef>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace vorn {

// The settings file's key: the targets and the conveniences below are kept in
// $XDG_CONFIG_HOME/Tav/Vorn2.conf.
inline constexpr const char* kSettingsKey = "Tav\\Vorn2";

// Where a value is kept, and what the store's messages call it.
struct SettingPlace {
    const char* section;
    const char* name;
    const char* what;
};

// One value of the settings file: its place, its value when none is kept,
// and the rule that reads its text (nothing: a text the value cannot have).
template <class T> struct Setting {
    using Type = T;
    SettingPlace place;
    T fallback;
    std::optional<T> (*read)(const std::string& text);
};

// The rules of the table below. On is "1": any other text is off.
namespace rule {
std::optional<bool> OnOrOff(const std::string& text);
// A whole number in [low, high] written in plain digits.
std::optional<int> WholeNumber(const std::string& text, int low, int high);
template <int Low, int High> std::optional<int> WholeIn(const std::string& text) {
    return WholeNumber(text, Low, High);
}
// A full path to a file the system can open: no folder, no control character.
std::optional<std::string> FullPath(const std::string& text);
// Any text, as it is.
std::optional<std::string> Verbatim(const std::string& text);
} // namespace rule

// How the user left the windows, kept between runs: a new value is one line.
inline constexpr const char* kGraphWindowWhat = "グラフウィンドウの項目と大きさ";
inline constexpr int kLargestWindowSide = 16384; // beyond any screen: not written by us
// clang-format off
inline constexpr Setting<bool> kGraphTrend{{"GRAPH", "TREND", "傾向線を表示するかどうか"}, false, rule::OnOrOff};
inline constexpr Setting<bool> kGraphCalendar{{"GRAPH", "CALENDAR", "日付で表示するかどうか"}, false, rule::OnOrOff};
inline constexpr Setting<int> kGraphQuantity{{"GRAPH", "QUANTITY", kGraphWindowWhat}, 0, rule::WholeIn<0, kQuantityCount - 1>};
inline constexpr Setting<int> kGraphWidth{{"GRAPH", "WIDTH", kGraphWindowWhat}, 463, rule::WholeIn<463, kLargestWindowSide>};
inline constexpr Setting<int> kGraphHeight{{"GRAPH", "HEIGHT", kGraphWindowWhat}, 318, rule::WholeIn<318, kLargestWindowSide>};
inline const Setting<std::string> kLogFile{{"LOG", "FILE", "最後に使った記録ファイルの名前"}, "", rule::FullPath};
// clang-format on

// A value to write, in its stored form.
struct SettingChange {
    SettingPlace place;
    std::string text;
};
std::string SettingText(bool on);
std::string SettingText(int number);
inline std::string SettingText(const std::string& text) {
    return text;
}
template <class T> SettingChange ChangeOf(const Setting<T>& key, const T& value) {
    return {key.place, SettingText(value)};
}

// The typed values of the settings file, over the store: each reading and
// each writing is one opening of the file.
class Settings {
public:
    explicit Settings(SettingsStore& store) : store_(store) {}

    // The values kept, read in one go: nothing for a value none is kept for,
    // or whose text is not one it can have, and for all when the file cannot
    // be read (the main window says why at start-up).
    template <class... T> std::tuple<std::optional<T>...> kept(const Setting<T>&... keys) {
        std::vector<std::string> texts;
        try {
            readTexts({keys.place...}, texts);
        } catch (const StoreError&) {
            return {};
        }
        return readEach(texts, std::index_sequence_for<T...>{}, keys...);
    }
    // The value kept, or the fallback.
    template <class T> T get(const Setting<T>& key) {
        return std::get<0>(kept(key)).value_or(key.fallback);
    }
    // Raises StoreError when the file could not keep it.
    template <class T> void set(const Setting<T>& key, const T& value) {
        write({ChangeOf(key, value)});
    }

    // The texts at `places`, empty where none is kept. Raises StoreError,
    // with `texts` filled, when the file could not be read.
    void readTexts(const std::vector<SettingPlace>& places, std::vector<std::string>& texts);
    // Writes the changes in one go; nothing when there are none. Raises
    // StoreError when the file could not keep them.
    void write(const std::vector<SettingChange>& changes);

private:
    template <class... T, std::size_t... I>
    static std::tuple<std::optional<T>...> readEach(const std::vector<std::string>& texts,
                                                    std::index_sequence<I...>,
                                                    const Setting<T>&... keys) {
        return {keys.read(texts[I])...};
    }

    SettingsStore& store_;
};

} // namespace vorn
