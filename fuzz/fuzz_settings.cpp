// The settings record loaded from a store holding anything: every field must come out within
// its type and range, the store must be marked as holding key codes, and what is loaded must
// survive being saved and loaded again unchanged.
#include "FuzzCheck.h"
#include "FuzzInput.h"

#include "settings/Settings.h"
#include "settings/SettingsText.h"
#include "support/MemorySettingsStore.h"

#include <QString>
#include <array>

namespace {

struct Key {
    const char* section;
    const char* key;
};
constexpr std::array<Key, 27> kKeys{{
    {"ColorSettings", "TimeColor"},       {"ColorSettings", "LEDBack"},
    {"ColorSettings", "ScoreColor"},      {"ColorSettings", "PeriodColor"},
    {"ColorSettings", "FormBack"},        {"ColorSettings", "LEDSelected"},
    {"ColorSettings", "BorderColor"},     {"ColorSettings", "HomeColor"},
    {"ColorSettings", "VisitorColor"},    {"ColorSettings", "LEDSelectedWidth"},
    {"KeySettings", "StartStopClockKey"}, {"KeySettings", "ResetClockKey"},
    {"KeySettings", "ClearKey"},          {"KeySettings", "BuzzerKey"},
    {"KeySettings", "HornKey"},           {"KeySettings", "BuzzerFile"},
    {"KeySettings", "HornFile"},          {"KeySettings", "NumLockForce"},
    {"KeySettings", "IsKeyCode"},         {"TextSettings", "HomeText"},
    {"TextSettings", "VisitorText"},      {"TextSettings", "TeamSize"},
    {"PicSettings", "HomePic"},           {"PicSettings", "VisitorPic"},
    {"PicSettings", "BoardPic"},          {"PicSettings", "LEDType"},
    {"PicSettings", "Unknown"},
}};

bool colour(std::int32_t c) {
    return c >= 0 && c <= SettingsText::kMaxColour;
}

bool operator==(const Settings& a, const Settings& b) {
    return a.TimeColor == b.TimeColor && a.LEDBack == b.LEDBack && a.ScoreColor == b.ScoreColor &&
           a.PeriodColor == b.PeriodColor && a.FormBack == b.FormBack &&
           a.LEDSelected == b.LEDSelected && a.BorderColor == b.BorderColor &&
           a.HomeColor == b.HomeColor && a.VisitorColor == b.VisitorColor &&
           a.LEDSelectedWidth == b.LEDSelectedWidth && a.StartStopClockKey == b.StartStopClockKey &&
           a.ResetClockKey == b.ResetClockKey && a.ClearKey == b.ClearKey &&
           a.BuzzerKey == b.BuzzerKey && a.HornKey == b.HornKey && a.BuzzerFile == b.BuzzerFile &&
           a.HornFile == b.HornFile && a.NumLockForce == b.NumLockForce &&
           a.HomeText == b.HomeText && a.VisitorText == b.VisitorText && a.TeamSize == b.TeamSize &&
           a.HomePic == b.HomePic && a.VisitorPic == b.VisitorPic && a.BoardPic == b.BoardPic &&
           a.LEDType == b.LEDType;
}

} // namespace

// The input is a list of entries, each a byte naming the key and a value up to the next zero
// byte, in UTF-8 (damaged sequences included).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    MemorySettingsStore store;
    while (!in.empty()) {
        const Key& key = kKeys[in.byte() % kKeys.size()];
        QByteArray value;
        while (!in.empty()) {
            const std::uint8_t b = in.byte();
            if (b == 0)
                break;
            value += static_cast<char>(b);
        }
        store.put(QString::fromLatin1(key.section), QString::fromLatin1(key.key),
                  QString::fromUtf8(value));
    }

    const QString folder = QStringLiteral("/opt/pucktally");
    Settings loaded;
    LoadSettings(loaded, store, folder);
    for (const std::int32_t c :
         {loaded.TimeColor, loaded.LEDBack, loaded.ScoreColor, loaded.PeriodColor, loaded.FormBack,
          loaded.LEDSelected, loaded.BorderColor, loaded.HomeColor, loaded.VisitorColor})
        FUZZ_CHECK(colour(c));
    FUZZ_CHECK(loaded.TeamSize >= kMinTeamSize && loaded.TeamSize <= kMaxTeamSize);
    FUZZ_CHECK(loaded.LEDSelectedWidth >= 0 && loaded.LEDSelectedWidth <= kMaxLEDSelectedWidth);
    for (const std::int16_t key : {loaded.StartStopClockKey, loaded.ResetClockKey, loaded.ClearKey,
                                   loaded.BuzzerKey, loaded.HornKey})
        FUZZ_CHECK(key >= kMinKeyCode && key <= kMaxKeyCode);
    FUZZ_CHECK(!loaded.BuzzerFile.isEmpty() ||
               store.contains(QStringLiteral("KeySettings"), QStringLiteral("BuzzerFile")));
    // The keys are marked as key codes from now on; a store not yet marked got the standard keys.
    FUZZ_CHECK(store.value(QStringLiteral("KeySettings"), QStringLiteral("IsKeyCode")) !=
               QLatin1String("No"));

    // Saved and loaded again, the record is the same.
    MemorySettingsStore saved;
    SaveSettings(loaded, saved);
    saved.put(QStringLiteral("KeySettings"), QStringLiteral("IsKeyCode"), QStringLiteral("Yes"));
    Settings again;
    LoadSettings(again, saved, folder);
    FUZZ_CHECK(again == loaded);
    // Loading twice from the same store gives the same record too: the migration runs once.
    Settings second;
    LoadSettings(second, store, folder);
    FUZZ_CHECK(second == loaded);
    return 0;
}
