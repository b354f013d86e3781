#pragma once

#include <QString>

// The program's version, "major.minor.revision", the numbers taken from the build (the
// project version in CMake).
inline QString programVersion() {
    return QStringLiteral("%1.%2.%3")
        .arg(PUCKTALLY_VERSION_MAJOR)
        .arg(PUCKTALLY_VERSION_MINOR)
        .arg(PUCKTALLY_VERSION_PATCH);
}

// The version as the splash window shows it: "Version 1.0.9".
inline QString versionCaption() {
    return QStringLiteral("Version ") + programVersion();
}

// The version as "--version" prints it: "Pucktally 1.0.9".
inline QString versionLine() {
    return QStringLiteral("Pucktally ") + programVersion();
}
