#include "app/CommandLine.h"

#include <QCoreApplication>

QStringList commandLineWords() {
    return QCoreApplication::arguments().mid(1);
}

bool IsBypass(const QStringList& remaining) {
    return remaining.size() == 1 && remaining.front() == QLatin1String("bypass");
}
