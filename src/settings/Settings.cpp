#include "settings/Settings.h"

#include "settings/ProgramFolder.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsText.h"

namespace {

const QString kColorSettings = QStringLiteral("ColorSettings");
const QString kKeySettings = QStringLiteral("KeySettings");
const QString kTextSettings = QStringLiteral("TextSettings");
const QString kPicSettings = QStringLiteral("PicSettings");

// Reads the settings of one section. Every number comes back as the field's default when
// its stored text is missing, not a number, or outside the field's range: a damaged entry
// costs that one setting, never the start of the program.
class SectionReader {
  public:
    SectionReader(SettingsStore& store, const QString& section)
        : store_(store), section_(section) {}

    QString text(const QString& key, const QString& fallback) const {
        return store_.get(kSettingsApplication, section_, key, fallback);
    }
    std::int32_t colour(const QString& key, std::int32_t fallback) const {
        return SettingsText::parseColour(numberText(key, fallback)).value_or(fallback);
    }
    std::int32_t int32(const QString& key, std::int32_t fallback) const {
        return SettingsText::parseInt32(numberText(key, fallback)).value_or(fallback);
    }
    std::int16_t int16(const QString& key, std::int16_t fallback) const {
        return SettingsText::parseInt16(numberText(key, fallback)).value_or(fallback);
    }
    std::int64_t teamSize(const QString& key, std::int64_t fallback) const {
        const auto size =
            SettingsText::parseFixedPoint(text(key, SettingsText::formatFixedPoint(fallback)));
        if (!size || *size < kMinTeamSize || *size > kMaxTeamSize)
            return fallback;
        return *size;
    }

  private:
    QString numberText(const QString& key, std::int64_t fallback) const {
        return text(key, SettingsText::formatInteger(fallback));
    }

    SettingsStore& store_;
    QString section_;
};

// Writes the settings of one section, numbers as plain decimal text.
class SectionWriter {
  public:
    SectionWriter(SettingsStore& store, const QString& section)
        : store_(store), section_(section) {}

    void text(const QString& key, const QString& value) const {
        store_.save(kSettingsApplication, section_, key, value);
    }
    void number(const QString& key, std::int64_t value) const {
        text(key, SettingsText::formatInteger(value));
    }

  private:
    SettingsStore& store_;
    QString section_;
};

// The keys every store starts with, and the marker that says they have been written.
constexpr std::int16_t kFirstStartStopClockKey = 83; // S
constexpr std::int16_t kFirstResetClockKey = 82;     // R
constexpr std::int16_t kFirstClearKey = 46;          // Delete
constexpr std::int16_t kFirstBuzzerKey = 66;         // B
constexpr std::int16_t kFirstHornKey = 71;           // G

// Stores from before the keys were kept as virtual-key codes carry "IsKeyCode" = "No" (or
// nothing); their keys mean something else, so they are replaced once by the standard keys.
void migrateKeys(Settings& settings, SettingsStore& store) {
    const SectionReader reader(store, kKeySettings);
    if (reader.text(QStringLiteral("IsKeyCode"), QStringLiteral("No")) != QLatin1String("No"))
        return;
    settings.StartStopClockKey = kFirstStartStopClockKey;
    settings.ResetClockKey = kFirstResetClockKey;
    settings.BuzzerKey = kFirstBuzzerKey;
    settings.HornKey = kFirstHornKey;
    settings.ClearKey = kFirstClearKey;
    const SectionWriter writer(store, kKeySettings);
    writer.number(QStringLiteral("StartStopClockKey"), settings.StartStopClockKey);
    writer.number(QStringLiteral("ResetClockKey"), settings.ResetClockKey);
    writer.number(QStringLiteral("ClearKey"), settings.ClearKey);
    writer.number(QStringLiteral("BuzzerKey"), settings.BuzzerKey);
    writer.number(QStringLiteral("HornKey"), settings.HornKey);
    writer.text(QStringLiteral("IsKeyCode"), QStringLiteral("Yes"));
}

} // namespace

