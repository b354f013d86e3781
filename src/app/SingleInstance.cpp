#include "app/SingleInstance.h"

#include "platform/LocalSocketPlace.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
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
    const QDeadlineTimer deadline(waitMs);
    // A holder may be on its way out (no longer listening, the lock not yet gone) or on its
    // way in (the lock taken, not yet listening): both are tried again until the deadline.
    do {
        // QLockFile removes a lock whose process is gone (checked by its id and name).
        if (lock_.tryLock(0)) {
            listen();
            return Claim::First;
        }
        if (lock_.error() != QLockFile::LockFailedError) {
            // No lock can be made here (a folder without write access): the board starts,
            // unguarded rather than not at all.
            problem_ = QStringLiteral("Cannot make the lock file in %1; a second board is not "
                                      "kept from starting.")
                           .arg(QDir::toNativeSeparators(folder_));
            listen();
            return Claim::First;
        }
        // A lock whose content cannot be read: a holder on its way in, between making the
        // file and writing its process id, or one killed (or cut off by a power failure)
        // just then, whose empty lock would keep every later start out for good.
        if (!lockReadable()) {
            if (unreadableForLong())
                lock_.removeStaleLockFile();
            else
                QThread::msleep(50);
            continue;
        }
        switch (askHolder(deadline)) {
        case Answer::Shown:
            return Claim::Shown;
        case Answer::Silent:
            break;
        case Answer::Absent:
            QThread::msleep(50);
            continue;
        }
        break;
    } while (!deadline.hasExpired());
    problem_ =
        QStringLiteral("The running board did not answer within %1 seconds.").arg(waitMs / 1000.0);
    return Claim::NoAnswer;
}

bool SingleInstance::lockReadable() const {
    qint64 pid = 0;
    QString host, application;
    return lock_.getLockInfo(&pid, &host, &application);
}

// A holder writes its lock's content right after making the file: a lock still unreadable a
// while after it was made was abandoned.
bool SingleInstance::unreadableForLong() const {
    const QDateTime made = QFileInfo(lock_.fileName()).lastModified();
    return made.isValid() && made.msecsTo(QDateTime::currentDateTime()) > kUnreadableLockMs;
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

SingleInstance::Answer SingleInstance::askHolder(const QDeadlineTimer& deadline) {
    QLocalSocket socket;
    socket.connectToServer(serverName(folder_));
    if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime())))
        return deadline.hasExpired() ? Answer::Silent : Answer::Absent;
    socket.write(kShow);
    QByteArray reply;
    while (!reply.endsWith('\n') && reply.size() < kMaxLine &&
           socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
        reply += socket.readAll();
    if (reply == kShown)
        return Answer::Shown;
    // Closed without a word: a holder on its way out.
    return reply.isEmpty() && socket.state() == QLocalSocket::UnconnectedState &&
                   !deadline.hasExpired()
               ? Answer::Absent
               : Answer::Silent;
}
