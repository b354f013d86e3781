// The real program asked for its usage or version, or given an option it does not know:
// it answers and ends without a display, before any window could be opened.
#include "journal/PrivateProgram.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTcpServer>
#include <QTcpSocket>
#include <gtest/gtest.h>
#include <ostream>

namespace {

// An empty start asks for nothing on that output at all.
bool startsWith(const QString& text, const char* start) {
    return *start ? text.startsWith(QLatin1String(start)) : text.isEmpty();
}

struct PrintCase {
    const char* name;
    QStringList args;
    int exitCode;       // 2 for a mistake on the command line, 1 for what cannot be done
    const char* out;    // the start of the standard output
    const char* err;    // the start of the error output
    bool usage = false; // the usage follows a mistake in the program's own options
};
void PrintTo(const PrintCase& c, std::ostream* os) {
    *os << c.name;
}

class ProgramCommandLine : public ::testing::TestWithParam<PrintCase> {};

TEST_P(ProgramCommandLine, AnswersWithoutADisplay) {
    const PrintCase& c = GetParam();
    PrivateProgram program(PUCKTALLY_PROGRAM);
    QProcessEnvironment env = program.environment();
    for (const char* var : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(var);
    const PrivateProgram::Run r = program.run(c.args, env);
    ASSERT_TRUE(r.finished) << r.err.toStdString();
    EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
    EXPECT_TRUE(startsWith(r.out, c.out)) << r.out.toStdString();
    EXPECT_TRUE(startsWith(r.err, c.err)) << r.err.toStdString();
    EXPECT_EQ(r.err.contains(QLatin1String("\nUsage: pucktally")), c.usage) << r.err.toStdString();
    // Nothing was started: no journal, no sheet.
    EXPECT_FALSE(QFile::exists(program.path("journal/journal.sqlite")));
    EXPECT_FALSE(QFile::exists(program.path("sheet.csv")));
}

INSTANTIATE_TEST_SUITE_P(
    Options, ProgramCommandLine,
    ::testing::Values(
        PrintCase{"Help", {"--help"}, 0, "Usage: pucktally [options] [bypass]\n", ""},
        PrintCase{"ShortHelp", {"-h"}, 0, "Usage: pucktally", ""},
        PrintCase{"HelpBesideBypass", {"bypass", "--help"}, 0, "Usage: pucktally", ""},
        PrintCase{
            "HelpBesideTheSheet", {"--sheet", "sheet.csv", "--help"}, 0, "Usage: pucktally", ""},
        PrintCase{"Version", {"--version"}, 0, "Pucktally 1.0.9\n", ""},
        PrintCase{"ShortVersion", {"-v"}, 0, "Pucktally 1.0.9\n", ""},
        PrintCase{"UnknownOption", {"--bogus"}, 2, "", "Unknown option '--bogus'.", true},
        PrintCase{"UnknownBesideBypass", {"bypass", "-x"}, 2, "", "Unknown option '-x'.", true},
        PrintCase{"UnknownBesideTheSheet",
                  {"--sheet", "sheet.csv", "--now"},
                  2,
                  "",
                  "Unknown option '--now'.",
                  true},
        PrintCase{"PortOutOfRangeBesideBypass",
                  {"bypass", "--feed", "99999"},
                  2,
                  "",
                  "--feed 99999: not",
                  true},
        PrintCase{"SheetOfAnotherKind",
                  {"--sheet", "sheet.txt"},
                  2,
                  "",
                  "sheet.txt: the sheet is written as .csv or .html"},
        PrintCase{"ResumeWithTheSheet",
                  {"--resume", "--sheet", "sheet.csv"},
                  2,
                  "",
                  "--resume opens the board"},
        PrintCase{"NoDisplay", {"bypass"}, 1, "", "No display found: DISPLAY is not set."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProgramCommandLineHelp, DescribesEveryOption) {
    PrivateProgram program(PUCKTALLY_PROGRAM);
    const PrivateProgram::Run r = program.run({"--help"});
    ASSERT_EQ(r.exitCode, 0);
    for (const char* option :
         {"--help", "--version", "--sheet <FILE>", "--game <N>", "--games", "--feed", "bypass"})
        EXPECT_TRUE(r.out.contains(QLatin1String(option))) << option;
}

} // namespace

// The live feed as the timekeeper's console tells it (the console is stored open): a port
// another program already holds leaves the board running without the feed and says so, not
// only on standard error; a feed that runs says where viewers find it and counts them.
struct FeedCase {
    const char* name;
    bool portTaken;
    const char* told; // a pattern of a whole line of the console's text; %1 is the port
};
void PrintTo(const FeedCase& c, std::ostream* os) {
    *os << c.name;
}
class ProgramFeed : public ::testing::TestWithParam<FeedCase> {};

TEST_P(ProgramFeed, IsToldToTheTimekeeper) {
    const FeedCase& c = GetParam();
    QTcpServer other;
    ASSERT_TRUE(other.listen(QHostAddress::LocalHost, 0));
    const quint16 port = other.serverPort();
    if (!c.portTaken)
        other.close();
    PrivateProgram program(PUCKTALLY_PROGRAM);
    {
        QSettings stored(program.path(QStringLiteral("config/PuckTally.ini")),
                         QSettings::IniFormat);
        stored.setValue("Screens/Console", QStringLiteral("1"));
    }
    QProcessEnvironment env = program.environment();
    env.insert("PUCKTALLY_TEST_CONSOLE", program.path(QStringLiteral("console.txt")));
    QProcess board;
    board.setProcessEnvironment(env);
    board.start(PUCKTALLY_PROGRAM, {QStringLiteral("bypass"), QStringLiteral("--feed"),
                                    QStringLiteral("127.0.0.1:%1").arg(port)});
    ASSERT_TRUE(board.waitForStarted(kPatienceMs));
    QString pattern = QString::fromUtf8(c.told);
    if (pattern.contains(QLatin1String("%1")))
        pattern = pattern.arg(port);
    const QRegularExpression expected(QStringLiteral("^%1$").arg(pattern),
                                      QRegularExpression::MultilineOption);
    QTcpSocket viewer; // a browser on the feed's live page, through its WebSocket handshake
    QString told;
    QElapsedTimer waited;
    waited.start();
    while (!expected.match(told).hasMatch() && waited.elapsed() < kPatienceMs) {
        if (!c.portTaken && viewer.state() == QAbstractSocket::UnconnectedState) {
            viewer.connectToHost(QHostAddress::LocalHost, port);
            if (viewer.waitForConnected(kPatienceMs))
                viewer.write("GET /live HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\n"
                             "Connection: Upgrade\r\nSec-WebSocket-Version: 13\r\n"
                             "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n\r\n");
        }
        if (viewer.state() == QAbstractSocket::ConnectedState && viewer.waitForReadyRead(50))
            viewer.readAll();
        QFile console(program.path(QStringLiteral("console.txt")));
        if (console.open(QIODevice::ReadOnly))
            told = QString::fromUtf8(console.readAll());
    }
    EXPECT_TRUE(expected.match(told).hasMatch()) << told.toStdString();
    EXPECT_EQ(board.state(), QProcess::Running);
    board.kill();
    board.waitForFinished(kPatienceMs);
}

INSTANTIATE_TEST_SUITE_P(
    Console, ProgramFeed,
    ::testing::Values(FeedCase{"PortTaken", true, "Live feed not started: .+"},
                      FeedCase{"OneViewer", false,
                               "Live feed on http://127\\.0\\.0\\.1:%1/board, 1 viewer"}),
    [](const auto& info) { return std::string(info.param.name); });
