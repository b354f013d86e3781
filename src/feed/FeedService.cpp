#include "feed/FeedService.h"

#include "feed/FeedServer.h"

#include <QHostAddress>
#include <QMetaObject>

FeedService::FeedService(QObject* parent) : QObject(parent) {
    thread_.setObjectName(QStringLiteral("Live feed"));
}

FeedService::~FeedService() {
    stop();
}

bool FeedService::start(const QString& address, quint16 port) {
    stop();
    QHostAddress host;
    if (!host.setAddress(address)) {
        error_ = QStringLiteral("\"%1\" is not an address to listen on").arg(address);
        return false;
    }
    server_ = new FeedServer;
    server_->moveToThread(&thread_);
    // Queued: the server counts in its own thread.
    connect(server_, &FeedServer::liveClientsChanged, this,
            [this, generation = serverGeneration_](int count) {
                if (generation == serverGeneration_)
                    countLiveClients(count);
            });
    connect(&thread_, &QThread::finished, server_, &QObject::deleteLater);
    thread_.start();

    bool listening = false;
    QMetaObject::invokeMethod(
        server_,
        [&] {
            listening = server_->listen(host, port);
            port_ = listening ? server_->port() : 0;
            error_ = listening ? QString() : server_->errorString();
        },
        Qt::BlockingQueuedConnection);
    if (!listening)
        stop();
    return listening;
}

void FeedService::stop() {
    if (!thread_.isRunning())
        return;
    thread_.quit(); // deletes the server in its own thread on the way out
    thread_.wait();
    server_ = nullptr;
    port_ = 0;
    ++serverGeneration_;
    countLiveClients(0);
}

void FeedService::countLiveClients(int count) {
    if (count == liveClients_)
        return;
    liveClients_ = count;
    emit liveClientsChanged(count);
}

void FeedService::publish(const BoardState& state, const FeedLook& look) {
    if (!server_ || port_ == 0)
        return;
    FeedServer* server = server_;
    QMetaObject::invokeMethod(
        server, [server, state, look] { server->publish(state, look); }, Qt::QueuedConnection);
}
