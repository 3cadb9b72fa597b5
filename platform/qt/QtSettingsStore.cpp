#include "platform/qt/QtSettingsStore.h"

#include "platform/Errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QTextStream>

namespace vorn {

QtSettingsStore::QtSettingsStore() = default;
QtSettingsStore::~QtSettingsStore() = default;

QString QtSettingsStore::fileForKey(const std::string& key) {
    QString rel = QString::fromStdString(key);
    rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return config + QLatin1Char('/') + rel + QStringLiteral(".conf");
}

void QtSettingsStore::open(const std::string& key) {
    path_ = fileForKey(key);
    written_.clear();
    // QSettings would wait forever for a writer on a FIFO, and "save" into a
    // device: only a regular file, or none yet, can hold the settings.
    const QFileInfo info(path_);
    blocked_ = info.exists() && !info.isFile();
    if (blocked_)
        settings_.reset();
    else
        settings_ = std::make_unique<QSettings>(path_, QSettings::IniFormat);
}

std::string QtSettingsStore::readString(const std::string& section, const std::string& name,
                                        const std::string& def) {
    const QString s = QString::fromStdString(section);
    const QString n = QString::fromStdString(name);
    const QString key = s + QLatin1Char('/') + n;
    if (!settings_ || !settings_->contains(key))
        return def;
    const QVariant v = settings_->value(key);
    // An unquoted value with commas reads as a list: take the line as written.
    if (v.typeId() == QMetaType::QStringList)
        return rawValue(s, n).toStdString();
    return v.toString().toStdString();
}

QString QtSettingsStore::rawValue(const QString& section, const QString& name) const {
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QTextStream in(&file);
    bool inSection = false;
    QString found;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inSection = line == QLatin1Char('[') + section + QLatin1Char(']');
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (inSection && eq > 0 && line.left(eq).trimmed() == name)
            found = line.mid(eq + 1).trimmed(); // the last one wins, as for QSettings
    }
    return found;
}

void QtSettingsStore::writeString(const std::string& section, const std::string& name,
                                  const std::string& value) {
    const QString key = QString::fromStdString(section + "/" + name);
    const QString text = QString::fromStdString(value);
    if (settings_)
        settings_->setValue(key, text);
    else if (!blocked_)
        return; // not open
    written_.insert(key, text);
}

bool QtSettingsStore::fileHoldsWrittenValues() const {
    QSettings fresh(path_, QSettings::IniFormat);
    for (auto it = written_.cbegin(); it != written_.cend(); ++it)
        if (!fresh.contains(it.key()) || fresh.value(it.key()).toString() != it.value())
            return false;
    return true;
}

void QtSettingsStore::release() {
    const bool wrote = !written_.empty();
    bool kept = true;
    if (settings_ && wrote) {
        QDir().mkpath(QFileInfo(path_).absolutePath());
        settings_->sync();
        // The first problem sticks: a FormatError from reading a damaged file
        // hides whether the rewrite worked, so look at what the file holds.
        const QSettings::Status status = settings_->status();
        kept = status == QSettings::NoError ||
               (status == QSettings::FormatError && fileHoldsWrittenValues());
    } else if (blocked_ && wrote) {
        kept = false;
    }
    settings_.reset();
    blocked_ = false;
    written_.clear();
    if (!kept)
        throw StoreError(
            "目標値を設定ファイル「" + path_.toStdString() +
            "」に保存できませんでした。\nフォルダーの書き込み許可と空き容量を確かめてください。");
}

} // namespace vorn
