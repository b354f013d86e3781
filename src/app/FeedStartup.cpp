#include "app/FeedStartup.h"

#include "board/frmScoreBoard.h"

#include <QDebug>

FeedSettings takeLiveFeedOptions(QStringList& args, const SettingsStore& store) {
    FeedSettings feed = loadFeedSettings(store);
    const QString error = takeFeedOptions(args, feed);
    if (!error.isEmpty())
        qWarning().noquote() << error;
    return feed;
}

namespace {

// A feed that could not start is told where the timekeeper looks too (the console, or the
// title), not only on standard error: a browser on its address would show another program.
void applyFeed(LiveFeed& live, const FeedSettings& feed, frmScoreBoard& board) {
    if (!live.apply(feed)) {
        qWarning().noquote() << "Live feed not started:" << live.errorString();
        board.tellOperator(QStringLiteral("Live feed not started: ") + live.errorString());
    } else if (live.isRunning())
        qInfo().noquote()
            << QStringLiteral("Live feed on http://%1:%2/board").arg(feed.address).arg(live.port());
}

} // namespace

std::unique_ptr<LiveFeed> startLiveFeed(const FeedSettings& feed, const Settings& settings,
                                        const SettingsStore& store, frmScoreBoard& board) {
    auto live = std::make_unique<LiveFeed>(settings, [&board] { return board.logic().state(); });
    QObject::connect(&board, &frmScoreBoard::boardChanged, live.get(), &LiveFeed::boardChanged);
    // A command-line endpoint holds until the user changes the stored feed settings.
    auto stored = std::make_shared<FeedSettings>(loadFeedSettings(store));
    QObject::connect(&board, &frmScoreBoard::optionsClosed, live.get(),
                     [live = live.get(), &store, stored, &board] {
                         const FeedSettings now = loadFeedSettings(store);
                         if (now == *stored)
                             return;
                         *stored = now;
                         applyFeed(*live, now, board);
                     });
    applyFeed(*live, feed, board);
    return live;
}
