#pragma once

#include "feed/FeedState.h"
#include "game/BoardState.h"

#include <QObject>
#include <QString>
#include <QThread>

class FeedServer;

// The live feed as the program sees it: a FeedServer running in a thread of its own. Its
// calls return at once (but start, which waits for the port); publishing only posts the state
// to the server's thread, so the board never waits for the network.
class FeedService : public QObject {
    Q_OBJECT
  public:
    explicit FeedService(QObject* parent = nullptr);
    ~FeedService() override;

    // Listens on `address`:`port` (0 takes any free port); false with errorString() when it
    // cannot. A running feed is stopped first.
    bool start(const QString& address, quint16 port);
    void stop();
    bool isRunning() const { return port_ != 0; }
    quint16 port() const { return port_; }
    QString errorString() const { return error_; }
    // WebSocket clients of /live at the latest count (0 while stopped).
    int liveClients() const { return liveClients_; }

    // Hands the board's state to the feed; ignored while the feed is stopped.
    void publish(const BoardState& state, const FeedLook& look);

  signals:
    void liveClientsChanged(int count);

  private:
    void countLiveClients(int count);

    QThread thread_;
    FeedServer* server_ = nullptr;
    quint16 port_ = 0;
    QString error_;
    int liveClients_ = 0;
    int serverGeneration_ = 0; // counts from a stopped server arrive late and are dropped
};
