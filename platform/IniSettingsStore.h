#pragma once

#include "platform/SettingsStore.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

// The settings store as a text file of sections ("[TGT]") and values
// ("VAL1=65.00") under the user's configuration folder: key "Tav\Vorn2" is
// $XDG_CONFIG_HOME/Tav/Vorn2.conf (~/.config when that is unset, empty or
// not an absolute path).
//
// Names of sections and values match without regard to ASCII case. A value's
// text is everything after the first "=" of its line up to the line end (CR LF
// or LF), byte for byte; a missing value reads as the default. When a name is
// there twice, the first line counts, for reading and for writing.
//
// release() writes what was written since open() into the file in place:
// each value's line keeps everything up to its "=" and its line end, a value
// missing from its section is added after the section's last value, a missing
// section is added at the end, and every other byte of the file stays as it
// was. The file is replaced whole through a synced temporary file in its
// folder, under an flock on "Vorn2.conf.lock" beside it; a link at the file's
// place is written through to its target.
class IniSettingsStore : public SettingsStore {
public:
    // A file larger than this is neither read nor replaced.
    static constexpr std::size_t kMaxFileSize = std::size_t{1} << 20;

    // `lockWaitMs`: how long release() waits for another program's save.
    explicit IniSettingsStore(int lockWaitMs = 2000);

    // The file a key is kept in.
    static std::string fileForKey(const std::string& key);

    // Creates the file, empty, when there is none (nor a link) at its place.
    void open(const std::string& key) override;
    std::string readString(const std::string& section, const std::string& name,
                           const std::string& def) override;
    // A value with a line end in it cannot be kept in a line of the file:
    // release() leaves that value's line alone and says so.
    void writeString(const std::string& section, const std::string& name,
                     const std::string& value) override;
    // Raises StoreError, naming the file, when what was written could not be
    // kept, or when nothing was written and open() could not read the file.
    void release() override;

    struct Write {
        std::string section;
        std::string name;
        std::string value;
    };
    // The text of a value in a file's text; false when it is missing.
    static bool find(std::string_view text, std::string_view section, std::string_view name,
                     std::string& value);
    // The file's text with the writes made, as release() writes it. Values
    // with a line end in them are left out and their names added to `refused`.
    static std::string edit(std::string_view text, const std::vector<Write>& writes,
                            std::vector<std::string>& refused);

private:
    void commit();

    int lockWaitMs_;
    std::string path_;
    std::string text_;        // the file as open() read it
    std::string readProblem_; // why open() could not read it
    std::vector<Write> written_;
};

} // namespace vorn
