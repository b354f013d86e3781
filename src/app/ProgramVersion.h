#pragma once

#include <QString>

// The program's version as the splash window shows it: "Version major.minor.revision", the
// numbers taken from the build (the project version in CMake).
inline QString versionCaption() {
    return QStringLiteral("Version %1.%2.%3")
        .arg(PUCKTALLY_VERSION_MAJOR)
        .arg(PUCKTALLY_VERSION_MINOR)
        .arg(PUCKTALLY_VERSION_PATCH);
}
