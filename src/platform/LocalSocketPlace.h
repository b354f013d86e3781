#pragma once

#include <QString>

// Where a local socket of the program lives, for a name that is already unique per user
// and journal: on Unix a path in the user's own runtime folder (closed to other users and
// cleared at logout) when that folder is short enough for a socket's path, else the name as
// is, which the toolkit places in the temporary folder; on Windows the pipe name as is.
QString localSocketPlace(const QString& name);
