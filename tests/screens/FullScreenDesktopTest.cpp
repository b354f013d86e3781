// The real program at a rink, a laptop with a projector beside it, under a window manager and on
// a bare X server (where none fits a full-screen window to what remains): F11 fills the
// projector and gives the window back; the projector pulled while the clock runs moves the
// board to the laptop and the game goes on; a start without it opens a window and says so. The
// timekeeper's console on the laptop runs the game while the board fills the projector. With the
// penalty assistant on, the timekeeper's corrections of the clock and the score reach it.
#include "journal/PrivateProgram.h"
#include "support/Patience.h"
#include "support/XDesktop.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>

#include <algorithm>

#include <gtest/gtest.h>

void PrintTo(const QRect& r, std::ostream* out) {
    *out << r.x() << ',' << r.y() << ' ' << r.width() << 'x' << r.height();
}

namespace {

const XDesktop::Monitor kLaptop{"LAPTOP", QRect(0, 0, 1920, 1080)};
const XDesktop::Monitor kProjector{"PROJECTOR", QRect(1920, 0, 1920, 1080)};

bool soon(const std::function<bool()>& done) {
    return XDesktop::waitFor(done, kPatienceMs);
}

// The laptop and the projector on a private X display, and a user of the program there whose
// board writes its state, and whose console its text, where the test reads them.
struct Rink {
    explicit Rink(bool managed) : desktop(managed, {kLaptop, kProjector}) {
        for (const char* name : {"DISPLAY", "QT_QPA_PLATFORM"})
            env.insert(name, desktop.environment().value(name));
        env.insert("PUCKTALLY_TEST_STATE", user.path("state.json"));
        env.insert("PUCKTALLY_TEST_CONSOLE", user.path("console.txt"));
    }
    ~Rink() {
        program.kill();
        program.waitForFinished(kPatienceMs);
    }
    // The program started on the board ("bypass"): its window.
    XDesktop::WindowId start() {
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(PUCKTALLY_PROGRAM), {QStringLiteral("bypass")});
        return window();
    }
    // The program's one window on screen besides `other`; 0 when none showed.
    XDesktop::WindowId window(XDesktop::WindowId other = 0) {
        std::vector<XDesktop::WindowId> shown;
        soon([&] {
            shown = desktop.shownWindowsOf(program.processId());
            shown.erase(std::remove(shown.begin(), shown.end(), other), shown.end());
            return shown.size() == 1;
        });
        return shown.size() == 1 ? shown.front() : 0;
    }
    void store(const char* key, const QString& value) {
        QSettings(user.path("config/PuckTally.ini"), QSettings::IniFormat).setValue(key, value);
    }
    QString read(const char* name) {
        QFile f(user.path(name));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    QJsonObject state() {
        return QJsonDocument::fromJson(read("state.json").toUtf8()).object()["state"].toObject();
    }
    bool clockRunning() { return state()["clockRunning"].toBool(); }
    bool focus(XDesktop::WindowId w) {
        desktop.activate(w);
        return soon([&] { return desktop.hasFocus(w); });
    }
    // The board at `area`; full screen, the corners show its background (no frame) and the
    // window manager, where one runs, knows it so.
    testing::AssertionResult shows(XDesktop::WindowId w, const QRect& area, bool full = true) {
        const bool there = soon([&] {
            const QImage shot = desktop.grab(area);
            const QRect r = shot.rect();
            bool corners = true;
            for (QPoint p : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()})
                corners = corners && shot.pixel(p) == qRgb(64, 64, 64);
            return desktop.geometry(w) == area &&
                   (!desktop.managed() || desktop.fullScreen(w) == full) && (corners || !full);
        });
        return (there ? testing::AssertionSuccess() : testing::AssertionFailure())
               << "the board at " << testing::PrintToString(desktop.geometry(w));
    }
    XDesktop desktop;
    PrivateProgram user{QStringLiteral(PUCKTALLY_PROGRAM)};
    QProcessEnvironment env = user.environment();
    QProcess program;
};

class BoardFullScreen : public testing::TestWithParam<bool> {};

