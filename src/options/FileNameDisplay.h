#pragma once

#include <QString>
#include <functional>

// The file's own name as the file system reports it for an existing file, "" when there is
// no such file.
using OwnFileName = std::function<QString(const QString& path)>;
QString ownFileNameOnDisk(const QString& path);

// A path shortened to `length` characters for a label: a path that fits is shown as it is
// ("[No File Selected]" when empty); a longer one as its beginning, " ...", a separator and
// the file's own name, exactly `length` characters in all. A missing file has no own name,
// so only the beginning and the marker show. When the own name alone leaves no room for the
// beginning, the own name is shown by itself.
QString ChopFileName(const QString& fileName, int length,
                     const OwnFileName& ownName = ownFileNameOnDisk);
