#include "settings/Settings.h"
#include "settings/ProgramFolder.h"
#include "settings/SettingsText.h"
#include "support/MemorySettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <vector>

namespace {

using namespace SettingsText;

const QString kFolder = QDir::toNativeSeparators(QStringLiteral("/opt/pucktally"));

// ---- text conversions ----

struct ParseRow {
    const char* text;
    std::optional<std::int64_t> int32;
    std::optional<std::int64_t> int16;
    std::optional<std::int64_t> colour;
};

TEST(SettingsTextTest, IntegersParseStrictlyAndWithinTheirType) {
    const std::vector<ParseRow> rows = {
        {"0", 0, 0, 0},
        {"83", 83, 83, 83},
        {"  83\t", 83, 83, 83},
        {"+255", 255, 255, 255},
        {"007", 7, 7, 7},
        {"-1", -1, -1, std::nullopt},
        {"-0", 0, 0, 0},
        {"16777215", 16777215, std::nullopt, 16777215},
        {"16777216", 16777216, std::nullopt, std::nullopt},
        {"32767", 32767, 32767, 32767},
        {"32768", 32768, std::nullopt, 32768},
        {"-32768", -32768, -32768, std::nullopt},
        {"-32769", -32769, std::nullopt, std::nullopt},
        {"40000", 40000, std::nullopt, 40000},
        {"2147483647", 2147483647, std::nullopt, std::nullopt},
        {"-2147483648", std::numeric_limits<std::int32_t>::min(), std::nullopt, std::nullopt},
        {"2147483648", std::nullopt, std::nullopt, std::nullopt},
        {"-2147483649", std::nullopt, std::nullopt, std::nullopt},
        {"99999999999999999999999", std::nullopt, std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt, std::nullopt},
        {"   ", std::nullopt, std::nullopt, std::nullopt},
        {"-", std::nullopt, std::nullopt, std::nullopt},
        {"+", std::nullopt, std::nullopt, std::nullopt},
        {"abc", std::nullopt, std::nullopt, std::nullopt},
        {"12abc", std::nullopt, std::nullopt, std::nullopt},
        {"1e3", std::nullopt, std::nullopt, std::nullopt},
        {"0x10", std::nullopt, std::nullopt, std::nullopt},
        {"&H10", std::nullopt, std::nullopt, std::nullopt},
        {"1.5", std::nullopt, std::nullopt, std::nullopt},
        {"1,000", std::nullopt, std::nullopt, std::nullopt},
        {"1 000", std::nullopt, std::nullopt, std::nullopt},
        {"--1", std::nullopt, std::nullopt, std::nullopt},
        {"+-1", std::nullopt, std::nullopt, std::nullopt},
        {"- 1", std::nullopt, std::nullopt, std::nullopt},
        {"\xd9\xa1\xd9\xa2", std::nullopt, std::nullopt, std::nullopt}, // Arabic-Indic 12
    };
    for (const ParseRow& row : rows) {
        const QString text = QString::fromUtf8(row.text);
        SCOPED_TRACE(row.text);
        const auto int32 = parseInt32(text);
        const auto int16 = parseInt16(text);
        const auto colour = parseColour(text);
        EXPECT_EQ(int32 ? std::optional<std::int64_t>(*int32) : std::nullopt, row.int32);
        EXPECT_EQ(int16 ? std::optional<std::int64_t>(*int16) : std::nullopt, row.int16);
        EXPECT_EQ(colour ? std::optional<std::int64_t>(*colour) : std::nullopt, row.colour);
    }
}

TEST(SettingsTextTest, FixedPointTakesUpToFourDecimals) {
    const std::vector<std::pair<const char*, std::optional<std::int64_t>>> rows = {
        {"24", 240000},
        {" 24 ", 240000},
        {"24.", 240000},
        {"24.5", 245000},
        {"24.05", 240500},
        {"0.0001", 1},
        {"-3.25", -32500},
        {"+9", 90000},
        {"999.9999", 9999999},
        {"922337203685477.5807", std::numeric_limits<std::int64_t>::max()},
        {"922337203685477.5808", std::nullopt},
        {"24.12345", std::nullopt},
        {".5", std::nullopt},
        {"24.5.1", std::nullopt},
        {"24,5", std::nullopt},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"2e1", std::nullopt},
        {"24pt", std::nullopt},
    };
    for (const auto& [text, expected] : rows) {
        SCOPED_TRACE(text);
        EXPECT_EQ(parseFixedPoint(QString::fromUtf8(text)), expected);
    }
}

