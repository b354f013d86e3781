#include "platform/SettingsLocation.h"

// One INI file per user and application in the user's configuration folder
// (~/.config/PuckTally.ini), one group per section.
std::unique_ptr<QSettings> openSettings(const QString& application) {
    auto settings =
        std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, application);
    // Only the user's own file counts; a system-wide file would make the defaults depend on
    // the machine.
    settings->setFallbacksEnabled(false);
    return settings;
}
