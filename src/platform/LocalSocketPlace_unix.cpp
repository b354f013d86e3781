#include "platform/LocalSocketPlace.h"

#include <QDir>
#include <QStandardPaths>

namespace {
// A socket's path must fit into sockaddr_un's 108 bytes, its ending zero included.
constexpr qsizetype kMaxSocketPath = 100;
} // namespace

QString localSocketPlace(const QString& name) {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        return name;
    const QString path = QDir(runtime).filePath(name);
    return path.toLocal8Bit().size() <= kMaxSocketPath ? path : name;
}
