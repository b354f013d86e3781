#include "help/HelpDocument.h"

#include "help/RtfReader.h"
#include "settings/ProgramFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QTextDocument>

QString HelpDocumentPath(const QString& folder) {
    return fileInFolder(folder, QString::fromLatin1(kHelpFileName));
}

bool LoadHelpDocument(const QString& path, QTextDocument& document) {
    if (!QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    ReadRtf(bytes, document);
    return true;
}