TEST_P(BoardFullScreen, fillsTheProjectorFollowsItsCableAndStartsWithoutIt) {
    Rink rink(GetParam());
    XDesktop& desktop = rink.desktop;
    ASSERT_TRUE(desktop.ok()) << "no private X server split into two monitors";
    ASSERT_EQ(desktop.managed(), GetParam()) << "the window manager did not start";
    const XDesktop::WindowId board = rink.start();
    ASSERT_NE(board, 0u) << "the board did not show";
    const QRect windowed = desktop.geometry(board);
    EXPECT_TRUE(kLaptop.area.contains(windowed)) << "a first start opens in a window";
    ASSERT_TRUE(rink.focus(board));
    desktop.stroke("s");
    ASSERT_TRUE(soon([&] { return rink.clockRunning(); }));

    // F11 fills the projector, the screen beside the laptop; F11 again gives the window back as
    // it was; a third time fills the projector again.
    for (const QRect& area : {kProjector.area, windowed, kProjector.area}) {
        desktop.stroke("F11");
        ASSERT_TRUE(rink.shows(board, area, area != windowed));
    }

    // The projector's cable pulled: the board fills the laptop, the clock runs on.
    const QString clockBefore = rink.state()["clock"].toString();
    ASSERT_TRUE(desktop.deleteMonitor(kProjector.name));
    EXPECT_TRUE(rink.shows(board, kLaptop.area));
    EXPECT_TRUE(soon([&] {
        return rink.clockRunning() && rink.state()["clock"].toString() != clockBefore;
    })) << "the clock stood at "
        << clockBefore.toStdString();
    EXPECT_TRUE(desktop.title(board).contains("PROJECTOR went away"));

    // Plugged in again, the projector takes nothing: after the next key (the clock stopped) the
    // board still fills the laptop.
    ASSERT_TRUE(desktop.addMonitor(kProjector));
    desktop.stroke("s");
    ASSERT_TRUE(soon([&] { return !rink.clockRunning(); }));
    EXPECT_EQ(desktop.geometry(board), kLaptop.area);
    desktop.closeWindow(board);
    ASSERT_TRUE(rink.program.waitForFinished(kPatienceMs));

    // The projector chosen in the options, and missing at the next start: a window on the
    // laptop, the timekeeper told.
    rink.store("Screens/Screen", kProjector.name);
    ASSERT_TRUE(desktop.deleteMonitor(kProjector.name));
    const XDesktop::WindowId again = rink.start();
    ASSERT_NE(again, 0u) << "the board did not show";
    EXPECT_TRUE(soon([&] { return desktop.title(again).contains("PROJECTOR not connected"); }))
        << desktop.title(again).toStdString();
    const QRect shown = desktop.geometry(again);
    EXPECT_TRUE(kLaptop.area.contains(shown) && shown != kLaptop.area)
        << testing::PrintToString(shown);
}

