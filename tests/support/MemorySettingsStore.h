#pragma once

#include "settings/SettingsStore.h"

#include <QMap>
#include <QString>
#include <QStringList>

// An in-memory settings store that also records the order of every save and counts the
// writes: each save() is one, each saveAll() one for all its entries.
class MemorySettingsStore final : public SettingsStore {
  public:
    QString get(const QString& application, const QString& section, const QString& key,
                const QString& defaultValue) const override {
        return values_.value(path(application, section, key), defaultValue);
    }
    void save(const QString& application, const QString& section, const QString& key,
              const QString& value) override {
        record(application, section, key, value);
        ++writes_;
    }
    void saveAll(const QString& application, const std::vector<SettingsEntry>& entries) override {
        for (const SettingsEntry& e : entries)
            record(application, e.section, e.key, e.value);
        ++writes_;
    }

    // Seeds a value without counting it as a save.
    void put(const QString& section, const QString& key, const QString& value) {
        values_.insert(path(QStringLiteral("PuckTally"), section, key), value);
    }
    bool contains(const QString& section, const QString& key) const {
        return values_.contains(path(QStringLiteral("PuckTally"), section, key));
    }
    QString value(const QString& section, const QString& key) const {
        return values_.value(path(QStringLiteral("PuckTally"), section, key));
    }
    // "PuckTally/Section/Key=value" for every save, in order.
    const QStringList& saves() const { return saves_; }
    int size() const { return values_.size(); }
    int writes() const { return writes_; }

  private:
    void record(const QString& a, const QString& s, const QString& k, const QString& value) {
        values_.insert(path(a, s, k), value);
        saves_.append(path(a, s, k) + QLatin1Char('=') + value);
    }
    static QString path(const QString& a, const QString& s, const QString& k) {
        return a + QLatin1Char('/') + s + QLatin1Char('/') + k;
    }
    QMap<QString, QString> values_;
    QStringList saves_;
    int writes_ = 0;
};
