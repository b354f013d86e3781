// Which screen the board fills and where its window comes back, for every case a rink meets (a
// projector plugged in or not, chosen or not, pulled out under the board), and the stored form.
#include "screens/ScreenChoice.h"
#include "support/MemorySettingsStore.h"

#include <gtest/gtest.h>

void PrintTo(const QRect& r, std::ostream* out) {
    *out << r.x() << ',' << r.y() << ' ' << r.width() << 'x' << r.height();
}

namespace {

const ScreenInfo laptop{"eDP-1", QRect(0, 0, 1920, 1080), true};
const ScreenInfo projector{"HDMI-1", QRect(1920, 0, 1280, 720), false};
const ScreenInfo side{"DP-2", QRect(-1024, 0, 1024, 768), false};
const ScreenList two{laptop, projector};

std::string nameAt(const ScreenList& screens, int index) {
    return index < 0 ? "none" : screens.at(static_cast<size_t>(index)).name.toStdString();
}

// How the board starts (or follows the options), as "full NAME", "window NAME" or "window NAME,
// told" when the timekeeper hears that the chosen screen is missing; then where F11 puts it.
TEST(ScreenChoice, startAndF11) {
    const struct {
        const char* name;
        ScreenList screens;
        bool fullScreen;
        QString chosen;
        std::string starts;
    } rows[] = {
        {"off: the designed window", two, false, "HDMI-1", "window eDP-1; F11 HDMI-1"},
        {"chosen projector", two, true, "HDMI-1", "full HDMI-1; F11 HDMI-1"},
        {"chosen laptop", two, true, "eDP-1", "full eDP-1; F11 eDP-1"},
        {"chosen missing", two, true, "HDMI-2", "window eDP-1, told; F11 HDMI-1"},
        {"off, chosen missing: nothing told", {laptop}, false, "HDMI-1", "window eDP-1; F11 eDP-1"},
        {"default, laptop alone", {laptop}, true, "", "full eDP-1; F11 eDP-1"},
        {"default, projector beside", two, true, "", "full HDMI-1; F11 HDMI-1"},
        {"default, projector first", {projector, laptop}, true, "", "full HDMI-1; F11 HDMI-1"},
        {"default of three", {laptop, side, projector}, true, "", "full DP-2; F11 DP-2"},
        {"none marked primary", {side, projector}, true, "", "full HDMI-1; F11 HDMI-1"},
        {"names match exactly", two, true, "hdmi-1", "window eDP-1, told; F11 HDMI-1"},
        {"no screens", {}, true, "HDMI-1", "window none; F11 none"},
    };
    for (const auto& row : rows) {
        const BoardPlacement placed = placeBoard({row.fullScreen, row.chosen, false}, row.screens);
        EXPECT_EQ((placed.fullScreen ? "full " : "window ") + nameAt(row.screens, placed.screen) +
                      (placed.chosenMissing ? ", told" : "") + "; F11 " +
                      nameAt(row.screens, pickScreen(row.screens, row.chosen).screen),
                  row.starts)
            << row.name;
    }
}

// Where a full-screen board moves when a screen goes; "none": it stays.
TEST(ScreenChoice, aScreenGoesAway) {
    const struct {
        const char* name;
        ScreenList remaining;
        QString removed, boardOn, chosen; // boardOn empty: in a window
        std::string movesTo;
    } rows[] = {
        {"full on the projector that went", {laptop}, "HDMI-1", "HDMI-1", "HDMI-1", "eDP-1"},
        {"went, another one left", {laptop, side}, "HDMI-1", "HDMI-1", "", "DP-2"},
        {"went, the chosen one is back", {laptop, side}, "HDMI-1", "HDMI-1", "DP-2", "DP-2"},
        {"full on another screen", {laptop, side}, "HDMI-1", "DP-2", "DP-2", "none"},
        {"the laptop's screen went", {projector}, "eDP-1", "HDMI-1", "HDMI-1", "none"},
        {"in a window", {laptop}, "HDMI-1", "", "HDMI-1", "none"},
        {"nothing left", {}, "HDMI-1", "HDMI-1", "HDMI-1", "none"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(nameAt(row.remaining,
                         screenAfterRemoval(row.remaining, row.removed, row.boardOn, row.chosen)),
                  row.movesTo)
            << row.name;
}

TEST(ScreenChoice, theWindowComesBack) {
    const QRect onLaptop(100, 50, 800, 600), onProjector(2000, 40, 800, 600);
    const QRect centred(560, 240, 800, 600);
    const struct {
        const char* name;
        ScreenList screens;
        QRect was, placed;
    } rows[] = {
        {"where it was", two, onLaptop, onLaptop},
        {"on the projector", two, onProjector, onProjector},
        {"on the projector, gone", {laptop}, onProjector, centred},
        {"its screen moved", {laptop, {"HDMI-1", QRect(0, 1080, 1280, 720)}}, onProjector, centred},
        {"never had a window: the design's size", two, QRect(), QRect(644, 313, 632, 453)},
        {"larger than the laptop", {laptop}, QRect(1920, 0, 2560, 1440), laptop.geometry},
        {"no screens", {}, onLaptop, onLaptop},
    };
    for (const auto& row : rows)
        EXPECT_EQ(windowedPlacement(row.was, QSize(632, 453), row.screens), row.placed) << row.name;
}

// Read from what the store holds (null: nothing stored); what is read comes back as written, in
// one write to the store.
TEST(ScreenSettings, readFromTheStore) {
    const QString longest(200, QLatin1Char('D'));
    const struct {
        const char* name;
        QString fullScreen, console, screen;
        ScreenSettings expected;
    } rows[] = {
        {"nothing stored", {}, {}, {}, {}},
        {"all set", "1", "1", "HDMI-1", {true, "HDMI-1", true}},
        {"spaces around switches, in a name", " 1 ", "0 ", " DP 1 ", {true, " DP 1 ", false}},
        {"longest name", "0", "1", longest, {false, longest, true}},
        {"switches as words", "true", "yes", "HDMI-1", {false, "HDMI-1", false}},
        {"switches as other numbers", "2", "-1", "HDMI-1", {false, "HDMI-1", false}},
        {"name with a line break", "1", "1", "HDMI\n1", {true, "", true}},
        {"name with a NUL", "1", "1", QString("HDMI") + QChar(0), {true, "", true}},
        {"name too long", "1", "1", longest + "D", {true, "", true}},
    };
    for (const auto& row : rows) {
        MemorySettingsStore store, written;
        for (auto [key, value] : {std::pair{"FullScreen", row.fullScreen},
                                  {"Console", row.console},
                                  {"Screen", row.screen}})
            if (!value.isNull())
                store.put(kScreenSettingsSection, key, value);
        EXPECT_TRUE(loadScreenSettings(store) == row.expected) << row.name;
        saveScreenSettings(row.expected, written);
        EXPECT_TRUE(written.writes() == 1 && loadScreenSettings(written) == row.expected)
            << row.name;
    }
}

} // namespace
