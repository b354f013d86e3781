#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class SettingsStore;

// Where and whether the live feed serves. Off unless the user switches it on.
struct FeedSettings {
    bool enabled = false;
    QString address = QStringLiteral("127.0.0.1");
    quint16 port = 8080;

    bool operator==(const FeedSettings& o) const {
        return enabled == o.enabled && address == o.address && port == o.port;
    }
};

// The feed's own section of the settings store; nothing of the board's sections is touched.
inline const QString kFeedSettingsSection = QStringLiteral("LiveFeed");

// Reads the feed's settings; a missing or damaged entry gives that entry's default.
FeedSettings loadFeedSettings(const SettingsStore& store);
void saveFeedSettings(const FeedSettings& feed, SettingsStore& store);

// A numeric IPv4 or IPv6 address the feed can listen on.
bool isFeedAddress(const QString& address);

// "[ADDRESS:]PORT" (an IPv6 address in brackets): the address and port, or nothing when the
// text is not one. Without an address, `defaultAddress` is used.
std::optional<FeedSettings> parseFeedEndpoint(const QString& text, const QString& defaultAddress);

// Takes the feed's command-line options off `args`: "--feed [ADDRESS:]PORT" and
// "--feed=[ADDRESS:]PORT" switch the feed on for this run at that endpoint. A missing or bad
// endpoint gives an error message and leaves `feed` as it was; a word after "--feed" that is
// no endpoint stays in `args`. Returns an empty string when all went well.
QString takeFeedOptions(QStringList& args, FeedSettings& feed);
