// The real program at a rink, a laptop with a projector beside it, under a window manager and on
// a bare X server (where none fits a full-screen window to what remains): F11 fills the
// projector and gives the window back; the projector pulled while the clock runs moves the
// board to the laptop and the game goes on; a start without it opens a window and says so.
#include "journal/PrivateProgram.h"
#include "support/Patience.h"
#include "support/XDesktop.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>

#include <gtest/gtest.h>

void PrintTo(const QRect& r, std::ostream* out) {
    *out << r.x() << ',' << r.y() << ' ' << r.width() << 'x' << r.height();
}

namespace {

const XDesktop::Monitor kLaptop{"LAPTOP", QRect(0, 0, 1920, 1080)};
const XDesktop::Monitor kProjector{"PROJECTOR", QRect(1920, 0, 1920, 1080)};

// The real program on the board ("bypass"), its one window found on the desktop.
struct RunningBoard {
    RunningBoard(XDesktop& desktop, const QProcessEnvironment& env) {
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(PUCKTALLY_PROGRAM), {QStringLiteral("bypass")});
        XDesktop::waitFor(
            [&] {
                const auto shown = desktop.shownWindowsOf(program.processId());
                return (window = shown.size() == 1 ? shown.front() : 0) != 0;
            },
            kPatienceMs);
    }
    ~RunningBoard() {
        program.kill();
        program.waitForFinished(kPatienceMs);
    }
    QProcess program;
    XDesktop::WindowId window = 0;
};

class BoardFullScreen : public testing::TestWithParam<bool> {};

TEST_P(BoardFullScreen, fillsTheProjectorFollowsItsCableAndStartsWithoutIt) {
    XDesktop desktop(GetParam(), {kLaptop, kProjector});
    ASSERT_TRUE(desktop.ok()) << "no private X server split into two monitors";
    ASSERT_EQ(desktop.managed(), GetParam()) << "the window manager did not start";
    PrivateProgram user(QStringLiteral(PUCKTALLY_PROGRAM));
    QProcessEnvironment env = user.environment();
    for (const char* name : {"DISPLAY", "QT_QPA_PLATFORM"})
        env.insert(name, desktop.environment().value(name));
    env.insert("PUCKTALLY_TEST_STATE", user.path("state.json"));
    const auto state = [&user] {
        QFile f(user.path("state.json"));
        return f.open(QIODevice::ReadOnly)
                   ? QJsonDocument::fromJson(f.readAll()).object().value("state").toObject()
                   : QJsonObject();
    };
    // Without a window manager nobody writes the window's state: only its place tells.
    const auto shownFull = [&](auto w) { return !GetParam() || desktop.fullScreen(w); };
    // The board fills `area`: its place, and the corners show its background, no frame.
    const auto fills = [&](auto w, const QRect& area) {
        return XDesktop::waitFor(
            [&] {
                const QImage shot = desktop.grab(area);
                const QRect r = shot.rect();
                if (desktop.geometry(w) != area || shot.size() != area.size())
                    return false;
                for (QPoint p : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()})
                    if (shot.pixel(p) != qRgb(64, 64, 64))
                        return false;
                return true;
            },
            kPatienceMs);
    };

    {
        RunningBoard run(desktop, env);
        const XDesktop::WindowId board = run.window;
        ASSERT_NE(board, 0u) << "the board did not show";
        const QRect windowed = desktop.geometry(board);
        EXPECT_TRUE(kLaptop.area.contains(windowed)) << "a first start opens in a window";
        desktop.activate(board);
        ASSERT_TRUE(XDesktop::waitFor([&] { return desktop.hasFocus(board); }, kPatienceMs));
        desktop.stroke("s");
        ASSERT_TRUE(
            XDesktop::waitFor([&] { return state().value("clockRunning").toBool(); }, kPatienceMs));

        // F11 fills the projector, the screen beside the laptop; F11 again gives the window
        // back as it was; a third time fills the projector again.
        desktop.stroke("F11");
        EXPECT_TRUE(fills(board, kProjector.area))
            << testing::PrintToString(desktop.geometry(board));
        EXPECT_TRUE(shownFull(board));
        desktop.stroke("F11");
        EXPECT_TRUE(
            XDesktop::waitFor([&] { return desktop.geometry(board) == windowed; }, kPatienceMs))
            << testing::PrintToString(desktop.geometry(board));
        desktop.stroke("F11");
        ASSERT_TRUE(fills(board, kProjector.area));

        // The projector's cable pulled: the board fills the laptop, the clock runs on.
        const QString clockBefore = state().value("clock").toString();
        ASSERT_TRUE(desktop.deleteMonitor(kProjector.name));
        EXPECT_TRUE(fills(board, kLaptop.area)) << testing::PrintToString(desktop.geometry(board));
        EXPECT_TRUE(shownFull(board));
        EXPECT_TRUE(XDesktop::waitFor(
            [&] {
                return state().value("clockRunning").toBool() &&
                       state().value("clock").toString() != clockBefore;
            },
            kPatienceMs))
            << "the clock stood at " << clockBefore.toStdString();
        EXPECT_TRUE(desktop.title(board).contains("PROJECTOR went away"));

        // Plugged in again, the projector takes nothing: after the next key (the clock stopped)
        // the board still fills the laptop.
        ASSERT_TRUE(desktop.addMonitor(kProjector));
        desktop.stroke("s");
        ASSERT_TRUE(XDesktop::waitFor([&] { return !state().value("clockRunning").toBool(); },
                                      kPatienceMs));
        EXPECT_EQ(desktop.geometry(board), kLaptop.area);
        desktop.closeWindow(board);
        ASSERT_TRUE(run.program.waitForFinished(kPatienceMs));
    }

    // The projector chosen in the options, and missing at the next start: a window on the
    // laptop, the timekeeper told.
    QSettings(user.path("config/PuckTally.ini"), QSettings::IniFormat)
        .setValue("Screens/Screen", kProjector.name);
    ASSERT_TRUE(desktop.deleteMonitor(kProjector.name));
    RunningBoard run(desktop, env);
    ASSERT_NE(run.window, 0u) << "the board did not show";
    EXPECT_TRUE(XDesktop::waitFor(
        [&] { return desktop.title(run.window).contains("PROJECTOR not connected"); }, kPatienceMs))
        << desktop.title(run.window).toStdString();
    const QRect shown = desktop.geometry(run.window);
    EXPECT_TRUE(kLaptop.area.contains(shown) && shown != kLaptop.area)
        << testing::PrintToString(shown);
    EXPECT_FALSE(desktop.fullScreen(run.window));
}

