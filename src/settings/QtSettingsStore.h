#pragma once

#include "settings/SettingsStore.h"

#include <QSettings>
#include <QString>
#include <map>
#include <memory>

// The settings store of the running program, on the platform's per-user store. Texts go in
// and come out exactly as given; every save reaches the disk before it returns, so a crash
// loses nothing that was saved, and saveAll() writes all its entries in one rewrite. A lock
// file left behind by a crashed run never holds a write up. Failures to read or write are not
// reported: a value that cannot be read is missing and takes its default.
class QtSettingsStore final : public SettingsStore {
  public:
    QtSettingsStore();
    ~QtSettingsStore() override;
    QtSettingsStore(const QtSettingsStore&) = delete;
    QtSettingsStore& operator=(const QtSettingsStore&) = delete;

    QString get(const QString& application, const QString& section, const QString& key,
                const QString& defaultValue) const override;
    void save(const QString& application, const QString& section, const QString& key,
              const QString& value) override;
    void saveAll(const QString& application, const std::vector<SettingsEntry>& entries) override;

  private:
    QSettings& settingsFor(const QString& application) const;

    // One open store per application, opened on first use.
    mutable std::map<QString, std::unique_ptr<QSettings>> open_;
};