TEST(SettingsTextTest, FixedPointIsWrittenWithoutNeedlessDecimals) {
    const std::vector<std::pair<std::int64_t, const char*>> rows = {
        {240000, "24"},    {245000, "24.5"},
        {240500, "24.05"}, {1, "0.0001"},
        {0, "0"},          {-32500, "-3.25"},
        {-5000, "-0.5"},   {90000, "9"},
        {9990000, "999"},  {std::numeric_limits<std::int64_t>::min(), "-922337203685477.5808"},
    };
    for (const auto& [value, text] : rows) {
        SCOPED_TRACE(text);
        EXPECT_EQ(formatFixedPoint(value), QString::fromLatin1(text));
        if (value != std::numeric_limits<std::int64_t>::min()) {
            EXPECT_EQ(parseFixedPoint(formatFixedPoint(value)), value);
        }
    }
}

TEST(SettingsTextTest, IntegersAreWrittenAsPlainDecimals) {
    for (const std::int64_t value : std::vector<std::int64_t>{0, 83, -1, 16777215, -32768}) {
        const QString text = formatInteger(value);
        EXPECT_FALSE(text.contains(QLatin1Char(' ')) || text.contains(QLatin1Char(',')));
        EXPECT_EQ(parseInt32(text), value);
    }
    EXPECT_EQ(formatInteger(33023), QStringLiteral("33023"));
}

// ---- loading ----

// Every number field of the record, with its store entry.
struct NumberField {
    const char* section;
    const char* key;
    std::int64_t (*read)(const Settings&);
};

#define FIELD(section, name)                                                                       \
    {                                                                                              \
        section, #name, [](const Settings& s) -> std::int64_t { return s.name; }                   \
    }
const std::vector<NumberField> kColourFields = {
    FIELD("ColorSettings", TimeColor),    FIELD("ColorSettings", LEDBack),
    FIELD("ColorSettings", ScoreColor),   FIELD("ColorSettings", PeriodColor),
    FIELD("ColorSettings", FormBack),     FIELD("ColorSettings", LEDSelected),
    FIELD("ColorSettings", BorderColor),  FIELD("ColorSettings", HomeColor),
    FIELD("ColorSettings", VisitorColor),
};
const std::vector<NumberField> kKeyFields = {
    FIELD("KeySettings", StartStopClockKey), FIELD("KeySettings", ResetClockKey),
    FIELD("KeySettings", ClearKey),          FIELD("KeySettings", BuzzerKey),
    FIELD("KeySettings", HornKey),
};
const std::vector<NumberField> kWidthFields = {FIELD("ColorSettings", LEDSelectedWidth)};
const std::vector<NumberField> kInt16Fields = {FIELD("PicSettings", LEDType)};
const std::vector<NumberField> kInt32Fields = {FIELD("KeySettings", NumLockForce)};
const std::vector<NumberField> kFixedFields = {FIELD("TextSettings", TeamSize)};
#undef FIELD

std::vector<NumberField> allNumberFields() {
    std::vector<NumberField> all;
    for (const auto* group :
         {&kColourFields, &kKeyFields, &kWidthFields, &kInt16Fields, &kInt32Fields, &kFixedFields})
        all.insert(all.end(), group->begin(), group->end());
    return all;
}

// A store past its first start, so that stored keys are kept.
MemorySettingsStore migratedStore() {
    MemorySettingsStore store;
    store.put(QStringLiteral("KeySettings"), QStringLiteral("IsKeyCode"), QStringLiteral("Yes"));
    return store;
}

