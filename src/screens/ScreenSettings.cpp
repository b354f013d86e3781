#include "screens/ScreenSettings.h"

#include "settings/Settings.h"
#include "settings/SettingsStore.h"

#include <algorithm>

namespace {

const QString kFullScreen = QStringLiteral("FullScreen");
const QString kScreen = QStringLiteral("Screen");
const QString kConsole = QStringLiteral("Console");

// Longer than any name a display system gives a screen.
constexpr qsizetype kLongestScreenName = 200;

QString flagText(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

// "1" or "0" as written; anything else is the default.
bool flagOf(const QString& text, bool fallback) {
    if (text == QLatin1String("1"))
        return true;
    if (text == QLatin1String("0"))
        return false;
    return fallback;
}

// A screen's name is printable text of reasonable length; a damaged entry names no screen.
bool isScreenName(const QString& name) {
    return name.size() <= kLongestScreenName && std::none_of(name.begin(), name.end(), [](QChar c) {
               return c.category() == QChar::Other_Control || c.isNonCharacter() || c.isSurrogate();
           });
}

} // namespace

ScreenSettings loadScreenSettings(const SettingsStore& store) {
    const ScreenSettings defaults;
    const auto get = [&](const QString& key, const QString& fallback) {
        return store.get(kSettingsApplication, kScreenSettingsSection, key, fallback);
    };
    ScreenSettings loaded;
    loaded.fullScreen =
        flagOf(get(kFullScreen, flagText(defaults.fullScreen)).trimmed(), defaults.fullScreen);
    // The name as the screen gives it, spaces and all: it is compared, never shown alone.
    const QString screen = get(kScreen, defaults.screen);
    loaded.screen = isScreenName(screen) ? screen : defaults.screen;
    loaded.console = flagOf(get(kConsole, flagText(defaults.console)).trimmed(), defaults.console);
    return loaded;
}

void saveScreenSettings(const ScreenSettings& settings, SettingsStore& store) {
    store.saveAll(kSettingsApplication,
                  {{kScreenSettingsSection, kFullScreen, flagText(settings.fullScreen)},
                   {kScreenSettingsSection, kScreen, settings.screen},
                   {kScreenSettingsSection, kConsole, flagText(settings.console)}});
}
