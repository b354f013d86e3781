// The program as a user runs it on a desktop with a sound server: started on the splash
// window, clicked on to the board, the horn sounding, the board closed from its title bar.
// The program must end at once, end the game in its journal, and start fresh the next time;
// on a bare X server and under a real window manager.
#include "support/XDesktop.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// One user's home: a private settings store and game journal for every run of the program.
class UserHome {
  public:
    QProcessEnvironment environment(QProcessEnvironment env) const {
        env.insert(QStringLiteral("HOME"), dir_.filePath(QStringLiteral("home")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir_.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), dir_.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("PUCKTALLY_JOURNAL_DIR"),
                   dir_.filePath(QStringLiteral("journal")));
        return env;
    }
    QString file(const QString& name) const { return dir_.filePath(name); }

  private:
    QTemporaryDir dir_;
};

// Whether the sound server is playing a stream now.
bool soundPlaying() {
    QProcess pactl;
    pactl.start(QStringLiteral("pactl"),
                {QStringLiteral("list"), QStringLiteral("short"), QStringLiteral("sink-inputs")});
    pactl.waitForFinished(5000);
    return !pactl.readAllStandardOutput().trimmed().isEmpty();
}

// The board a start shows, every field, as the program's own snapshot hook writes it.
QJsonObject boardAtStart(const QProcessEnvironment& env, const QString& base) {
    QProcess run;
    QProcessEnvironment e = env;
    e.insert(QStringLiteral("PUCKTALLY_TEST_SNAPSHOT"), base);
    run.setProcessEnvironment(e);
    run.start(QStringLiteral(PUCKTALLY_PROGRAM), {QStringLiteral("bypass")});
    run.waitForFinished(30000);
    QFile f(base + QStringLiteral(".json"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(f.readAll()).object();
}

class DesktopClose : public testing::TestWithParam<bool> {};

TEST_P(DesktopClose, closingTheBoardWhileTheHornSoundsEndsTheProgramAndTheGame) {
    XDesktop desktop(GetParam());
    ASSERT_TRUE(desktop.ok()) << "no private X server";
    ASSERT_EQ(desktop.managed(), GetParam()) << "the window manager did not start";
    ASSERT_FALSE(soundPlaying()) << "something else plays on the sound server";
    UserHome user;
    const QProcessEnvironment env = user.environment(desktop.environment());

    QProcess program;
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(PUCKTALLY_PROGRAM), QStringList());
    ASSERT_TRUE(program.waitForStarted(10000));
    const qint64 pid = program.processId();

    // The splash window; a click on it (not on its buttons) goes on to the board.
    std::vector<XDesktop::WindowId> shown;
    ASSERT_TRUE(XDesktop::waitFor([&] { return (shown = desktop.shownWindowsOf(pid)).size() == 1; },
                                  20000));
    const XDesktop::WindowId splash = shown.front();
    desktop.click(desktop.geometry(splash).topLeft() + QPoint(30, 20));
    XDesktop::WindowId board = 0;
    ASSERT_TRUE(XDesktop::waitFor(
        [&] {
            shown = desktop.shownWindowsOf(pid);
            board = shown.size() == 1 && shown.front() != splash ? shown.front() : 0;
            return board != 0;
        },
        20000))
        << "the click did not lead to the board";

    // The clock set to five seconds, so that a restored game would show; then the horn.
    desktop.activate(board);
    ASSERT_TRUE(XDesktop::waitFor([&] { return desktop.hasFocus(board); }, 10000));
    for (const char* key : {"5", "Return", "g"})
        desktop.stroke(key);
    ASSERT_TRUE(XDesktop::waitFor(&soundPlaying, 10000)) << "the horn did not sound";

    QElapsedTimer closing;
    closing.start();
    desktop.closeWindow(board);
    const bool ended = program.waitForFinished(2000);
    if (!ended)
        program.kill();
    ASSERT_TRUE(ended) << "still running " << closing.elapsed() << " ms after the close";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);

    // The journal ended the game, and the next start shows a fresh board, field for field,
    // as a start on an empty journal does.
    QProcess games;
    games.setProcessEnvironment(env);
    games.start(QStringLiteral(PUCKTALLY_PROGRAM), {QStringLiteral("--games")});
    ASSERT_TRUE(games.waitForFinished(10000));
    const QString listed = QString::fromUtf8(games.readAllStandardOutput());
    EXPECT_TRUE(listed.contains(QStringLiteral("\n1\t"))) << listed.toStdString();
    EXPECT_FALSE(listed.contains(QStringLiteral("not closed"))) << listed.toStdString();

    const QJsonObject next = boardAtStart(env, user.file(QStringLiteral("next")));
    UserHome newUser;
    const QJsonObject fresh = boardAtStart(newUser.environment(desktop.environment()),
                                           newUser.file(QStringLiteral("fresh")));
    ASSERT_FALSE(fresh.isEmpty());
    EXPECT_EQ(fresh.value(QStringLiteral("clock")).toString(), QStringLiteral("10:00"));
    // Compared as text, so that a failure shows which fields differ.
    auto text = [](const QJsonObject& o) {
        return QJsonDocument(o).toJson(QJsonDocument::Compact).toStdString();
    };
    EXPECT_EQ(text(next), text(fresh));
}

INSTANTIATE_TEST_SUITE_P(Desktop, DesktopClose, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "UnderOpenbox" : "BareXServer";
                         });

} // namespace
