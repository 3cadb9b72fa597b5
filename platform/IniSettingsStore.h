#pragma once

#include "platform/IniText.h"
#include "platform/PosixFile.h"
#include "platform/SettingsStore.h"

#include <cstddef>
#include <string>
#include <vector>

namespace vorn {

// The settings store as a text file of sections ("[TGT]") and values
// ("VAL1=65.00") under the user's configuration folder: key "Tav\Vorn2" is
// $XDG_CONFIG_HOME/Tav/Vorn2.conf (~/.config when that is unset, empty or
// not an absolute path).
//
// The text is read and edited as ini::Find and ini::Edit say; a missing
// value reads as the default. release() writes what was written since open()
// into the file in place. The file is replaced whole through a synced
// temporary file in its folder, under an flock on "Vorn2.conf.lock" beside
// it; a link at the file's place is written through to its target. A
// temporary file that a killed save left is removed by the next open() or
// release().
class IniSettingsStore : public SettingsStore {
public:
    // A file larger than this is neither read nor replaced.
    static constexpr std::size_t kMaxFileSize = std::size_t{1} << 20;

    // `patience`: how long release() waits for another program's save; two
    // seconds when null.
    explicit IniSettingsStore(posix::LockPatience* patience = nullptr);

    // The file a key is kept in.
    static std::string fileForKey(const std::string& key);

    // Creates the file, empty, when there is none (nor a link) at its place.
    void open(const std::string& key, const std::string& what) override;
    std::string readString(const std::string& section, const std::string& name,
                           const std::string& def) override;
    // A value with a line end in it cannot be kept in a line of the file:
    // release() leaves that value's line alone and says so.
    void writeString(const std::string& section, const std::string& name,
                     const std::string& value) override;
    // Raises StoreError, naming the file, when what was written could not be
    // kept, or when nothing was written and open() could not read the file.
    void release() override;

private:
    void create();
    void removeStaleTemps();
    void commit();
    void replace(const std::string& file, const std::vector<ini::Write>& writes);

    posix::LockPatience* patience_;
    std::string path_;
    std::string what_;        // what the messages say was not read or kept
    std::string text_;        // the file as open() read it
    std::string readProblem_; // why open() could not read it
    std::vector<ini::Write> written_;
};

} // namespace vorn
