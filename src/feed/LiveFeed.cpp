#include "feed/LiveFeed.h"

#include "feed/FeedState.h"

#include <QHostAddress>
#include <QNetworkInterface>

namespace {

// Where a viewer on another computer finds the feed: for a feed on every interface, this
// computer's first address on the network.
QString addressForViewers(const QString& address) {
    const QHostAddress listening(address);
    if (listening != QHostAddress::AnyIPv4 && listening != QHostAddress::AnyIPv6)
        return address;
    for (const QHostAddress& own : QNetworkInterface::allAddresses())
        if (!own.isLoopback() && own.protocol() == QAbstractSocket::IPv4Protocol)
            return own.toString();
    return QStringLiteral("127.0.0.1");
}

} // namespace

LiveFeed::LiveFeed(const Settings& settings, std::function<BoardState()> readBoard, QObject* parent)
    : QObject(parent), settings_(settings), readBoard_(std::move(readBoard)) {
    connect(&service_, &FeedService::liveClientsChanged, this, &LiveFeed::statusChanged);
}

bool LiveFeed::apply(const FeedSettings& feed) {
    if (feed == applied_ && (service_.isRunning() || !feed.enabled))
        return true;
    applied_ = feed;
    failed_ = feed.enabled && !service_.start(feed.address, feed.port);
    if (!feed.enabled)
        service_.stop();
    emit statusChanged();
    if (failed_)
        return false;
    boardChanged(); // the first client must not wait for the board's next change
    return true;
}

QString LiveFeed::status() const {
    if (failed_)
        return QStringLiteral("Live feed not started: ") + service_.errorString();
    if (!service_.isRunning())
        return QStringLiteral("Live feed off");
    const int viewers = service_.liveClients();
    return QStringLiteral("Live feed on http://%1:%2/board, %3 %4")
        .arg(addressForViewers(applied_.address))
        .arg(service_.port())
        .arg(viewers)
        .arg(viewers == 1 ? QStringLiteral("viewer") : QStringLiteral("viewers"));
}

QString LiveFeed::failure() const {
    if (!applied_.enabled || service_.isRunning())
        return {};
    return QStringLiteral("%1 (%2:%3)").arg(errorString(), applied_.address).arg(applied_.port);
}

void LiveFeed::boardChanged() {
    if (!service_.isRunning())
        return;
    FeedLook look = feedLookOf(settings_);
    look.penaltyRules = penaltyRules_;
    service_.publish(readBoard_(), look);
}

void LiveFeed::setPenaltyRules(const std::optional<penalties::PenaltyRules>& rules) {
    penaltyRules_ = rules;
    boardChanged();
}
