#include "settings/QtSettingsStore.h"

#include "platform/SettingsLocation.h"

#include "settings/AbandonedLock.h"

#include <QStringList>
#include <QVariant>

namespace {

QString entryName(const QString& section, const QString& key) {
    return section + QLatin1Char('/') + key;
}

} // namespace

QtSettingsStore::QtSettingsStore() = default;
QtSettingsStore::~QtSettingsStore() = default;

QSettings& QtSettingsStore::settingsFor(const QString& application) const {
    auto found = open_.find(application);
    if (found == open_.end())
        found = open_.emplace(application, openSettings(application)).first;
    return *found->second;
}

QString QtSettingsStore::get(const QString& application, const QString& section, const QString& key,
                             const QString& defaultValue) const {
    QSettings& settings = settingsFor(application);
    const QVariant value = settings.value(entryName(section, key));
    if (!value.isValid())
        return defaultValue;
    // This program writes single texts only; a hand-edited INI line with bare commas reads
    // back as a list, which is joined again rather than lost.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

void QtSettingsStore::save(const QString& application, const QString& section, const QString& key,
                           const QString& value) {
    saveAll(application, {SettingsEntry{section, key, value}});
}

void QtSettingsStore::saveAll(const QString& application,
                              const std::vector<SettingsEntry>& entries) {
    QSettings& settings = settingsFor(application);
    // Stored as strings, never as numbers, so that the texts come back unchanged.
    for (const SettingsEntry& e : entries)
        settings.setValue(entryName(e.section, e.key), QVariant(e.value));
    // QSettings takes a lock file beside the INI file for its write; one that a killed run
    // left behind would hold this write up for half a minute. (A registry store has none.)
    removeAbandonedLock(settings.fileName() + QStringLiteral(".lock"));
    settings.sync();
}
