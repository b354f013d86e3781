#pragma once

#include <QString>

class SettingsStore;

// Where the board is shown: full screen or in a window, on which screen, and whether the
// timekeeper's console is open beside it. A window on the main screen unless the user
// chooses otherwise.
struct ScreenSettings {
    bool fullScreen = false;
    QString screen;       // as the screen names itself; empty: the default screen
    bool console = false; // the timekeeper's console window is open

    bool operator==(const ScreenSettings& o) const {
        return fullScreen == o.fullScreen && screen == o.screen && console == o.console;
    }
    bool operator!=(const ScreenSettings& o) const { return !(*this == o); }
};

// The screens' own section of the settings store; nothing of the board's sections is touched.
inline const QString kScreenSettingsSection = QStringLiteral("Screens");

// Reads the screens' settings; a missing or damaged entry gives that entry's default.
ScreenSettings loadScreenSettings(const SettingsStore& store);
void saveScreenSettings(const ScreenSettings& settings, SettingsStore& store);
