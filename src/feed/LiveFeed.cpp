#include "feed/LiveFeed.h"

#include "feed/FeedState.h"

LiveFeed::LiveFeed(const Settings& settings, std::function<BoardState()> readBoard, QObject* parent)
    : QObject(parent), settings_(settings), readBoard_(std::move(readBoard)) {}

bool LiveFeed::apply(const FeedSettings& feed) {
    if (feed == applied_ && (service_.isRunning() || !feed.enabled))
        return true;
    applied_ = feed;
    if (!feed.enabled) {
        service_.stop();
        return true;
    }
    if (!service_.start(feed.address, feed.port))
        return false;
    boardChanged(); // the first client must not wait for the board's next change
    return true;
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
