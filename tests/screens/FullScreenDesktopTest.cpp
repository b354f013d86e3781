// The real program at a rink: a laptop with a projector beside it, under a real window manager
// and on a bare X server (where no window manager fits a full-screen window to what remains).
// F11 puts the board full screen on the projector and back; the projector's cable pulled while
// the clock runs moves the board to the laptop and the game goes on; the next start without
// the projector shows the board in a window on the laptop and tells the timekeeper.
#include "journal/PrivateProgram.h"
#include "support/Patience.h"
#include "support/XDesktop.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>

#include <gtest/gtest.h>

void PrintTo(const QRect& r, std::ostream* out) {
    *out << r.x() << ',' << r.y() << ' ' << r.width() << 'x' << r.height();
}

namespace {

const XDesktop::Monitor kLaptop{"LAPTOP", QRect(0, 0, 1920, 1080)};
const XDesktop::Monitor kProjector{"PROJECTOR", QRect(1920, 0, 1920, 1080)};
// The board's background in the settings' default colours.
const QRgb kBoardBackground = qRgb(0x40, 0x40, 0x40);

// A private home and journal whose program shows its windows on `desktop` and writes the
// board's state after every change.
QProcessEnvironment onDesktop(const PrivateProgram& user, const XDesktop& desktop) {
    QProcessEnvironment env = user.environment();
    for (const char* name : {"DISPLAY", "QT_QPA_PLATFORM"})
        env.insert(QLatin1String(name), desktop.environment().value(QLatin1String(name)));
    env.insert(QStringLiteral("PUCKTALLY_TEST_STATE"), user.path(QStringLiteral("state.json")));
    return env;
}

QJsonObject boardState(const PrivateProgram& user) {
    QFile f(user.path(QStringLiteral("state.json")));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(f.readAll()).object().value(QStringLiteral("state")).toObject();
}

// The four corners of `area` show the board's background: the board fills it, no window
// frame or title bar in it.
bool boardFills(XDesktop& desktop, const QRect& area) {
    const QImage shot = desktop.grab(area);
    const QRect r = shot.rect();
    if (shot.size() != area.size())
        return false;
    for (QPoint corner : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()})
        if (shot.pixel(corner) != kBoardBackground)
            return false;
    return true;
}

// The real program started on the board ("bypass"), its one window found on the desktop.
struct RunningBoard {
    RunningBoard(XDesktop& desktop, const QProcessEnvironment& env) {
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(QStringLiteral(PUCKTALLY_PROGRAM), {QStringLiteral("bypass")});
        if (!program.waitForStarted(kPatienceMs))
            return;
        XDesktop::waitFor(
            [&] {
                const auto shown = desktop.shownWindowsOf(program.processId());
                window = shown.size() == 1 ? shown.front() : 0;
                return window != 0;
            },
            kPatienceMs);
    }
    ~RunningBoard() {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(kPatienceMs);
        }
    }
    QProcess program;
    XDesktop::WindowId window = 0;
};

class BoardFullScreen : public testing::TestWithParam<bool> {};

