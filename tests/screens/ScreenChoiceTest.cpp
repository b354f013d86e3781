// Which screen the board goes to and where its window comes back, for every case a rink meets:
// a projector plugged in or not, chosen or not, pulled out while the board is on it.
#include "screens/ScreenChoice.h"

#include <gtest/gtest.h>

// Failures name the screens and rectangles.
void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
void PrintTo(const QRect& r, std::ostream* out) {
    *out << r.x() << ',' << r.y() << ' ' << r.width() << 'x' << r.height();
}

namespace {

const ScreenInfo laptop{"eDP-1", QRect(0, 0, 1920, 1080), true};
const ScreenInfo projector{"HDMI-1", QRect(1920, 0, 1280, 720), false};
const ScreenInfo side{"DP-2", QRect(-1024, 0, 1024, 768), false};
// A projector the system lists before the laptop.
const ScreenInfo projectorFirst{"HDMI-1", QRect(-1280, 0, 1280, 720), false};
// A system that marks no screen as the primary one.
const ScreenInfo unmarked{"VGA-1", QRect(0, 0, 1024, 768), false};

QString nameAt(const ScreenList& screens, int index) {
    return index < 0 ? QStringLiteral("none") : screens.at(static_cast<size_t>(index)).name;
}

TEST(ScreenChoice, everyStartAndF11) {
    struct Row {
        const char* name;
        ScreenList screens;
        bool fullScreen;
        QString chosen;
        // How the board starts or follows the options: full screen or windowed, on which
        // screen, whether the timekeeper is told the chosen screen is missing.
        bool startsFull;
        QString startsOn;
        bool missing;
        QString f11On; // where F11 puts the board
    };
    const ScreenList two{laptop, projector};
    const ScreenList three{laptop, projector, side};
    const Row rows[] = {
        {"windowed: the designed board", two, false, "HDMI-1", false, "eDP-1", false, "HDMI-1"},
        {"chosen projector present", two, true, "HDMI-1", true, "HDMI-1", false, "HDMI-1"},
        {"chosen laptop present", two, true, "eDP-1", true, "eDP-1", false, "eDP-1"},
        {"chosen missing, two screens", two, true, "HDMI-2", false, "eDP-1", true, "HDMI-1"},
        {"chosen missing, laptop alone", {laptop}, true, "HDMI-1", false, "eDP-1", true, "eDP-1"},
        {"windowed, chosen missing: nothing to tell",
         {laptop},
         false,
         "HDMI-1",
         false,
         "eDP-1",
         false,
         "eDP-1"},
        {"none chosen, laptop alone", {laptop}, true, "", true, "eDP-1", false, "eDP-1"},
        {"none chosen, projector beside", two, true, "", true, "HDMI-1", false, "HDMI-1"},
        {"none chosen, projector listed first",
         {projectorFirst, laptop},
         true,
         "",
         true,
         "HDMI-1",
         false,
         "HDMI-1"},
        {"none chosen, three screens: the first beside the laptop", three, true, "", true, "HDMI-1",
         false, "HDMI-1"},
        {"chosen among three", three, true, "DP-2", true, "DP-2", false, "DP-2"},
        {"no screen marked primary",
         {unmarked, projector},
         true,
         "",
         true,
         "HDMI-1",
         false,
         "HDMI-1"},
        {"names are matched exactly", two, true, "hdmi-1", false, "eDP-1", true, "HDMI-1"},
        {"no screens at all", {}, true, "HDMI-1", false, "none", false, "none"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ScreenSettings settings{row.fullScreen, row.chosen, false};
        const BoardPlacement placed = placeBoard(settings, row.screens);
        EXPECT_EQ(placed.fullScreen, row.startsFull);
        EXPECT_EQ(nameAt(row.screens, placed.screen), row.startsOn);
        EXPECT_EQ(placed.chosenMissing, row.missing);
        const ScreenPick f11 = pickScreen(row.screens, row.chosen);
        EXPECT_EQ(nameAt(row.screens, f11.screen), row.f11On);
        EXPECT_EQ(f11.chosenMissing,
                  !row.chosen.isEmpty() && screenNamed(row.screens, row.chosen) < 0);
    }
}

TEST(ScreenChoice, aScreenGoesAway) {
    struct Row {
        const char* name;
        ScreenList remaining;
        QString removed;
        QString boardOn; // empty: the board is in a window
        QString chosen;
        QString movesTo; // "none": stays where it is
    };
    const Row rows[] = {
        {"full screen on the projector that went", {laptop}, "HDMI-1", "HDMI-1", "HDMI-1", "eDP-1"},
        {"chosen by default, went", {laptop}, "HDMI-1", "HDMI-1", "", "eDP-1"},
        {"went, another projector left", {laptop, side}, "HDMI-1", "HDMI-1", "", "DP-2"},
        {"went, the chosen one is back", {laptop, side}, "HDMI-1", "HDMI-1", "DP-2", "DP-2"},
        {"full screen on another screen", {laptop, side}, "HDMI-1", "DP-2", "DP-2", "none"},
        {"full screen on the laptop", {laptop}, "HDMI-1", "eDP-1", "eDP-1", "none"},
        {"the laptop's screen went", {projector}, "eDP-1", "HDMI-1", "HDMI-1", "none"},
        {"in a window", {laptop}, "HDMI-1", "", "HDMI-1", "none"},
        {"nothing left", {}, "HDMI-1", "HDMI-1", "HDMI-1", "none"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(nameAt(row.remaining,
                         screenAfterRemoval(row.remaining, row.removed, row.boardOn, row.chosen)),
                  row.movesTo);
    }
}

TEST(ScreenChoice, theWindowComesBack) {
    struct Row {
        const char* name;
        ScreenList screens;
        QRect was;
        QRect placed;
    };
    const QSize design(632, 453);
    const QRect onLaptop(100, 50, 800, 600);
    const QRect onProjector(2000, 40, 800, 600);
    const Row rows[] = {
        {"where it was", {laptop, projector}, onLaptop, onLaptop},
        {"on the projector, still there", {laptop, projector}, onProjector, onProjector},
        {"half on the projector",
         {laptop, projector},
         QRect(1500, 0, 800, 600),
         QRect(1500, 0, 800, 600)},
        {"on the projector, gone", {laptop}, onProjector, QRect(560, 240, 800, 600)},
        {"its screen moved away from it",
         {laptop, {"HDMI-1", QRect(0, 1080, 1280, 720), false}},
         onProjector,
         QRect(560, 240, 800, 600)},
        {"never had a window", {laptop, projector}, QRect(), QRect(644, 313, 632, 453)},
        {"larger than the laptop", {laptop}, QRect(1920, 0, 2560, 1440), QRect(0, 0, 1920, 1080)},
        {"no screens", {}, onLaptop, onLaptop},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(windowedPlacement(row.was, design, row.screens), row.placed);
    }
}

} // namespace
