// The program as a user runs it on a desktop with a sound server: started on the splash
// window, clicked on to the board, the horn sounding, the board closed from its title bar.
// The program must end at once, end the game in its journal, and start fresh the next time;
// on a bare X server and under a real window manager. A close by a slip is taken back with
// "--resume", which brings the closed game onto the board as it was drawn.
#include "journal/PrivateProgram.h"
#include "support/Patience.h"
#include "support/XDesktop.h"

#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A horn that sounds longer than the test waits for the program to end, so that ending at
// once is told apart from waiting for the horn however slow the machine: a quiet tone as a
// mono 16-bit WAV file, set as the user's horn in the program's settings file.
void giveALongHorn(const PrivateProgram& user) {
    constexpr int kRate = 8000;
    constexpr qint64 kFrames = qint64(kRate) * (kPatienceMs + 10'000) / 1000;
    QFile wav(user.path(QStringLiteral("long-horn.wav")));
    wav.open(QIODevice::WriteOnly);
    QDataStream out(&wav);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + 2 * kFrames);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(kRate) << quint32(2 * kRate)
        << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << quint32(2 * kFrames);
    for (qint64 i = 0; i < kFrames; ++i)
        out << qint16(2000 * std::sin(i * 2 * M_PI * 440 / kRate));
    wav.close();
    QFile ini(user.path(QStringLiteral("config/PuckTally.ini")));
    QDir().mkpath(user.path(QStringLiteral("config")));
    ini.open(QIODevice::WriteOnly);
    ini.write("[KeySettings]\nHornFile=" + wav.fileName().toUtf8() + "\n");
}

// Whether the sound server is playing a stream now.
bool soundPlaying() {
    QProcess pactl;
    pactl.start(QStringLiteral("pactl"),
                {QStringLiteral("list"), QStringLiteral("short"), QStringLiteral("sink-inputs")});
    pactl.waitForFinished(kPatienceMs);
    return !pactl.readAllStandardOutput().trimmed().isEmpty();
}

// The board a start shows, every field, as the program's own snapshot hook writes it.
QJsonObject boardAtStart(PrivateProgram& user, QProcessEnvironment env,
                         const QStringList& args = {QStringLiteral("bypass")}) {
    env.insert(QStringLiteral("PUCKTALLY_TEST_SNAPSHOT"), user.path(QStringLiteral("start")));
    QFile::remove(user.path(QStringLiteral("start.json")));
    user.run(args, env);
    QFile f(user.path(QStringLiteral("start.json")));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(f.readAll()).object();
}

// The board as the program last drew it, from its state hook's file.
QJsonObject lastDrawn(const PrivateProgram& user) {
    QFile f(user.path(QStringLiteral("drawn.json")));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(f.readAll()).object().value(QStringLiteral("state")).toObject();
}

// A private home and journal whose program shows its windows on `desktop`.
QProcessEnvironment onDesktop(const PrivateProgram& user, const XDesktop& desktop) {
    QProcessEnvironment env = user.environment();
    for (const char* name : {"DISPLAY", "QT_QPA_PLATFORM"})
        env.insert(QLatin1String(name), desktop.environment().value(QLatin1String(name)));
    return env;
}

class DesktopClose : public testing::TestWithParam<bool> {};

