// The screens' settings in the store: their own section, read back with the default for any
// entry that is missing or damaged.
#include "screens/ScreenSettings.h"
#include "support/MemorySettingsStore.h"

#include <gtest/gtest.h>

namespace {

// A name a display system could give, as long as a damaged entry is not.
const QString kLongName = QString(200, QLatin1Char('D'));

TEST(ScreenSettings, readFromTheStore) {
    struct Row {
        const char* name;
        const char* fullScreen; // nullptr: nothing stored under the key
        QString screen;         // null: nothing stored
        const char* console;
        ScreenSettings expected;
    };
    const Row rows[] = {
        {"nothing stored", nullptr, QString(), nullptr, {}},
        {"all set", "1", "HDMI-1", "1", {true, "HDMI-1", true}},
        {"all off", "0", "", "0", {false, "", false}},
        {"spaces around a switch", " 1 ", "HDMI-1", "1 ", {true, "HDMI-1", true}},
        {"a name keeps its spaces", "1", " DP 1 ", "0", {true, " DP 1 ", false}},
        {"longest name", "1", kLongName, "0", {true, kLongName, false}},
        {"switch as a word", "true", "HDMI-1", "yes", {false, "HDMI-1", false}},
        {"switch as another number", "2", "HDMI-1", "-1", {false, "HDMI-1", false}},
        {"empty switches", "", "HDMI-1", "", {false, "HDMI-1", false}},
        {"name with a line break", "1", "HDMI\n1", "1", {true, "", true}},
        {"name with a NUL", "1", QString("HDMI") + QChar(0) + "1", "1", {true, "", true}},
        {"name too long", "1", kLongName + "D", "1", {true, "", true}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MemorySettingsStore store;
        if (row.fullScreen)
            store.put(kScreenSettingsSection, "FullScreen", row.fullScreen);
        if (!row.screen.isNull())
            store.put(kScreenSettingsSection, "Screen", row.screen);
        if (row.console)
            store.put(kScreenSettingsSection, "Console", row.console);
        const ScreenSettings loaded = loadScreenSettings(store);
        EXPECT_EQ(loaded.fullScreen, row.expected.fullScreen);
        EXPECT_EQ(loaded.screen.toStdString(), row.expected.screen.toStdString());
        EXPECT_EQ(loaded.console, row.expected.console);
    }
}

TEST(ScreenSettings, everyChoiceRoundTripsInOneWrite) {
    for (bool fullScreen : {false, true})
        for (const QString& screen : {QString(), QString("HDMI-1"), QString(" DP 1 "), kLongName})
            for (bool console : {false, true}) {
                const ScreenSettings chosen{fullScreen, screen, console};
                MemorySettingsStore store;
                saveScreenSettings(chosen, store);
                EXPECT_EQ(
                    store.saves(),
                    QStringList({"PuckTally/Screens/FullScreen=" + QString::number(fullScreen),
                                 "PuckTally/Screens/Screen=" + screen,
                                 "PuckTally/Screens/Console=" + QString::number(console)}));
                EXPECT_EQ(store.writes(), 1);
                EXPECT_TRUE(loadScreenSettings(store) == chosen);
            }
}

} // namespace
