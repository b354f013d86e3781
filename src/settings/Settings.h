#pragma once

#include <QString>
#include <cstdint>

class SettingsStore;

// Every setting that survives from one run to the next. Colours are 0x00BBGGRR; keys are
// Windows virtual-key codes; TeamSize counts ten-thousandths of a point.
struct Settings {
    std::int32_t TimeColor = 255;
    std::int32_t LEDBack = 0;
    std::int32_t ScoreColor = 33023;
    std::int32_t PeriodColor = 49152;
    std::int32_t FormBack = 4210752;
    std::int32_t LEDSelected = 4210752;
    std::int32_t BorderColor = 16777215;
    std::int32_t HomeColor = 16777215;
    std::int32_t VisitorColor = 16777215;
    std::int16_t LEDSelectedWidth = 0;

    std::int16_t StartStopClockKey = 83;
    std::int16_t ResetClockKey = 82;
    std::int16_t ClearKey = 46;
    std::int16_t BuzzerKey = 66;
    std::int16_t HornKey = 71;
    QString BuzzerFile;
    QString HornFile;
    std::int32_t NumLockForce = 0;

    QString HomeText = QStringLiteral("Home");
    QString VisitorText = QStringLiteral("Visitor");
    std::int64_t TeamSize = 24 * 10000;

    QString HomePic;
    QString VisitorPic;
    QString BoardPic;
    std::int16_t LEDType = 0;
};

// The range of team-name sizes a stored TeamSize may hold, in ten-thousandths of a point;
// a stored size outside it is taken as damaged and the default is used.
constexpr std::int64_t kMinTeamSize = 1 * 10000;
constexpr std::int64_t kMaxTeamSize = 999 * 10000;

// Key codes a keyboard can send: Windows virtual-key codes run from 1 to 254. A stored key
// outside them could never be pressed, so that key takes its default instead.
constexpr std::int16_t kMinKeyCode = 1;
constexpr std::int16_t kMaxKeyCode = 254;

// The widest selection marker, in pixels, as the options dialog offers it; a stored width
// outside 0 to this is taken as damaged and the default is used.
constexpr std::int16_t kMaxLEDSelectedWidth = 5;

// The application name under which the settings are stored.
inline const QString kSettingsApplication = QStringLiteral("PuckTally");

// Fills `settings` from `store`, with defaults for missing or unreadable values and the
// one-time reset of the keys. `programFolder` forms the default sound paths.
void LoadSettings(Settings& settings, SettingsStore& store, const QString& programFolder);

// Writes every field of `settings` to `store`.
void SaveSettings(const Settings& settings, SettingsStore& store);
