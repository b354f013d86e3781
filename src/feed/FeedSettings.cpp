#include "feed/FeedSettings.h"

#include "settings/Settings.h"
#include "settings/SettingsStore.h"

#include <QHostAddress>

namespace {

const QString kEnabled = QStringLiteral("Enabled");
const QString kAddress = QStringLiteral("Address");
const QString kPort = QStringLiteral("Port");
const QString kFeedOption = QStringLiteral("--feed");

std::optional<quint16> parsePort(const QString& text) {
    bool ok = false;
    const uint port = text.toUInt(&ok);
    if (!ok || port < 1 || port > 65535 || text.startsWith(QLatin1Char('+')))
        return std::nullopt;
    return static_cast<quint16>(port);
}

} // namespace

bool isFeedAddress(const QString& address) {
    QHostAddress parsed;
    return !address.isEmpty() && parsed.setAddress(address) &&
           (parsed.protocol() == QAbstractSocket::IPv4Protocol ||
            parsed.protocol() == QAbstractSocket::IPv6Protocol) &&
           parsed.scopeId().isEmpty();
}

FeedSettings loadFeedSettings(const SettingsStore& store) {
    const FeedSettings defaults;
    FeedSettings feed;
    const auto get = [&](const QString& key, const QString& fallback) {
        return store.get(kSettingsApplication, kFeedSettingsSection, key, fallback).trimmed();
    };
    feed.enabled = get(kEnabled, QStringLiteral("0")) == QLatin1String("1");
    const QString address = get(kAddress, defaults.address);
    feed.address = isFeedAddress(address) ? address : defaults.address;
    feed.port = parsePort(get(kPort, QString::number(defaults.port))).value_or(defaults.port);
    return feed;
}

void saveFeedSettings(const FeedSettings& feed, SettingsStore& store) {
    store.save(kSettingsApplication, kFeedSettingsSection, kEnabled,
               feed.enabled ? QStringLiteral("1") : QStringLiteral("0"));
    store.save(kSettingsApplication, kFeedSettingsSection, kAddress, feed.address);
    store.save(kSettingsApplication, kFeedSettingsSection, kPort, QString::number(feed.port));
}

std::optional<FeedSettings> parseFeedEndpoint(const QString& text, const QString& defaultAddress) {
    FeedSettings feed;
    feed.enabled = true;
    QString address = defaultAddress;
    QString port = text;
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon >= 0) {
        address = text.left(colon);
        port = text.mid(colon + 1);
        if (address.startsWith(QLatin1Char('[')) && address.endsWith(QLatin1Char(']')))
            address = address.mid(1, address.size() - 2);
        else if (address.contains(QLatin1Char(':')))
            return std::nullopt; // an IPv6 address needs its brackets before the port
    }
    const auto portNumber = parsePort(port);
    if (!portNumber || !isFeedAddress(address))
        return std::nullopt;
    feed.address = address;
    feed.port = *portNumber;
    return feed;
}

QString takeFeedOptions(QStringList& args, FeedSettings& feed) {
    QString error;
    const auto use = [&](const QString& value) {
        if (const auto endpoint = parseFeedEndpoint(value, FeedSettings{}.address)) {
            feed = *endpoint;
            return true;
        }
        error = value.isEmpty()
                    ? QStringLiteral("--feed needs [ADDRESS:]PORT, e.g. --feed 127.0.0.1:8080")
                    : QStringLiteral("--feed %1: not [ADDRESS:]PORT with a port from 1 to 65535, "
                                     "e.g. --feed 127.0.0.1:8080")
                          .arg(value);
        return false;
    };
    for (qsizetype i = 0; i < args.size();) {
        if (args[i] == kFeedOption) {
            args.removeAt(i);
            // A word that is no endpoint stays for the rest of the program ("bypass").
            if (i < args.size() ? use(args[i]) : use(QString()))
                args.removeAt(i);
        } else if (args[i].startsWith(kFeedOption + QLatin1Char('='))) {
            use(args.takeAt(i).mid(kFeedOption.size() + 1));
        } else {
            ++i;
        }
    }
    return error;
}