TEST_P(DesktopClose, closingTheBoardWhileTheHornSoundsEndsTheProgramAndTheGameTillResumed) {
    XDesktop desktop(GetParam());
    ASSERT_TRUE(desktop.ok()) << "no private X server";
    ASSERT_EQ(desktop.managed(), GetParam()) << "the window manager did not start";
    ASSERT_FALSE(soundPlaying()) << "something else plays on the sound server";
    PrivateProgram user(QStringLiteral(PUCKTALLY_PROGRAM));
    giveALongHorn(user);
    const QProcessEnvironment env = onDesktop(user, desktop);

    QProcess program;
    QProcessEnvironment drawing = env;
    drawing.insert(QStringLiteral("PUCKTALLY_TEST_STATE"), user.path(QStringLiteral("drawn.json")));
    program.setProcessEnvironment(drawing);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(PUCKTALLY_PROGRAM), QStringList());
    ASSERT_TRUE(program.waitForStarted(kPatienceMs));
    const qint64 pid = program.processId();

    // The splash window; a click on it (not on its buttons) goes on to the board.
    std::vector<XDesktop::WindowId> shown;
    ASSERT_TRUE(XDesktop::waitFor([&] { return (shown = desktop.shownWindowsOf(pid)).size() == 1; },
                                  kPatienceMs));
    const XDesktop::WindowId splash = shown.front();
    desktop.click(desktop.geometry(splash).topLeft() + QPoint(30, 20));
    XDesktop::WindowId board = 0;
    ASSERT_TRUE(XDesktop::waitFor(
        [&] {
            shown = desktop.shownWindowsOf(pid);
            board = shown.size() == 1 && shown.front() != splash ? shown.front() : 0;
            return board != 0;
        },
        kPatienceMs))
        << "the click did not lead to the board";

    // The clock set to five seconds, so that a restored game would show; then the horn.
    desktop.activate(board);
    ASSERT_TRUE(XDesktop::waitFor([&] { return desktop.hasFocus(board); }, kPatienceMs));
    for (const char* key : {"5", "Return", "g"})
        desktop.stroke(key);
    ASSERT_TRUE(XDesktop::waitFor(&soundPlaying, kPatienceMs)) << "the horn did not sound";

    QElapsedTimer closing;
    closing.start();
    desktop.closeWindow(board);
    // Well before the horn would have ended.
    const bool ended = program.waitForFinished(kPatienceMs);
    if (!ended)
        program.kill();
    ASSERT_TRUE(ended) << "still running " << closing.elapsed() << " ms after the close";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);

    // The journal ended the game, and the next start shows a fresh board, field for field,
    // as a start on an empty journal does.
    const QString listed = user.run({QStringLiteral("--games")}, env).out;
    EXPECT_TRUE(listed.contains(QStringLiteral("\n1\t"))) << listed.toStdString();
    EXPECT_FALSE(listed.contains(QStringLiteral("not closed"))) << listed.toStdString();

    const QJsonObject next = boardAtStart(user, env);
    PrivateProgram newUser(QStringLiteral(PUCKTALLY_PROGRAM));
    giveALongHorn(newUser);
    const QJsonObject fresh = boardAtStart(newUser, onDesktop(newUser, desktop));
    ASSERT_FALSE(fresh.isEmpty());
    EXPECT_EQ(fresh.value(QStringLiteral("clock")).toString(), QStringLiteral("10:00"));
    // Compared as text, so that a failure shows which fields differ.
    auto text = [](const QJsonObject& o) {
        return QJsonDocument(o).toJson(QJsonDocument::Compact).toStdString();
    };
    EXPECT_EQ(text(next), text(fresh));

    // The close was a slip: the game comes back as drawn before it, though a fresh board was
    // opened since, and the journal continues it.
    const QJsonObject drawn = lastDrawn(user);
    ASSERT_FALSE(drawn.isEmpty());
    EXPECT_NE(text(drawn), text(fresh));
    const QJsonObject resumed =
        boardAtStart(user, env, {QStringLiteral("--resume"), QStringLiteral("bypass")});
    EXPECT_EQ(text(resumed), text(drawn));
    const QString after = user.run({QStringLiteral("--games")}, env).out;
    const QStringList firstGame =
        after.split(QLatin1Char('\n')).filter(QRegularExpression(QStringLiteral("^1\t")));
    ASSERT_EQ(firstGame.size(), 1) << after.toStdString();
    EXPECT_TRUE(firstGame.front().contains(QLatin1String("(not closed)"))) << after.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Desktop, DesktopClose, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "UnderOpenbox" : "BareXServer";
                         });

} // namespace
