#pragma once

#include <QSettings>
#include <QString>
#include <memory>

// Opens the per-user store of `application` where this platform keeps it: an INI file in
// the user's configuration folder on Unix, the registry key that older boards used on
// Windows. Defined once per platform.
std::unique_ptr<QSettings> openSettings(const QString& application);