TEST_P(BoardFullScreen, fillsTheProjectorFollowsItsCableAndStartsWithoutIt) {
    XDesktop desktop(GetParam(), {kLaptop, kProjector});
    ASSERT_TRUE(desktop.ok()) << "no private X server split into two monitors";
    ASSERT_EQ(desktop.managed(), GetParam()) << "the window manager did not start";
    // Without a window manager nobody writes the window's state: only its place tells.
    const auto shownFullScreen = [&desktop](XDesktop::WindowId w) {
        return !desktop.managed() || desktop.fullScreen(w);
    };
    PrivateProgram user(QStringLiteral(PUCKTALLY_PROGRAM));
    const QProcessEnvironment env = onDesktop(user, desktop);
    const auto geometryOf = [&desktop](XDesktop::WindowId w) { return desktop.geometry(w); };

    QRect windowed;
    {
        RunningBoard run(desktop, env);
        const XDesktop::WindowId board = run.window;
        ASSERT_NE(board, 0u) << "the board did not show";
        windowed = geometryOf(board);
        EXPECT_TRUE(kLaptop.area.contains(windowed)) << "a first start opens in a window";
        EXPECT_FALSE(desktop.fullScreen(board));
        desktop.activate(board);
        ASSERT_TRUE(XDesktop::waitFor([&] { return desktop.hasFocus(board); }, kPatienceMs));

        // The clock runs before the board goes anywhere.
        desktop.stroke("s");
        ASSERT_TRUE(XDesktop::waitFor(
            [&] { return boardState(user).value("clockRunning").toBool(); }, kPatienceMs));

        // F11: on the projector, the screen beside the laptop, all of it and nothing else.
        desktop.stroke("F11");
        EXPECT_TRUE(
            XDesktop::waitFor([&] { return geometryOf(board) == kProjector.area; }, kPatienceMs))
            << "the board is at " << testing::PrintToString(geometryOf(board));
        EXPECT_TRUE(shownFullScreen(board));
        EXPECT_TRUE(
            XDesktop::waitFor([&] { return boardFills(desktop, kProjector.area); }, kPatienceMs));
        // F11 again: the window as it was; and once more onto the projector.
        desktop.stroke("F11");
        EXPECT_TRUE(XDesktop::waitFor([&] { return geometryOf(board) == windowed; }, kPatienceMs))
            << "the window came back at " << testing::PrintToString(geometryOf(board));
        desktop.stroke("F11");
        ASSERT_TRUE(
            XDesktop::waitFor([&] { return geometryOf(board) == kProjector.area; }, kPatienceMs));

        // The projector's cable pulled: the board fills the laptop, the clock runs on.
        const QString clockBefore = boardState(user).value("clock").toString();
        ASSERT_TRUE(desktop.deleteMonitor(kProjector.name));
        EXPECT_TRUE(
            XDesktop::waitFor([&] { return geometryOf(board) == kLaptop.area; }, kPatienceMs))
            << "the board is at " << testing::PrintToString(geometryOf(board));
        EXPECT_TRUE(shownFullScreen(board));
        EXPECT_TRUE(
            XDesktop::waitFor([&] { return boardFills(desktop, kLaptop.area); }, kPatienceMs));
        EXPECT_TRUE(XDesktop::waitFor(
            [&] {
                const QJsonObject now = boardState(user);
                return now.value("clockRunning").toBool() &&
                       now.value("clock").toString() != clockBefore;
            },
            kPatienceMs))
            << "the clock stood at " << clockBefore.toStdString();
        EXPECT_TRUE(desktop.title(board).contains("PROJECTOR went away"))
            << desktop.title(board).toStdString();

        // Plugged in again, the projector takes nothing: the clock stopped after it stays on
        // the laptop's full screen.
        ASSERT_TRUE(desktop.addMonitor(kProjector));
        desktop.stroke("s");
        ASSERT_TRUE(XDesktop::waitFor(
            [&] { return !boardState(user).value("clockRunning").toBool(); }, kPatienceMs));
        EXPECT_EQ(geometryOf(board), kLaptop.area);

        desktop.closeWindow(board);
        ASSERT_TRUE(run.program.waitForFinished(kPatienceMs));
    }

    // The projector chosen in the options, and missing at the next start.
    {
        QSettings stored(user.path(QStringLiteral("config/PuckTally.ini")), QSettings::IniFormat);
        EXPECT_EQ(stored.value("Screens/FullScreen").toString(), QStringLiteral("1"));
        stored.setValue("Screens/Screen", kProjector.name);
    }
    ASSERT_TRUE(desktop.deleteMonitor(kProjector.name));
    RunningBoard run(desktop, env);
    ASSERT_NE(run.window, 0u) << "the board did not show";
    EXPECT_TRUE(XDesktop::waitFor(
        [&] { return desktop.title(run.window).contains("PROJECTOR not connected"); }, kPatienceMs))
        << desktop.title(run.window).toStdString();
    EXPECT_TRUE(kLaptop.area.contains(geometryOf(run.window)))
        << testing::PrintToString(geometryOf(run.window));
    EXPECT_NE(geometryOf(run.window), kLaptop.area);
    EXPECT_FALSE(desktop.fullScreen(run.window));
}

QString consoleText(const PrivateProgram& user) {
    QFile f(user.path(QStringLiteral("console.txt")));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// The timekeeper at the laptop runs the game from the console while the board fills the
// projector: the keys typed there reach the board, which the crowd sees change, and the console
// shows the penalty assistant's bench.
TEST(TimekeeperConsole, RunsTheGameFromTheLaptopWhileTheBoardFillsTheProjector) {
    XDesktop desktop(true, {kLaptop, kProjector});
    ASSERT_TRUE(desktop.ok() && desktop.managed()) << "no private desktop with two monitors";
    PrivateProgram user(QStringLiteral(PUCKTALLY_PROGRAM));
    {
        QSettings stored(user.path(QStringLiteral("config/PuckTally.ini")), QSettings::IniFormat);
        stored.setValue("Screens/FullScreen", QStringLiteral("1"));
        stored.setValue("Penalties/Rules", QStringLiteral("IIHF"));
    }
    QProcessEnvironment env = onDesktop(user, desktop);
    env.insert(QStringLiteral("PUCKTALLY_TEST_CONSOLE"), user.path(QStringLiteral("console.txt")));
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
            const QJsonObject s = boardState(user);
            return s.value("home").toInt() == 3 && s.value("clockRunning").toBool() &&
                   s.value("p3.player").toInt() == 12;
        },
        kPatienceMs))
        << QJsonDocument(boardState(user)).toJson().toStdString();
    // The crowd sees it: the projector's pixels changed, the board still fills it.
    EXPECT_TRUE(
        XDesktop::waitFor([&] { return desktop.grab(kProjector.area) != before; }, kPatienceMs));
    EXPECT_TRUE(boardFills(desktop, kProjector.area));
    EXPECT_TRUE(XDesktop::waitFor(
        [&] {
            const QString text = consoleText(user);
            return text.contains("Clock 1: 12 minor") && text.contains("5 on 4, PP H");
        },
        kPatienceMs))
        << consoleText(user).toStdString();
    EXPECT_FALSE(desktop.title(board).contains("Penalties")) << "the crowd's title tells nothing";

    // Closed, the console leaves the program running.
    desktop.closeWindow(console);
    EXPECT_TRUE(XDesktop::waitFor(
        [&] { return desktop.shownWindowsOf(run.program.processId()).size() == 1; }, kPatienceMs));
    EXPECT_EQ(run.program.state(), QProcess::Running);
}

INSTANTIATE_TEST_SUITE_P(Desktop, BoardFullScreen, testing::Values(true, false),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "UnderOpenbox" : "BareXServer";
                         });

} // namespace
