// The journal's command line, through the real program: "--sheet FILE" writes the latest
// game or "--game N", "--games" lists the games, and mistakes are refused with a reason.
#include "JournalHarness.h"
#include "PrivateProgram.h"

#include <QFile>
#include <gtest/gtest.h>
#include <ostream>

namespace {

using journaltest::JournalHarness;

struct SheetCase {
    const char* name;
    QStringList args;
    int exitCode;
    const char* file;    // the sheet written, or nullptr
    const char* content; // in the sheet when written, in the error output otherwise
};
void PrintTo(const SheetCase& c, std::ostream* os) {
    *os << c.name;
}

class JournalCommandLine : public ::testing::TestWithParam<SheetCase> {
  protected:
    // Two games in the journal: the first 3:1 and closed, the second 0:2 and still open.
    static void SetUpTestSuite() {
        program = new PrivateProgram(PUCKTALLY_PROGRAM);
        QDir().mkpath(program->path("journal"));
        JournalHarness h(program->path("journal"));
        h.type(EntryBox::HomeBack, "+1\n+1\n+1\n");
        h.type(EntryBox::VisitorBack, "+1\n");
        h.journal->end();
        h.restart();
        h.type(EntryBox::VisitorBack, "+1\n+1\n");
    }
    static void TearDownTestSuite() { delete program; }
    static PrivateProgram* program;
};
PrivateProgram* JournalCommandLine::program = nullptr;

TEST_P(JournalCommandLine, WritesTheGameAsked) {
    const SheetCase& c = GetParam();
    if (c.file)
        QFile::remove(program->path(c.file));
    const PrivateProgram::Run r = program->run(c.args);
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
    if (!c.file) {
        EXPECT_TRUE(r.err.contains(QLatin1String(c.content))) << r.err.toStdString();
        return;
    }
    QFile sheet(program->path(c.file));
    ASSERT_TRUE(sheet.open(QIODevice::ReadOnly)) << r.err.toStdString();
    const QString text = QString::fromUtf8(sheet.readAll());
    EXPECT_TRUE(text.contains(QLatin1String(c.content))) << text.toStdString();
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("Game "))) << r.out.toStdString();
}

// The CSV's first data line: the game's number, its start and end, and the score.
INSTANTIATE_TEST_SUITE_P(
    Journal, JournalCommandLine,
    ::testing::Values(
        SheetCase{"LatestGame", {"--sheet", "latest.csv"}, 0, "latest.csv", "\n2,"},
        SheetCase{"LatestGameScore", {"--sheet", "score.csv"}, 0, "score.csv", ",,0,2\n"},
        SheetCase{"FirstGame", {"--sheet", "one.csv", "--game", "1"}, 0, "one.csv", "\n1,"},
        SheetCase{"FirstGameScore", {"--game", "1", "--sheet", "s1.csv"}, 0, "s1.csv", ",3,1\n"},
        SheetCase{"SecondGame", {"--sheet", "two.csv", "--game", "2"}, 0, "two.csv", ",,0,2\n"},
        SheetCase{"FirstGamePage",
                  {"--sheet", "one.html", "--game", "1"},
                  0,
                  "one.html",
                  "Game 1 &middot;"},
        SheetCase{"LatestGamePage", {"--sheet", "latest.htm"}, 0, "latest.htm", "<b>2</b>"},
        SheetCase{"NoSuchGame", {"--sheet", "x.csv", "--game", "9"}, 2, nullptr, "No game 9"},
        SheetCase{"GameWithoutSheet", {"--game", "1"}, 2, nullptr, "--game goes with --sheet"},
        SheetCase{"BadGameNumber",
                  {"--sheet", "x.csv", "--game", "one"},
                  2,
                  nullptr,
                  "--game needs a game number"},
        SheetCase{"SheetWithoutFile", {"--sheet"}, 2, nullptr, "--sheet needs a value"},
        SheetCase{"UnknownKindOfFile", {"--sheet", "x.txt"}, 2, nullptr, ".csv or .html"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(JournalCommandLine, ListsTheGames) {
    const PrivateProgram::Run r = program->run({"--games"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << r.out.toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("Game\tStarted\tEnded\tEvents"));
    const QStringList one = lines[1].split('\t');
    const QStringList two = lines[2].split('\t');
    ASSERT_EQ(one.size(), 4);
    ASSERT_EQ(two.size(), 4);
    EXPECT_EQ(one[0], QStringLiteral("1"));
    EXPECT_NE(one[2], QStringLiteral("(not closed)"));
    EXPECT_EQ(two[0], QStringLiteral("2"));
    EXPECT_EQ(two[2], QStringLiteral("(not closed)"));
    // A start row and one row per goal at least.
    EXPECT_GE(one[3].toInt(), 5);
    EXPECT_GE(two[3].toInt(), 3);
}

} // namespace