void LoadSettings(Settings& settings, SettingsStore& store, const QString& programFolder) {
    const Settings defaults;

    const SectionReader colours(store, kColorSettings);
    settings.TimeColor = colours.colour(QStringLiteral("TimeColor"), defaults.TimeColor);
    settings.LEDBack = colours.colour(QStringLiteral("LEDBack"), defaults.LEDBack);
    settings.ScoreColor = colours.colour(QStringLiteral("ScoreColor"), defaults.ScoreColor);
    settings.PeriodColor = colours.colour(QStringLiteral("PeriodColor"), defaults.PeriodColor);
    settings.FormBack = colours.colour(QStringLiteral("FormBack"), defaults.FormBack);
    // Without a marker colour of its own the marker takes the board's background, which
    // keeps it invisible until the user picks one.
    settings.LEDSelected = colours.colour(QStringLiteral("LEDSelected"), settings.FormBack);
    settings.BorderColor = colours.colour(QStringLiteral("BorderColor"), defaults.BorderColor);
    settings.HomeColor = colours.colour(QStringLiteral("HomeColor"), defaults.HomeColor);
    settings.VisitorColor = colours.colour(QStringLiteral("VisitorColor"), defaults.VisitorColor);
    settings.LEDSelectedWidth =
        colours.int16(QStringLiteral("LEDSelectedWidth"), defaults.LEDSelectedWidth);

    const SectionReader keys(store, kKeySettings);
    settings.StartStopClockKey =
        keys.int16(QStringLiteral("StartStopClockKey"), defaults.StartStopClockKey);
    settings.ResetClockKey = keys.int16(QStringLiteral("ResetClockKey"), defaults.ResetClockKey);
    settings.ClearKey = keys.int16(QStringLiteral("ClearKey"), defaults.ClearKey);
    settings.BuzzerKey = keys.int16(QStringLiteral("BuzzerKey"), defaults.BuzzerKey);
    settings.HornKey = keys.int16(QStringLiteral("HornKey"), defaults.HornKey);
    // Formed afresh at every start, so a moved program still finds its own sounds.
    settings.BuzzerFile = keys.text(QStringLiteral("BuzzerFile"),
                                    fileInFolder(programFolder, QStringLiteral("buzzer.wav")));
    settings.HornFile = keys.text(QStringLiteral("HornFile"),
                                  fileInFolder(programFolder, QStringLiteral("horn.wav")));
    settings.NumLockForce = keys.int32(QStringLiteral("NumLockForce"), defaults.NumLockForce);

    migrateKeys(settings, store);

    const SectionReader texts(store, kTextSettings);
    settings.HomeText = texts.text(QStringLiteral("HomeText"), defaults.HomeText);
    settings.VisitorText = texts.text(QStringLiteral("VisitorText"), defaults.VisitorText);
    settings.TeamSize = texts.teamSize(QStringLiteral("TeamSize"), defaults.TeamSize);

    const SectionReader pictures(store, kPicSettings);
    settings.HomePic = pictures.text(QStringLiteral("HomePic"), defaults.HomePic);
    settings.VisitorPic = pictures.text(QStringLiteral("VisitorPic"), defaults.VisitorPic);
    settings.BoardPic = pictures.text(QStringLiteral("BoardPic"), defaults.BoardPic);
    settings.LEDType = pictures.int16(QStringLiteral("LEDType"), defaults.LEDType);
}

void SaveSettings(const Settings& settings, SettingsStore& store) {
    const SectionWriter colours(store, kColorSettings);
    colours.number(QStringLiteral("TimeColor"), settings.TimeColor);
    colours.number(QStringLiteral("LEDBack"), settings.LEDBack);
    colours.number(QStringLiteral("LEDSelected"), settings.LEDSelected);
    colours.number(QStringLiteral("ScoreColor"), settings.ScoreColor);
    colours.number(QStringLiteral("PeriodColor"), settings.PeriodColor);
    colours.number(QStringLiteral("FormBack"), settings.FormBack);
    colours.number(QStringLiteral("BorderColor"), settings.BorderColor);
    colours.number(QStringLiteral("HomeColor"), settings.HomeColor);
    colours.number(QStringLiteral("VisitorColor"), settings.VisitorColor);
    colours.number(QStringLiteral("LEDSelectedWidth"), settings.LEDSelectedWidth);

    const SectionWriter keys(store, kKeySettings);
    keys.number(QStringLiteral("StartStopClockKey"), settings.StartStopClockKey);
    keys.number(QStringLiteral("ResetClockKey"), settings.ResetClockKey);
    keys.number(QStringLiteral("ClearKey"), settings.ClearKey);
    keys.number(QStringLiteral("BuzzerKey"), settings.BuzzerKey);
    keys.number(QStringLiteral("HornKey"), settings.HornKey);
    keys.text(QStringLiteral("BuzzerFile"), settings.BuzzerFile);
    keys.text(QStringLiteral("HornFile"), settings.HornFile);
    keys.number(QStringLiteral("NumLockForce"), settings.NumLockForce);

    const SectionWriter texts(store, kTextSettings);
    texts.text(QStringLiteral("HomeText"), settings.HomeText);
    texts.text(QStringLiteral("VisitorText"), settings.VisitorText);
    texts.text(QStringLiteral("TeamSize"), SettingsText::formatFixedPoint(settings.TeamSize));

    const SectionWriter pictures(store, kPicSettings);
    pictures.text(QStringLiteral("HomePic"), settings.HomePic);
    pictures.text(QStringLiteral("VisitorPic"), settings.VisitorPic);
    pictures.text(QStringLiteral("BoardPic"), settings.BoardPic);
    pictures.number(QStringLiteral("LEDType"), settings.LEDType);
}
