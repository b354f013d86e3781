#pragma once

#include <QString>

// The folder that holds the program's executable, in the platform's own separators and
// without a trailing separator, so that `folder + separator + file` names a file in it.
// Needs the application object to exist.
QString programFolder();

// `path` in native separators with any trailing separators removed; the root folder thus
// becomes "" on Unix and "C:" on Windows, which still forms "/buzzer.wav" and "C:\buzzer.wav".
QString withoutTrailingSeparator(const QString& path);

// `folder` + the platform's separator + `fileName`: a file in the program folder.
QString fileInFolder(const QString& folder, const QString& fileName);
