#include "feed/FeedServer.h"

#include "feed/FeedState.h"

#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QWebSocket>
#include <QWebSocketServer>

namespace {

// Every socket carries its deadline timer under this name.
const char* const kDeadline = "feedDeadline";
// Set on a socket once its answer is written: from then on it only drains.
const char* const kAnswered = "feedAnswered";

// /live clients have nothing to say to the feed; anything they send is capped and ignored.
constexpr quint64 kMaxIncomingMessage = 1024;

QByteArray loadPage(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QTimer* deadlineOf(QTcpSocket* socket) {
    return socket->findChild<QTimer*>(QLatin1String(kDeadline), Qt::FindDirectChildrenOnly);
}

} // namespace

FeedServer::FeedServer(QObject* parent)
    : QObject(parent), listener_(new QTcpServer(this)),
      webSockets_(new QWebSocketServer(QStringLiteral("Pucktally"), QWebSocketServer::NonSecureMode,
                                       this)) {
    const QByteArray html = "text/html; charset=utf-8";
    pages_.insert(int(FeedRoute::Overlay), {html, loadPage(QStringLiteral(":/feed/overlay.html"))});
    pages_.insert(int(FeedRoute::Board), {html, loadPage(QStringLiteral(":/feed/board.html"))});
    pages_.insert(int(FeedRoute::Script),
                  {"text/javascript; charset=utf-8", loadPage(QStringLiteral(":/feed/feed.js"))});
    message_ = feedJson(lastState_, lastLook_, sequence_);

    listener_->setMaxPendingConnections(kMaxConnections);
    webSockets_->setHandshakeTimeout(std::chrono::milliseconds(requestTimeoutMs_));
    webSockets_->setMaxPendingConnections(kMaxConnections);
    connect(listener_, &QTcpServer::newConnection, this, &FeedServer::acceptConnections);
    connect(webSockets_, &QWebSocketServer::newConnection, this, &FeedServer::acceptLiveClients);
}

FeedServer::~FeedServer() {
    close();
}

void FeedServer::setRequestTimeoutMs(int ms) {
    requestTimeoutMs_ = ms;
    webSockets_->setHandshakeTimeout(std::chrono::milliseconds(ms));
}

bool FeedServer::listen(const QHostAddress& address, quint16 port) {
    return listener_->listen(address, port);
}

void FeedServer::close() {
    listener_->close();
    for (QWebSocket* client : std::as_const(clients_)) {
        client->disconnect(this);
        client->abort();
        client->deleteLater();
    }
    const bool hadClients = !clients_.isEmpty();
    clients_.clear();
    if (hadClients)
        emit liveClientsChanged(0);
}

bool FeedServer::isListening() const {
    return listener_->isListening();
}

quint16 FeedServer::port() const {
    return listener_->serverPort();
}

QString FeedServer::errorString() const {
    return listener_->errorString();
}

void FeedServer::publish(const BoardState& state, const FeedLook& look) {
    if (sequence_ > 0 && state == lastState_ && look == lastLook_)
        return;
    lastState_ = state;
    lastLook_ = look;
    message_ = feedJson(state, look, ++sequence_);
    const QString text = QString::fromUtf8(message_);
    for (QWebSocket* client : QList<QWebSocket*>(clients_)) {
        // A client that does not read its messages is dropped before it costs memory.
        if (client->bytesToWrite() > kMaxClientBacklog) {
            dropClient(client);
            emit slowClientDropped();
            continue;
        }
        client->sendTextMessage(text);
    }
}

void FeedServer::acceptConnections() {
    while (QTcpSocket* socket = listener_->nextPendingConnection()) {
        ++open_;
        // The count follows the socket to its end, whoever owns it by then.
        connect(socket, &QObject::destroyed, this, [this] { --open_; });
        socket->setReadBufferSize(kMaxRequestHeadBytes + 1);

        auto* deadline = new QTimer(socket);
        deadline->setObjectName(QLatin1String(kDeadline));
        deadline->setSingleShot(true);
        connect(deadline, &QTimer::timeout, socket, [this, socket] {
            if (socket->property(kAnswered).toBool())
                socket->abort();
            else
                refuse(socket, 408);
        });
        deadline->start(requestTimeoutMs_);
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);

        if (open_ > kMaxConnections) {
            refuse(socket, 503);
            continue;
        }
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
        if (socket->bytesAvailable() > 0)
            readRequest(socket);
    }
}

