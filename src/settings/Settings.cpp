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
    // A number the program can use only within lo..hi; any other stored value is damage.
    std::int16_t int16In(const QString& key, std::int16_t fallback, std::int16_t lo,
                         std::int16_t hi) const {
        const std::int16_t value = int16(key, fallback);
        return value >= lo && value <= hi ? value : fallback;
    }
    std::int16_t keyCode(const QString& key, std::int16_t fallback) const {
        return int16In(key, fallback, kMinKeyCode, kMaxKeyCode);
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

// Collects entries for one write to the store, section by section, numbers as plain decimal
// text, in the order they are given.
class EntryWriter {
  public:
    void section(const QString& name) { section_ = name; }
    void text(const QString& key, const QString& value) {
        entries_.push_back(SettingsEntry{section_, key, value});
    }
    void number(const QString& key, std::int64_t value) {
        text(key, SettingsText::formatInteger(value));
    }
    void writeTo(SettingsStore& store) const { store.saveAll(kSettingsApplication, entries_); }

  private:
    QString section_;
    std::vector<SettingsEntry> entries_;
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
    // One write: a start cut short leaves either all of it or none of it in the store.
    EntryWriter writer;
    writer.section(kKeySettings);
    writer.number(QStringLiteral("StartStopClockKey"), settings.StartStopClockKey);
    writer.number(QStringLiteral("ResetClockKey"), settings.ResetClockKey);
    writer.number(QStringLiteral("ClearKey"), settings.ClearKey);
    writer.number(QStringLiteral("BuzzerKey"), settings.BuzzerKey);
    writer.number(QStringLiteral("HornKey"), settings.HornKey);
    writer.text(QStringLiteral("IsKeyCode"), QStringLiteral("Yes"));
    writer.writeTo(store);
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
    settings.LEDSelectedWidth = colours.int16In(QStringLiteral("LEDSelectedWidth"),
                                                defaults.LEDSelectedWidth, 0, kMaxLEDSelectedWidth);

    const SectionReader keys(store, kKeySettings);
    settings.StartStopClockKey =
        keys.keyCode(QStringLiteral("StartStopClockKey"), defaults.StartStopClockKey);
    settings.ResetClockKey = keys.keyCode(QStringLiteral("ResetClockKey"), defaults.ResetClockKey);
    settings.ClearKey = keys.keyCode(QStringLiteral("ClearKey"), defaults.ClearKey);
    settings.BuzzerKey = keys.keyCode(QStringLiteral("BuzzerKey"), defaults.BuzzerKey);
    settings.HornKey = keys.keyCode(QStringLiteral("HornKey"), defaults.HornKey);
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
    // One write for the whole record: the file is rewritten once, not once per entry.
    EntryWriter out;
    out.section(kColorSettings);
    out.number(QStringLiteral("TimeColor"), settings.TimeColor);
    out.number(QStringLiteral("LEDBack"), settings.LEDBack);
    out.number(QStringLiteral("LEDSelected"), settings.LEDSelected);
    out.number(QStringLiteral("ScoreColor"), settings.ScoreColor);
    out.number(QStringLiteral("PeriodColor"), settings.PeriodColor);
    out.number(QStringLiteral("FormBack"), settings.FormBack);
    out.number(QStringLiteral("BorderColor"), settings.BorderColor);
    out.number(QStringLiteral("HomeColor"), settings.HomeColor);
    out.number(QStringLiteral("VisitorColor"), settings.VisitorColor);
    out.number(QStringLiteral("LEDSelectedWidth"), settings.LEDSelectedWidth);

    out.section(kKeySettings);
    out.number(QStringLiteral("StartStopClockKey"), settings.StartStopClockKey);
    out.number(QStringLiteral("ResetClockKey"), settings.ResetClockKey);
    out.number(QStringLiteral("ClearKey"), settings.ClearKey);
    out.number(QStringLiteral("BuzzerKey"), settings.BuzzerKey);
    out.number(QStringLiteral("HornKey"), settings.HornKey);
    out.text(QStringLiteral("BuzzerFile"), settings.BuzzerFile);
    out.text(QStringLiteral("HornFile"), settings.HornFile);
    out.number(QStringLiteral("NumLockForce"), settings.NumLockForce);

    out.section(kTextSettings);
    out.text(QStringLiteral("HomeText"), settings.HomeText);
    out.text(QStringLiteral("VisitorText"), settings.VisitorText);
    out.text(QStringLiteral("TeamSize"), SettingsText::formatFixedPoint(settings.TeamSize));

    out.section(kPicSettings);
    out.text(QStringLiteral("HomePic"), settings.HomePic);
    out.text(QStringLiteral("VisitorPic"), settings.VisitorPic);
    out.text(QStringLiteral("BoardPic"), settings.BoardPic);
    out.number(QStringLiteral("LEDType"), settings.LEDType);
    out.writeTo(store);
}
