#include "settings/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

QString programFolder() {
    return withoutTrailingSeparator(QCoreApplication::applicationDirPath());
}

QString withoutTrailingSeparator(const QString& path) {
    QString folder = QDir::toNativeSeparators(path);
    while (folder.endsWith(QDir::separator()))
        folder.chop(1);
    return folder;
}

QString fileInFolder(const QString& folder, const QString& fileName) {
    return folder + QDir::separator() + fileName;
}