Settings loadFrom(MemorySettingsStore& store, const QString& folder = kFolder) {
    Settings settings;
    // Start from a record unlike every default, so a field that is not loaded shows.
    settings.TimeColor = settings.LEDBack = settings.ScoreColor = settings.PeriodColor = 7;
    settings.FormBack = settings.LEDSelected = settings.BorderColor = 7;
    settings.HomeColor = settings.VisitorColor = settings.NumLockForce = 7;
    settings.LEDSelectedWidth = settings.StartStopClockKey = settings.ResetClockKey = 7;
    settings.ClearKey = settings.BuzzerKey = settings.HornKey = settings.LEDType = 7;
    settings.TeamSize = 7;
    settings.BuzzerFile = settings.HornFile = settings.HomeText = settings.VisitorText =
        settings.HomePic = settings.VisitorPic = settings.BoardPic = QStringLiteral("junk");
    LoadSettings(settings, store, folder);
    return settings;
}

Settings defaultsLoaded() {
    MemorySettingsStore store = migratedStore();
    return loadFrom(store);
}

TEST(LoadSettingsTest, EmptyStoreGivesEveryDefaultAndWritesOnlyTheKeys) {
    MemorySettingsStore store;
    const Settings s = loadFrom(store);

    EXPECT_EQ(s.TimeColor, 255);
    EXPECT_EQ(s.LEDBack, 0);
    EXPECT_EQ(s.ScoreColor, 33023);
    EXPECT_EQ(s.PeriodColor, 49152);
    EXPECT_EQ(s.FormBack, 4210752);
    EXPECT_EQ(s.LEDSelected, 4210752);
    EXPECT_EQ(s.BorderColor, 16777215);
    EXPECT_EQ(s.HomeColor, 16777215);
    EXPECT_EQ(s.VisitorColor, 16777215);
    EXPECT_EQ(s.LEDSelectedWidth, 0);
    EXPECT_EQ(s.StartStopClockKey, 83);
    EXPECT_EQ(s.ResetClockKey, 82);
    EXPECT_EQ(s.ClearKey, 46);
    EXPECT_EQ(s.BuzzerKey, 66);
    EXPECT_EQ(s.HornKey, 71);
    EXPECT_EQ(s.BuzzerFile, kFolder + QDir::separator() + QStringLiteral("buzzer.wav"));
    EXPECT_EQ(s.HornFile, kFolder + QDir::separator() + QStringLiteral("horn.wav"));
    EXPECT_EQ(s.NumLockForce, 0);
    EXPECT_EQ(s.HomeText, QStringLiteral("Home"));
    EXPECT_EQ(s.VisitorText, QStringLiteral("Visitor"));
    EXPECT_EQ(s.TeamSize, 240000);
    EXPECT_EQ(s.HomePic, QString());
    EXPECT_EQ(s.VisitorPic, QString());
    EXPECT_EQ(s.BoardPic, QString());
    EXPECT_EQ(s.LEDType, 0);

    const QStringList expected = {
        QStringLiteral("PuckTally/KeySettings/StartStopClockKey=83"),
        QStringLiteral("PuckTally/KeySettings/ResetClockKey=82"),
        QStringLiteral("PuckTally/KeySettings/ClearKey=46"),
        QStringLiteral("PuckTally/KeySettings/BuzzerKey=66"),
        QStringLiteral("PuckTally/KeySettings/HornKey=71"),
        QStringLiteral("PuckTally/KeySettings/IsKeyCode=Yes"),
    };
    EXPECT_EQ(store.saves(), expected);
    EXPECT_EQ(store.size(), 6);
    EXPECT_EQ(store.writes(), 1); // all six in one write
}