TEST(TimekeeperConsole, RunsTheGameFromTheLaptopWhileTheBoardFillsTheProjector) {
    XDesktop desktop(true, {kLaptop, kProjector});
    ASSERT_TRUE(desktop.ok() && desktop.managed()) << "no private desktop with two monitors";
    PrivateProgram user(QStringLiteral(PUCKTALLY_PROGRAM));
    {
        QSettings stored(user.path(QStringLiteral("config/PuckTally.ini")), QSettings::IniFormat);
        stored.setValue("Screens/FullScreen", QStringLiteral("1"));
        stored.setValue("Penalties/Rules", QStringLiteral("IIHF"));
    }
    QProcessEnvironment env = user.environment();
    for (const char* name : {"DISPLAY", "QT_QPA_PLATFORM"})
        env.insert(name, desktop.environment().value(name));
    env.insert("PUCKTALLY_TEST_STATE", user.path("state.json"));
    env.insert("PUCKTALLY_TEST_CONSOLE", user.path("console.txt"));
    const auto read = [&user](const char* name) {
        QFile f(user.path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const auto boardState = [&] {
        return QJsonDocument::fromJson(read("state.json")).object().value("state").toObject();
    };
    const auto consoleText = [&] { return QString::fromUtf8(read("console.txt")); };
    RunningBoard run(desktop, env);
    const XDesktop::WindowId board = run.window;
    ASSERT_NE(board, 0u) << "the board did not show";
    ASSERT_TRUE(
        XDesktop::waitFor([&] { return desktop.geometry(board) == kProjector.area; }, kPatienceMs));
    desktop.activate(board);
    ASSERT_TRUE(XDesktop::waitFor([&] { return desktop.hasFocus(board); }, kPatienceMs));

    // F12: the console, on the laptop.
    desktop.stroke("F12");
    XDesktop::WindowId console = 0;
    ASSERT_TRUE(XDesktop::waitFor(
        [&] {
            for (XDesktop::WindowId w : desktop.shownWindowsOf(run.program.processId()))
                console = w != board ? w : console;
            return console != 0;
        },
        kPatienceMs));
    EXPECT_TRUE(kLaptop.area.contains(desktop.geometry(console)))
        << testing::PrintToString(desktop.geometry(console));
    desktop.activate(console);
    ASSERT_TRUE(XDesktop::waitFor([&] { return desktop.hasFocus(console); }, kPatienceMs));

    // Typed into the console: the home score, a penalty to visitor 12, the clock started.
    const QImage before = desktop.grab(kProjector.area);
    for (const char* key : {"Tab", "3", "Return"})
        desktop.stroke(key);
    desktop.strokeWith("Control_L", "p");
    for (const char* key : {"v", "1", "2", "m", "Return", "s"})
        desktop.stroke(key);
    EXPECT_TRUE(XDesktop::waitFor(
        [&] {
            const QJsonObject s = boardState();
            return s.value("home").toInt() == 3 && s.value("clockRunning").toBool() &&
                   s.value("p3.player").toInt() == 12;
        },
        kPatienceMs))
        << QJsonDocument(boardState()).toJson().toStdString();
    // The crowd sees it: the projector's pixels changed, the board still fills it.
    EXPECT_TRUE(
        XDesktop::waitFor([&] { return desktop.grab(kProjector.area) != before; }, kPatienceMs));
    const QImage after = desktop.grab(kProjector.area);
    EXPECT_EQ(after.pixel(0, 0), qRgb(64, 64, 64)) << "the board no longer fills the projector";
    EXPECT_TRUE(XDesktop::waitFor(
        [&] {
            const QString text = consoleText();
            return text.contains("Clock 1: 12 minor") && text.contains("5 on 4, PP H");
        },
        kPatienceMs))
        << consoleText().toStdString();
    EXPECT_FALSE(desktop.title(board).contains("Penalties")) << "the crowd's title tells nothing";

    // Closed, the console leaves the program running: the board is still there.
    desktop.closeWindow(console);
    EXPECT_TRUE(XDesktop::waitFor(
        [&] {
            const auto shown = desktop.shownWindowsOf(run.program.processId());
            return shown.size() == 1 && shown.front() == board;
        },
        kPatienceMs));
}

INSTANTIATE_TEST_SUITE_P(Desktop, BoardFullScreen, testing::Values(true, false),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "UnderOpenbox" : "BareXServer";
                         });

} // namespace
