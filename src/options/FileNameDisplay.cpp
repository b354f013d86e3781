#include "options/FileNameDisplay.h"

#include <QDir>
#include <QFileInfo>

QString ownFileNameOnDisk(const QString& path) {
    const QFileInfo info(path);
    return info.exists() ? info.fileName() : QString();
}

QString ChopFileName(const QString& fileName, int length, const OwnFileName& ownName) {
    if (fileName.size() <= length)
        return fileName.isEmpty() ? QStringLiteral("[No File Selected]") : fileName;
    const QString marker = QStringLiteral(" ...") + QDir::separator();
    const QString name = ownName(fileName);
    const int head = length - static_cast<int>(name.size() + marker.size());
    if (head < 0)
        return name;
    return fileName.left(head) + marker + name;
}