void FeedServer::readRequest(QTcpSocket* socket) {
    if (socket->property(kAnswered).toBool()) {
        socket->skip(socket->bytesAvailable()); // one request per connection
        return;
    }
    // Peek, so a WebSocket handshake is still unread when the WebSocket server takes it.
    const QByteArray received = socket->peek(kMaxRequestHeadBytes + 1);
    const FeedRequest request = judgeFeedRequest(received);
    if (request.status == 0)
        return; // more to come
    if (request.status != 200) {
        refuse(socket, request.status);
        return;
    }
    if (request.webSocket) {
        upgrade(socket);
        return;
    }
    socket->skip(request.headLength);
    answer(socket, request);
}

void FeedServer::answer(QTcpSocket* socket, const FeedRequest& request) {
    if (request.route == FeedRoute::State) {
        send(socket, 200, "application/json", message_, !request.headOnly, true);
        return;
    }
    const Resource page = pages_.value(int(request.route));
    send(socket, 200, page.type, page.body, !request.headOnly, false);
}

void FeedServer::refuse(QTcpSocket* socket, int status) {
    socket->skip(socket->bytesAvailable());
    send(socket, status, "text/plain; charset=utf-8",
         QByteArray::number(status) + ' ' + feedStatusText(status) + '\n', true, false);
}

void FeedServer::send(QTcpSocket* socket, int status, const QByteArray& type,
                      const QByteArray& body, bool withBody, bool anyOrigin) {
    QByteArray head = "HTTP/1.1 " + QByteArray::number(status) + ' ' + feedStatusText(status) +
                      "\r\nContent-Type: " + type +
                      "\r\nContent-Length: " + QByteArray::number(body.size()) +
                      "\r\nServer: " + kFeedProgram.toLatin1() +
                      "\r\nCache-Control: no-store\r\nX-Content-Type-Options: nosniff"
                      "\r\nConnection: close\r\n";
    if (anyOrigin)
        head += "Access-Control-Allow-Origin: *\r\n";
    head += "\r\n";
    socket->write(withBody ? head + body : head);
    socket->setProperty(kAnswered, true);
    socket->disconnectFromHost();
    // A client that never reads its answer is cut off after a while.
    if (QTimer* deadline = deadlineOf(socket))
        deadline->start(kFlushTimeoutMs);
}

void FeedServer::upgrade(QTcpSocket* socket) {
    // The WebSocket server reads the handshake from here on and owns the socket; none of
    // our connections may act on it behind its back.
    socket->disconnect();
    delete deadlineOf(socket);
    connect(socket, &QObject::destroyed, this, [this] { --open_; });
    webSockets_->handleConnection(socket);
    emit socket->readyRead();
}

void FeedServer::acceptLiveClients() {
    while (QWebSocket* client = webSockets_->nextPendingConnection()) {
        client->setParent(this);
        client->setMaxAllowedIncomingMessageSize(kMaxIncomingMessage);
        client->setMaxAllowedIncomingFrameSize(kMaxIncomingMessage);
        clients_.append(client);
        emit liveClientsChanged(liveClients());
        connect(client, &QWebSocket::disconnected, this, [this, client] { dropClient(client); });
        // A client that connects mid-game gets the whole board at once.
        client->sendTextMessage(QString::fromUtf8(message_));
    }
}

void FeedServer::dropClient(QWebSocket* client) {
    if (!clients_.removeOne(client))
        return;
    client->disconnect(this);
    client->abort();
    client->deleteLater();
    emit liveClientsChanged(liveClients());
}
