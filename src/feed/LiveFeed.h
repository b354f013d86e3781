#pragma once

#include "feed/FeedService.h"
#include "feed/FeedSettings.h"
#include "game/BoardState.h"
#include "penalties/PenaltyRules.h"

#include <QObject>
#include <functional>
#include <optional>

struct Settings;

// The live feed tied to the program: started, moved or stopped as its settings say, and fed
// the board's state (with names, colours and digit style from the settings) whenever the
// board changed. While it is off it costs the board nothing and opens no port.
class LiveFeed : public QObject {
    Q_OBJECT
  public:
    LiveFeed(const Settings& settings, std::function<BoardState()> readBoard,
             QObject* parent = nullptr);

    // Starts, restarts or stops the feed to match `feed`; false with errorString() when it
    // should run but cannot listen.
    bool apply(const FeedSettings& feed);
    bool isRunning() const { return service_.isRunning(); }
    quint16 port() const { return service_.port(); }
    QString errorString() const { return service_.errorString(); }
    // One line for the timekeeper: where viewers find the feed and how many watch it, or
    // why it is not running.
    QString status() const;
    // Why the feed does not serve while its settings say it should, with the address and port
    // it could not have; empty while it serves or is off.
    QString failure() const;

    // The board changed: the feed sends what it shows now.
    void boardChanged();
    // The penalty assistant's rules while it is on: the feed then tells its state too.
    void setPenaltyRules(const std::optional<penalties::PenaltyRules>& rules);

  signals:
    // status() says something else now.
    void statusChanged();

  private:
    const Settings& settings_;
    std::function<BoardState()> readBoard_;
    FeedService service_;
    FeedSettings applied_;
    bool failed_ = false;
    std::optional<penalties::PenaltyRules> penaltyRules_;
};
