#pragma once

#include <QString>
#include <vector>

// One entry of the settings store with the text to write to it.
struct SettingsEntry {
    QString section;
    QString key;
    QString value;
};

// The per-user settings store: text values addressed by application, section and key.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    virtual QString get(const QString& application, const QString& section, const QString& key,
                        const QString& defaultValue) const = 0;
    virtual void save(const QString& application, const QString& section, const QString& key,
                      const QString& value) = 0;
    // Writes several entries, in order, as one write: a store kept in a file rewrites the file
    // once for all of them, not once per entry.
    virtual void saveAll(const QString& application, const std::vector<SettingsEntry>& entries) {
        for (const SettingsEntry& e : entries)
            save(application, e.section, e.key, e.value);
    }
};
