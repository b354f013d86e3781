#include "app/SingleInstance.h"

#include "app/LocalSocketPlace.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QPointer>
#include <QThread>

namespace {

const QByteArray kShow = QByteArrayLiteral("show\n");
const QByteArray kShown = QByteArrayLiteral("shown\n");
// Long enough for any line of this conversation.
constexpr qint64 kMaxLine = 64;

QString userName() {
    const QString user = qEnvironmentVariable("USER");
    return user.isEmpty() ? qEnvironmentVariable("USERNAME") : user;
}

} // namespace

SingleInstance::SingleInstance(const QString& folder, QObject* parent)
    : QObject(parent), folder_(QDir(folder).absolutePath()),
      lock_(QDir(folder_).filePath(QStringLiteral("pucktally.lock"))) {
    // A board runs for hours: only a dead holder makes the lock stale, never its age.
    lock_.setStaleLockTime(0);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection())
            answer(socket);
    });
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverName(const QString& folder) {
    const QByteArray key = (userName() + QLatin1Char('\n') + QDir(folder).absolutePath()).toUtf8();
    const QByteArray hash = QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex();
    return localSocketPlace(QStringLiteral("pucktally-") + QString::fromLatin1(hash.left(24)));
}

SingleInstance::Claim SingleInstance::claim(int waitMs) {
    QDir().mkpath(folder_);
    // QLockFile removes a lock whose process is gone (checked by its id and name).
    if (lock_.tryLock(0)) {
        listen();
        return Claim::First;
    }
    if (lock_.error() == QLockFile::LockFailedError) {
        const Claim claim = handOver(waitMs);
        // A holder on its way out answers no more and leaves the lock free.
        if (claim == Claim::NoAnswer && lock_.tryLock(0)) {
            problem_.clear();
            listen();
            return Claim::First;
        }
        return claim;
    }
    // No lock can be made here (a folder without write access): a running board may still
    // answer; otherwise the board starts, unguarded rather than not at all.
    problem_ = QStringLiteral("Cannot make the lock file in %1; a second board is not kept "
                              "from starting.")
                   .arg(QDir::toNativeSeparators(folder_));
    if (handOver(std::min(waitMs, 500)) == Claim::Shown)
        return Claim::Shown;
    listen();
    return Claim::First;
}

void SingleInstance::listen() {
    const QString name = serverName(folder_);
    // A socket file left by a holder that died would keep the name taken.
    QLocalServer::removeServer(name);
    if (!server_.listen(name))
        problem_ =
            QStringLiteral("Later starts cannot reach this board: %1").arg(server_.errorString());
}

void SingleInstance::answer(QLocalSocket* socket) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
    // The request may have come in with the connection.
    QMetaObject::invokeMethod(
        this,
        [this, socket = QPointer<QLocalSocket>(socket)] {
            if (socket)
                readRequest(socket);
        },
        Qt::QueuedConnection);
}

void SingleInstance::readRequest(QLocalSocket* socket) {
    if (!socket->canReadLine()) {
        // Whoever sends more than a line without its end is no later start.
        if (socket->bytesAvailable() > kMaxLine)
            socket->abort();
        return;
    }
    if (socket->readLine(kMaxLine) != kShow) {
        socket->abort();
        return;
    }
    emit showRequested();
    socket->write(kShown);
    socket->flush();
    socket->disconnectFromServer();
}

SingleInstance::Claim SingleInstance::handOver(int waitMs) {
    const QDeadlineTimer deadline(waitMs);
    const QString name = serverName(folder_);
    // The holder may have taken the lock a moment ago and not be listening yet.
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(name);
        if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
            QThread::msleep(50);
            continue;
        }
        socket.write(kShow);
        if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
            break;
        QByteArray reply;
        while (!reply.endsWith('\n') && reply.size() < kMaxLine &&
               socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            reply += socket.readAll();
        if (reply == kShown)
            return Claim::Shown;
        break;
    }
    problem_ =
        QStringLiteral("The running board did not answer within %1 seconds.").arg(waitMs / 1000.0);
    return Claim::NoAnswer;
}
