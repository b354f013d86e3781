#pragma once

#include "feed/FeedRequest.h"
#include "feed/FeedState.h"

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <cstdint>

class QTcpServer;
class QTcpSocket;
class QWebSocket;
class QWebSocketServer;

// The live feed's server: answers GET of the board's state as JSON and of the feed's pages,
// and pushes every new state to the WebSocket clients of /live. It lives in a thread of its
// own (see FeedService), so no client, however slow or hostile, can hold up the board.
//
// Promises: it reads only and serves only its built-in resources; a bad or oversized request
// gets its 4xx and the connection is closed; at most kMaxConnections connections are open at
// a time (more get a 503); a request head must arrive within kRequestTimeoutMs (unless set
// otherwise); a WebSocket client whose unsent messages pile up beyond kMaxClientBacklog bytes
// is dropped.
class FeedServer : public QObject {
    Q_OBJECT
  public:
    static constexpr int kMaxConnections = 64;
    static constexpr int kRequestTimeoutMs = 5000;
    static constexpr int kFlushTimeoutMs = 5000;
    static constexpr qint64 kMaxClientBacklog = 64 * 1024;

    explicit FeedServer(QObject* parent = nullptr);
    ~FeedServer() override;

    // The time a request head (or a WebSocket handshake) has to arrive, for connections
    // accepted from now on; tests that hold connections open on a busy machine lengthen it.
    void setRequestTimeoutMs(int ms);

    // Starts listening; false when the address or port cannot be had.
    bool listen(const QHostAddress& address, quint16 port);
    void close();
    bool isListening() const;
    quint16 port() const;
    QString errorString() const;

    // A new board state: becomes the answer to /state.json and goes to every /live client,
    // unless it equals the state sent last.
    void publish(const BoardState& state, const FeedLook& look);

    // The message the feed would send now.
    QByteArray currentMessage() const { return message_; }
    int openConnections() const { return open_; }
    int liveClients() const { return static_cast<int>(clients_.size()); }

  signals:
    // A /live client was dropped for falling behind.
    void slowClientDropped();
    // A /live client came or went (or all were let go): how many there are now.
    void liveClientsChanged(int count);

  private:
    struct Resource {
        QByteArray type;
        QByteArray body;
    };

    void acceptConnections();
    void readRequest(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const FeedRequest& request);
    void refuse(QTcpSocket* socket, int status);
    void send(QTcpSocket* socket, int status, const QByteArray& type, const QByteArray& body,
              bool withBody, bool anyOrigin);
    void upgrade(QTcpSocket* socket);
    void acceptLiveClients();
    void dropClient(QWebSocket* client);

    QTcpServer* listener_;
    QWebSocketServer* webSockets_;
    QHash<int, Resource> pages_;
    QList<QWebSocket*> clients_;
    int open_ = 0;
    int requestTimeoutMs_ = kRequestTimeoutMs;
    std::uint64_t sequence_ = 0;
    BoardState lastState_;
    FeedLook lastLook_;
    QByteArray message_;
};
