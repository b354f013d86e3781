#include "platform/SettingsLocation.h"

// The per-user registry key under which earlier boards kept their settings, so that an
// existing board's settings carry over: one subkey per section, values as REG_SZ strings.
std::unique_ptr<QSettings> openSettings(const QString& application) {
    const QString path =
        QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\") + application;
    auto settings = std::make_unique<QSettings>(path, QSettings::NativeFormat);
    settings->setFallbacksEnabled(false);
    return settings;
}
