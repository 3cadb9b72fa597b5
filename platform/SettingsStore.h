#pragma once

#include <string>

namespace vorn {

// A per-user store of string values under a key, grouped in sections.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // `what`: what the caller keeps under the key, as the store's messages
    // name it ("目標値").
    virtual void open(const std::string& key, const std::string& what) = 0;
    // The value's text, or `def` when the section or the value is missing.
    virtual std::string readString(const std::string& section, const std::string& name,
                                   const std::string& def) = 0;
    virtual void writeString(const std::string& section, const std::string& name,
                             const std::string& value) = 0;
    // Closes the store. Raises StoreError when what was written could not be
    // kept, or, when nothing was written, when the store could not be read.
    virtual void release() = 0;
};

} // namespace vorn
