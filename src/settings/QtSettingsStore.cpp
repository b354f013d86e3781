#include "settings/QtSettingsStore.h"

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
    QSettings& settings = settingsFor(application);
    // Stored as a string, never as a number, so that the text comes back unchanged.
    settings.setValue(entryName(section, key), QVariant(value));
    settings.sync();
}