TEST(LoadSettingsTest, DefaultSoundPathsFollowTheProgramFolderOfThisStart) {
    MemorySettingsStore store = migratedStore();
    const QString moved = QDir::toNativeSeparators(QStringLiteral("/srv/board"));
    loadFrom(store);
    const Settings s = loadFrom(store, moved);
    EXPECT_EQ(s.BuzzerFile, moved + QDir::separator() + QStringLiteral("buzzer.wav"));
    EXPECT_EQ(s.HornFile, moved + QDir::separator() + QStringLiteral("horn.wav"));
    EXPECT_TRUE(store.saves().isEmpty());

    store.put(QStringLiteral("KeySettings"), QStringLiteral("BuzzerFile"), QStringLiteral("x.wav"));
    EXPECT_EQ(loadFrom(store, moved).BuzzerFile, QStringLiteral("x.wav"));
}

struct MigrationRow {
    const char* name;
    std::optional<const char*> marker; // nothing: no "IsKeyCode" entry at all
    bool resets;
};

class KeyMigrationTest : public testing::TestWithParam<MigrationRow> {};

TEST_P(KeyMigrationTest, ResetsTheKeysOnlyWhenTheMarkerIsExactlyNo) {
    const MigrationRow& row = GetParam();
    MemorySettingsStore store;
    const QString keys = QStringLiteral("KeySettings");
    store.put(keys, QStringLiteral("StartStopClockKey"), QStringLiteral("32"));
    store.put(keys, QStringLiteral("ResetClockKey"), QStringLiteral("13"));
    store.put(keys, QStringLiteral("ClearKey"), QStringLiteral("8"));
    store.put(keys, QStringLiteral("BuzzerKey"), QStringLiteral("112"));
    store.put(keys, QStringLiteral("HornKey"), QStringLiteral("72"));
    if (row.marker)
        store.put(keys, QStringLiteral("IsKeyCode"), QString::fromLatin1(*row.marker));

    const Settings s = loadFrom(store);

    if (row.resets) {
        EXPECT_EQ(s.StartStopClockKey, 83);
        EXPECT_EQ(s.ResetClockKey, 82);
        EXPECT_EQ(s.ClearKey, 46);
        EXPECT_EQ(s.BuzzerKey, 66);
        EXPECT_EQ(s.HornKey, 71);
        EXPECT_EQ(store.saves().size(), 6);
        EXPECT_EQ(store.value(keys, QStringLiteral("StartStopClockKey")), QStringLiteral("83"));
        EXPECT_EQ(store.value(keys, QStringLiteral("ResetClockKey")), QStringLiteral("82"));
        EXPECT_EQ(store.value(keys, QStringLiteral("ClearKey")), QStringLiteral("46"));
        EXPECT_EQ(store.value(keys, QStringLiteral("BuzzerKey")), QStringLiteral("66"));
        EXPECT_EQ(store.value(keys, QStringLiteral("HornKey")), QStringLiteral("71"));
        EXPECT_EQ(store.value(keys, QStringLiteral("IsKeyCode")), QStringLiteral("Yes"));
        // A second start keeps the keys as the first one left them.
        store.put(keys, QStringLiteral("HornKey"), QStringLiteral("72"));
        EXPECT_EQ(loadFrom(store).HornKey, 72);
    } else {
        EXPECT_EQ(s.StartStopClockKey, 32);
        EXPECT_EQ(s.ResetClockKey, 13);
        EXPECT_EQ(s.ClearKey, 8);
        EXPECT_EQ(s.BuzzerKey, 112);
        EXPECT_EQ(s.HornKey, 72);
        EXPECT_TRUE(store.saves().isEmpty());
        EXPECT_EQ(store.value(keys, QStringLiteral("IsKeyCode")), QString::fromLatin1(*row.marker));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Markers, KeyMigrationTest,
    testing::Values(MigrationRow{"Missing", std::nullopt, true}, MigrationRow{"No", "No", true},
                    MigrationRow{"Yes", "Yes", false}, MigrationRow{"Lowercase", "no", false},
                    MigrationRow{"Capitals", "NO", false}, MigrationRow{"Blank", " No", false},
                    MigrationRow{"Empty", "", false}, MigrationRow{"Other", "Maybe", false}),
    [](const testing::TestParamInfo<MigrationRow>& info) { return info.param.name; });

TEST(LoadSettingsTest, MarkerColourDefaultsToTheBackgroundJustLoaded) {
    const QString colours = QStringLiteral("ColorSettings");
    {
        MemorySettingsStore store = migratedStore();
        store.put(colours, QStringLiteral("FormBack"), QStringLiteral("255"));
        const Settings s = loadFrom(store);
        EXPECT_EQ(s.FormBack, 255);
        EXPECT_EQ(s.LEDSelected, 255);
    }
    {
        MemorySettingsStore store = migratedStore();
        store.put(colours, QStringLiteral("FormBack"), QStringLiteral("255"));
        store.put(colours, QStringLiteral("LEDSelected"), QStringLiteral("65280"));
        EXPECT_EQ(loadFrom(store).LEDSelected, 65280);
    }
    {
        // A damaged background falls back first; the marker follows the fallback.
        MemorySettingsStore store = migratedStore();
        store.put(colours, QStringLiteral("FormBack"), QStringLiteral("-5"));
        const Settings s = loadFrom(store);
        EXPECT_EQ(s.LEDSelected, s.FormBack);
        EXPECT_EQ(s.FormBack, defaultsLoaded().FormBack);
    }
}

TEST(LoadSettingsTest, UnreadableNumbersFallBackToTheirDefaults) {
    const Settings defaults = defaultsLoaded();
    const std::vector<const char*> garbage = {
        "", " ", "abc", "12abc", "1e3", "0x10", "1.2.3", "1,5", "--1", "99999999999999999999"};
    for (const NumberField& field : allNumberFields()) {
        for (const char* text : garbage) {
            SCOPED_TRACE(std::string(field.key) + " = \"" + text + "\"");
            MemorySettingsStore store = migratedStore();
            store.put(QString::fromLatin1(field.section), QString::fromLatin1(field.key),
                      QString::fromLatin1(text));
            const Settings s = loadFrom(store);
            EXPECT_EQ(field.read(s), field.read(defaults));
        }
    }
}

struct RangeRow {
    const std::vector<NumberField>* fields;
    const char* text;
    std::optional<std::int64_t> accepted; // nothing: the field keeps its default
};

TEST(LoadSettingsTest, NumbersOutsideTheirRangeFallBackAndBoundariesAreKept) {
    const Settings defaults = defaultsLoaded();
    const std::vector<RangeRow> rows = {
        {&kColourFields, "-1", std::nullopt},
        {&kColourFields, "16777216", std::nullopt},
        {&kColourFields, "2147483647", std::nullopt},
        {&kColourFields, "0", 0},
        {&kColourFields, "16777215", 16777215},
        {&kColourFields, " +33023 ", 33023},
        {&kInt16Fields, "40000", std::nullopt},
        {&kInt16Fields, "32768", std::nullopt},
        {&kInt16Fields, "-32769", std::nullopt},
        {&kInt16Fields, "32767", 32767},
        {&kInt16Fields, "-32768", -32768},
        {&kInt16Fields, "1", 1},
        // No key sends these codes; the options dialog offers widths 0 to 5.
        {&kKeyFields, "0", std::nullopt},
        {&kKeyFields, "-1", std::nullopt},
        {&kKeyFields, "255", std::nullopt},
        {&kKeyFields, "300", std::nullopt},
        {&kKeyFields, "32767", std::nullopt},
        {&kKeyFields, "1", 1},
        {&kKeyFields, "254", 254},
        {&kWidthFields, "-1", std::nullopt},
        {&kWidthFields, "6", std::nullopt},
        {&kWidthFields, "500", std::nullopt},
        {&kWidthFields, "0", 0},
        {&kWidthFields, "5", 5},
        {&kInt32Fields, "2147483648", std::nullopt},
        {&kInt32Fields, "-2147483649", std::nullopt},
        {&kInt32Fields, "2147483647", 2147483647},
        {&kInt32Fields, "-2147483648", -2147483648LL},
        {&kInt32Fields, "5", 5},
        {&kFixedFields, "0", std::nullopt},
        {&kFixedFields, "-24", std::nullopt},
        {&kFixedFields, "0.9999", std::nullopt},
        {&kFixedFields, "999.0001", std::nullopt},
        {&kFixedFields, "1000", std::nullopt},
        {&kFixedFields, "24.12345", std::nullopt},
        {&kFixedFields, "1", 10000},
        {&kFixedFields, "999", 9990000},
        {&kFixedFields, "9", 90000},
        {&kFixedFields, " 36 ", 360000},
        {&kFixedFields, "24.5", 245000},
    };
    for (const RangeRow& row : rows) {
        for (const NumberField& field : *row.fields) {
            SCOPED_TRACE(std::string(field.key) + " = \"" + row.text + "\"");
            MemorySettingsStore store = migratedStore();
            store.put(QString::fromLatin1(field.section), QString::fromLatin1(field.key),
                      QString::fromLatin1(row.text));
            const Settings s = loadFrom(store);
            EXPECT_EQ(field.read(s), row.accepted.value_or(field.read(defaults)));
        }
    }
}

// ---- saving ----

Settings unusualSettings() {
    Settings s;
    s.TimeColor = 1;
    s.LEDBack = 2;
    s.ScoreColor = 3;
    s.PeriodColor = 4;
    s.FormBack = 5;
    s.LEDSelected = 6;
    s.BorderColor = 7;
    s.HomeColor = 8;
    s.VisitorColor = 16777215;
    s.LEDSelectedWidth = 5;
    s.StartStopClockKey = 32;
    s.ResetClockKey = 13;
    s.ClearKey = 8;
    s.BuzzerKey = 112;
    s.HornKey = 254;
    s.BuzzerFile = QStringLiteral("C:\\Sounds, old\\buzz.wav");
    s.HornFile = QStringLiteral("/home/ref/horn 2.wav");
    s.NumLockForce = 2;
    s.HomeText = QStringLiteral("Eisbären");
    s.VisitorText = QString();
    s.TeamSize = 175000;
    s.HomePic = QStringLiteral("home.jpg");
    s.VisitorPic = QStringLiteral("visitor.gif");
    s.BoardPic = QStringLiteral("board.bmp");
    s.LEDType = 1;
    return s;
}

TEST(SaveSettingsTest, WritesEveryEntryInOrderAsDecimalText) {
    MemorySettingsStore store;
    SaveSettings(unusualSettings(), store);
    const QStringList expected = {
        QStringLiteral("PuckTally/ColorSettings/TimeColor=1"),
        QStringLiteral("PuckTally/ColorSettings/LEDBack=2"),
        QStringLiteral("PuckTally/ColorSettings/LEDSelected=6"),
        QStringLiteral("PuckTally/ColorSettings/ScoreColor=3"),
        QStringLiteral("PuckTally/ColorSettings/PeriodColor=4"),
        QStringLiteral("PuckTally/ColorSettings/FormBack=5"),
        QStringLiteral("PuckTally/ColorSettings/BorderColor=7"),
        QStringLiteral("PuckTally/ColorSettings/HomeColor=8"),
        QStringLiteral("PuckTally/ColorSettings/VisitorColor=16777215"),
        QStringLiteral("PuckTally/ColorSettings/LEDSelectedWidth=5"),
        QStringLiteral("PuckTally/KeySettings/StartStopClockKey=32"),
        QStringLiteral("PuckTally/KeySettings/ResetClockKey=13"),
        QStringLiteral("PuckTally/KeySettings/ClearKey=8"),
        QStringLiteral("PuckTally/KeySettings/BuzzerKey=112"),
        QStringLiteral("PuckTally/KeySettings/HornKey=254"),
        QStringLiteral("PuckTally/KeySettings/BuzzerFile=C:\\Sounds, old\\buzz.wav"),
        QStringLiteral("PuckTally/KeySettings/HornFile=/home/ref/horn 2.wav"),
        QStringLiteral("PuckTally/KeySettings/NumLockForce=2"),
        QStringLiteral("PuckTally/TextSettings/HomeText=Eisbären"),
        QStringLiteral("PuckTally/TextSettings/VisitorText="),
        QStringLiteral("PuckTally/TextSettings/TeamSize=17.5"),
        QStringLiteral("PuckTally/PicSettings/HomePic=home.jpg"),
        QStringLiteral("PuckTally/PicSettings/VisitorPic=visitor.gif"),
        QStringLiteral("PuckTally/PicSettings/BoardPic=board.bmp"),
        QStringLiteral("PuckTally/PicSettings/LEDType=1"),
    };
    EXPECT_EQ(store.saves(), expected);
    EXPECT_EQ(store.writes(), 1);
    EXPECT_FALSE(store.contains(QStringLiteral("KeySettings"), QStringLiteral("IsKeyCode")));
}

TEST(SaveSettingsTest, WholeTeamSizeIsWrittenWithoutDecimals) {
    MemorySettingsStore store;
    SaveSettings(Settings{}, store);
    EXPECT_EQ(store.value(QStringLiteral("TextSettings"), QStringLiteral("TeamSize")),
              QStringLiteral("24"));
}

void expectSameSettings(const Settings& a, const Settings& b) {
    for (const NumberField& field : allNumberFields()) {
        SCOPED_TRACE(field.key);
        EXPECT_EQ(field.read(a), field.read(b));
    }
    EXPECT_EQ(a.BuzzerFile, b.BuzzerFile);
    EXPECT_EQ(a.HornFile, b.HornFile);
    EXPECT_EQ(a.HomeText, b.HomeText);
    EXPECT_EQ(a.VisitorText, b.VisitorText);
    EXPECT_EQ(a.HomePic, b.HomePic);
    EXPECT_EQ(a.VisitorPic, b.VisitorPic);
    EXPECT_EQ(a.BoardPic, b.BoardPic);
}

TEST(SaveSettingsTest, LoadingWhatWasSavedGivesTheSameRecord) {
    MemorySettingsStore store = migratedStore();
    const Settings saved = unusualSettings();
    SaveSettings(saved, store);
    expectSameSettings(loadFrom(store), saved);
}

// ---- program folder ----

TEST(ProgramFolderTest, TrailingSeparatorsAreDropped) {
    const QChar sep = QDir::separator();
    const std::vector<std::pair<QString, QString>> rows = {
        {QStringLiteral("/opt/pucktally"), QStringLiteral("/opt/pucktally")},
        {QStringLiteral("/opt/pucktally/"), QStringLiteral("/opt/pucktally")},
        {QStringLiteral("/opt/pucktally//"), QStringLiteral("/opt/pucktally")},
        {QStringLiteral("/"), QString()},
    };
    for (const auto& [in, out] : rows) {
        SCOPED_TRACE(in.toStdString());
        EXPECT_EQ(withoutTrailingSeparator(in), QDir::toNativeSeparators(out));
        EXPECT_EQ(fileInFolder(withoutTrailingSeparator(in), QStringLiteral("horn.wav")),
                  QDir::toNativeSeparators(out + QStringLiteral("/horn.wav")));
    }
    EXPECT_EQ(fileInFolder(QStringLiteral("x"), QStringLiteral("y")),
              QStringLiteral("x") + sep + QStringLiteral("y"));
}

TEST(ProgramFolderTest, IsTheFolderOfTheRunningExecutable) {
    int argc = 1;
    char name[] = "settings_tests";
    char* argv[] = {name, nullptr};
    const QCoreApplication app(argc, argv);
    const QString folder = programFolder();
    ASSERT_FALSE(folder.isEmpty());
    EXPECT_FALSE(folder.endsWith(QDir::separator()));
    EXPECT_EQ(folder, QDir::toNativeSeparators(folder));
    const QString exe = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    EXPECT_TRUE(QFileInfo::exists(fileInFolder(folder, exe)));
}

} // namespace
