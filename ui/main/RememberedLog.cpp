#include "ui/main/RememberedLog.h"

#include "core/Errors.h"
#include "platform/SettingsStore.h"
#include "targets/TargetTable.h"

#include <algorithm>

namespace vorn {

const char* const kLogSection = "LOG";
const char* const kLogFileValueName = "FILE";

namespace {

const char* const kWhat = "最後に使った記録ファイルの名前";
// The longest path the system opens.
constexpr std::size_t kLongestPath = 4095;

bool UsablePath(const std::string& path) {
    const bool control = std::any_of(path.begin(), path.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7F;
    });
    return !path.empty() && path.front() == '/' && path.back() != '/' &&
           path.size() <= kLongestPath && !control;
}

} // namespace

std::string LoadRememberedLog(SettingsStore& store) {
    std::string path;
    try {
        store.open(kTargetKey, kWhat);
        path = store.readString(kLogSection, kLogFileValueName, "");
        store.release();
    } catch (const StoreError&) {
        // The main window has said at start-up what is wrong with the file.
        return {};
    }
    return UsablePath(path) ? path : std::string();
}

void SaveRememberedLog(SettingsStore& store, const std::string& path) {
    store.open(kTargetKey, kWhat);
    store.writeString(kLogSection, kLogFileValueName, path);
    store.release();
}

} // namespace vorn
