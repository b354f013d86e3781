#pragma once

#include "feed/FeedSettings.h"
#include "feed/LiveFeed.h"

#include <QStringList>
#include <memory>

class SettingsStore;
struct Settings;
class frmScoreBoard;

// The live feed's settings for this run: its own stored section, with "--feed
// [ADDRESS:]PORT" taken off `args` on top (before the program looks for "bypass"). A bad
// endpoint is reported on the console and leaves the stored settings in force.
FeedSettings takeLiveFeedOptions(QStringList& args, const SettingsStore& store);

// Ties a live feed to `board` and starts it when `feed` says so. When the options dialog
// stores changed feed settings, the feed follows them. A port it cannot have is reported on
// standard error and to the timekeeper (tellOperator), and the board runs on without the feed.
std::unique_ptr<LiveFeed> startLiveFeed(const FeedSettings& feed, const Settings& settings,
                                        const SettingsStore& store, frmScoreBoard& board);
