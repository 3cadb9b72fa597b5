#pragma once

#include "platform/SettingsStore.h"

#include <QMap>
#include <QString>
#include <memory>

class QSettings;

namespace vorn {

// The settings store as an INI file under the user's configuration folder:
// key "Tav\Vorn2" is $XDG_CONFIG_HOME/Tav/Vorn2.conf (~/.config when unset).
class QtSettingsStore : public SettingsStore {
public:
    QtSettingsStore();
    ~QtSettingsStore() override;

    // The file a key is kept in.
    static QString fileForKey(const std::string& key);

    void open(const std::string& key) override;
    std::string readString(const std::string& section, const std::string& name,
                           const std::string& def) override;
    void writeString(const std::string& section, const std::string& name,
                     const std::string& value) override;
    void release() override;

private:
    QString rawValue(const QString& section, const QString& name) const;
    // True when a fresh read of the file gives every value written since
    // open().
    bool fileHoldsWrittenValues() const;

    QString path_;
    std::unique_ptr<QSettings> settings_;
    // Something other than a regular file is in the file's place.
    bool blocked_ = false;
    // What was written since open(), by "section/name".
    QMap<QString, QString> written_;
};

} // namespace vorn
