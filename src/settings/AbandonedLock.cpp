#include "settings/AbandonedLock.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLockFile>

bool removeAbandonedLock(const QString& lockFilePath) {
    if (!QFileInfo::exists(lockFilePath))
        return false;
    QLockFile lock(lockFilePath);
    qint64 pid = 0;
    QString host;
    QString application;
    if (lock.getLockInfo(&pid, &host, &application) && pid != QCoreApplication::applicationPid())
        return false;
    // Takes the file's own lock before it removes the file, so a lock that a living process
    // has just created, and not yet filled in, is not taken from it.
    return lock.removeStaleLockFile();
}