TEST(TimekeeperConsole, RunsTheGameFromTheLaptopWhileTheBoardFillsTheProjector) {
    Rink rink(true);
    XDesktop& desktop = rink.desktop;
    ASSERT_TRUE(desktop.ok() && desktop.managed()) << "no private desktop with two monitors";
    rink.store("Screens/FullScreen", "1");
    rink.store("Penalties/Rules", "IIHF");
    const XDesktop::WindowId board = rink.start();
    ASSERT_NE(board, 0u) << "the board did not show";
    ASSERT_TRUE(rink.shows(board, kProjector.area));
    ASSERT_TRUE(rink.focus(board));

    // F12: the console, on the laptop.
    desktop.stroke("F12");
    const XDesktop::WindowId console = rink.window(board);
    ASSERT_NE(console, 0u) << "the console did not show";
    EXPECT_TRUE(kLaptop.area.contains(desktop.geometry(console)))
        << testing::PrintToString(desktop.geometry(console));
    ASSERT_TRUE(rink.focus(console));

    // Typed into the console: the home score, a penalty to visitor 12, the clock started.
    const QImage before = desktop.grab(kProjector.area);
    for (const char* key : {"Tab", "3", "Return"})
        desktop.stroke(key);
    desktop.strokeWith("Control_L", "p");
    for (const char* key : {"v", "1", "2", "m", "Return", "s"})
        desktop.stroke(key);
    EXPECT_TRUE(soon([&] {
        const QJsonObject s = rink.state();
        return s["home"].toInt() == 3 && s["clockRunning"].toBool() && s["p3.player"].toInt() == 12;
    })) << QJsonDocument(rink.state()).toJson().toStdString();
    // The crowd sees it: the projector's pixels changed, the board still fills it.
    EXPECT_TRUE(soon([&] { return desktop.grab(kProjector.area) != before; }));
    EXPECT_TRUE(rink.shows(board, kProjector.area));
    EXPECT_TRUE(soon([&] {
        const QString text = rink.read("console.txt");
        return text.contains("Clock 1: 12 minor") && text.contains("5 on 4, PP H");
    })) << rink.read("console.txt").toStdString();
    EXPECT_FALSE(desktop.title(board).contains("Penalties")) << "the crowd's title tells nothing";

    // Closed, the console leaves the program running: the board is still there.
    desktop.closeWindow(console);
    EXPECT_TRUE(soon(
        [&] { return desktop.shownWindowsOf(rink.program.processId()) == std::vector{board}; }));
}

// A minor typed, the clock stopped late and set back, a goal disallowed and scored again: typed
// with real keys into the real program, the penalty assistant follows each correction.
TEST(PenaltyAssistantAtTheRink, followsEveryCorrectionTypedWithRealKeys) {
    Rink rink(false);
    ASSERT_TRUE(rink.desktop.ok()) << "no private X server";
    rink.store("Penalties/Rules", QStringLiteral("IIHF"));
    const XDesktop::WindowId board = rink.start();
    ASSERT_TRUE(board != 0 && rink.focus(board)) << "the board did not show";
    // The minor runs; the clock, stopped late, is set back to where it was given: all its time
    // comes back. A power-play goal ends it; disallowed, the minor is back; scored again, ends it.
    // Then a visitor's minor runs, and a home minor at the same stoppage is reported late (L):
    // a coincident pair, both off the clocks, not four on four. Last, a minor's time typed over
    // its slot moves when it was given (1:55 left: given 5 s later).
    const struct {
        bool penalty; // Ctrl+P first
        std::vector<const char*> keys;
        int home; // the first slot of each team: player (-1 for none) and time
        const char* homeTime;
        int guest = -1;
        const char* guestTime = "";
    } steps[] = {
        {true, {"h", "7", "m", "Return", "s"}, 7, "1:59"},
        {false, {"s", "1", "0", "Return"}, 7, "2:00"},
        {false, {"Tab", "Tab", "1", "Return"}, -1, ""},
        {false, {"0", "Return"}, 7, "2:00"},
        {false, {"1", "Return"}, -1, ""},
        {true, {"v", "1", "2", "m", "Return", "s"}, -1, "", 12, "1:59"},
        {true, {"h", "9", "m", "l"}, -1, "", -1, ""},
        {false, {"s"}, -1, "", -1, ""},
        {true, {"h", "5", "m", "Return", "s"}, 5, "1:50"},
        {false,
         {"s", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "1", "period", "5", "5", "Return"},
         5,
         "1:55"}};
    for (const auto& step : steps) {
        if (step.penalty)
            rink.desktop.strokeWith("Control_L", "p");
        for (const char* key : step.keys)
            rink.desktop.stroke(key);
        ASSERT_TRUE(soon([&] {
            const QJsonObject s = rink.state();
            return s["p1.player"].toInt(-1) == step.home &&
                   s["p1.time"].toString() == step.homeTime &&
                   s["p3.player"].toInt(-1) == step.guest &&
                   s["p3.time"].toString() == step.guestTime;
        })) << step.keys.front()
            << ": " << QJsonDocument(rink.state()).toJson().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Desktop, BoardFullScreen, testing::Values(true, false),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "UnderOpenbox" : "BareXServer";
                         });

} // namespace
