#pragma once

#include <QString>

// Removes a lock file that no living process holds, so that a write waiting for that lock does
// not stall until the file has aged (30 s). Such a file is one left empty or half written by
// a program killed while it took the lock, or one that names this very process: this program
// holds no lock between its writes, so that name is an earlier run's that had the same
// process id. A lock naming another process is left alone (QLockFile takes over the lock of a
// process that has died by itself), and so is any lock a living process still holds.
// Returns true when a lock file was removed.
bool removeAbandonedLock(const QString& lockFilePath);
