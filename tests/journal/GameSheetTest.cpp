#include "JournalHarness.h"

#include "journal/BoardRecord.h"
#include "journal/GameSheet.h"
#include "penalties/PenaltyAssistant.h"

#include <gtest/gtest.h>

using namespace journaltest;

namespace {

// The test's own record of the game it plays, kept from what it typed.
struct Tally {
    struct Goal {
        int period;
        int team;
        int home;
        int visitor;
    };
    std::vector<Goal> goals;
    std::map<int, std::pair<int, int>> shots; // per period
    struct Penalty {
        int team;
        int player;
        int seconds;
    };
    std::vector<Penalty> penalties;
};

struct SheetCase {
    const char* name;
    std::uint32_t seed;
    int periods;
};

class GameSheetTally : public ::testing::TestWithParam<SheetCase> {};

// A random game: goals, shots and penalties in each period with the clock running between
// them. The sheet built from the journal alone agrees with the tally in every number.
TEST_P(GameSheetTally, SheetAgreesWithTheTally) {
    const SheetCase& c = GetParam();
    std::mt19937 rng(c.seed);
    QTemporaryDir dir;
    JournalHarness h(dir.path());
    Tally tally;
    int home = 0;
    int visitor = 0;
    int shotsHome = 0;
    int shotsVisitor = 0;
    h.type(EntryBox::TimeBack, "3\n");
    for (int period = 1; period <= c.periods; ++period) {
        h.type(EntryBox::PeriodBack, std::to_string(period));
        h.press(EntryBox::TimeBack, 'R');
        h.press(EntryBox::TimeBack, 'S');
        for (int i = 0; i < 12; ++i) {
            h.run(static_cast<std::int64_t>(rng() % 8000));
            const unsigned what = rng() % 4;
            const int team = static_cast<int>(rng() % 2) + 1;
            if (what == 0) {
                h.type(team == 1 ? EntryBox::HomeBack : EntryBox::VisitorBack, "+1\n");
                (team == 1 ? home : visitor) += 1;
                tally.goals.push_back({period, team, home, visitor});
            } else if (what == 1) {
                const int n = static_cast<int>(rng() % 3) + 1;
                h.type(team == 1 ? EntryBox::ShotsBackH : EntryBox::ShotsBackV,
                       "+" + std::to_string(n) + "\n");
                (team == 1 ? shotsHome : shotsVisitor) += n;
                (team == 1 ? tally.shots[period].first : tally.shots[period].second) += n;
            } else if (what == 2 &&
                       h.b().logic.state().penalties[team == 1 ? 0 : 2].time.isEmpty()) {
                const int player = static_cast<int>(rng() % 98) + 1;
                const int minutes = rng() % 2 == 0 ? 2 : 5;
                // Play stops for a penalty; its clock runs from the next start.
                if (h.b().view.timerEnabled())
                    h.press(EntryBox::TimeBack, 'S');
                h.type(team == 1 ? EntryBox::PenaltyPH1 : EntryBox::PenaltyPV1,
                       std::to_string(player) + "\n");
                h.type(team == 1 ? EntryBox::PenaltyTH1 : EntryBox::PenaltyTV1,
                       std::to_string(minutes) + "\n");
                tally.penalties.push_back({team, player, minutes * 60});
                if (h.b().logic.state().clockTenths > 0)
                    h.press(EntryBox::TimeBack, 'S');
            } else {
                // A score typed wrong and put right at once leaves no goal on the sheet.
                h.type(EntryBox::HomeBack, "+1\n");
                h.type(EntryBox::HomeBack, "-1\n");
            }
        }
        h.run(200'000); // to the end of the period
        if (h.b().view.timerEnabled())
            h.press(EntryBox::TimeBack, 'S');
        // Served penalties leave the board before the next period.
        h.press(EntryBox::PenaltyTH1, vk::Delete);
        h.press(EntryBox::PenaltyTV1, vk::Delete);
    }

    const GameSheet sheet = buildSheet({h.journal->game(), 0, 0, 0}, h.rows());
    EXPECT_EQ(sheet.home, home);
    EXPECT_EQ(sheet.visitor, visitor);
    ASSERT_EQ(sheet.goals.size(), tally.goals.size());
    for (size_t i = 0; i < tally.goals.size(); ++i) {
        EXPECT_EQ(sheet.goals[i].period, tally.goals[i].period) << "goal " << i;
        EXPECT_EQ(sheet.goals[i].team, tally.goals[i].team) << "goal " << i;
        EXPECT_EQ(sheet.goals[i].home, tally.goals[i].home) << "goal " << i;
        EXPECT_EQ(sheet.goals[i].visitor, tally.goals[i].visitor) << "goal " << i;
    }
    EXPECT_EQ(sheet.shotsHome, shotsHome);
    EXPECT_EQ(sheet.shotsVisitor, shotsVisitor);
    ASSERT_EQ(static_cast<int>(sheet.periods.size()), c.periods);
    for (const SheetPeriod& p : sheet.periods) {
        EXPECT_EQ(p.shotsHome, tally.shots[p.period].first) << "period " << p.period;
        EXPECT_EQ(p.shotsVisitor, tally.shots[p.period].second) << "period " << p.period;
        EXPECT_EQ(p.lengthTenths, 1800) << "period " << p.period;
        EXPECT_EQ(p.playedTenths, 1800) << "period " << p.period;
    }
    ASSERT_EQ(sheet.penalties.size(), tally.penalties.size());
    for (size_t i = 0; i < tally.penalties.size(); ++i) {
        EXPECT_EQ(sheet.penalties[i].team, tally.penalties[i].team) << "penalty " << i;
        EXPECT_EQ(sheet.penalties[i].player, tally.penalties[i].player) << "penalty " << i;
        EXPECT_EQ(sheet.penalties[i].lengthTenths, tally.penalties[i].seconds * 10);
    }
    // Both forms carry the numbers.
    const QString csv = sheetCsv(sheet, "Hawks", "Owls");
    EXPECT_EQ(csv.count("\nGoals\n") + csv.count("\nPenalties\n") + csv.count("\nShots\n") +
                  csv.count("\nPeriods\n"),
              4);
    const QString html = sheetHtml(sheet, "Hawks & Co", "Owls");
    EXPECT_TRUE(html.contains("Hawks &amp; Co <b>" + QString::number(home) + "</b>"));
}

INSTANTIATE_TEST_SUITE_P(Games, GameSheetTally,
                         ::testing::Values(SheetCase{"OnePeriod", 1, 1},
                                           SheetCase{"ThreePeriods", 2, 3},
                                           SheetCase{"ThreePeriodsOtherGame", 3, 3},
                                           SheetCase{"WithOvertime", 4, 4}),
                         [](const auto& info) { return std::string(info.param.name); });

// The game-clock time at which a penalty was put on and came off.
TEST(GameSheetPenalty, StartAndEndAreGameClockTimes) {
    QTemporaryDir dir;
    JournalHarness h(dir.path());
    h.type(EntryBox::PeriodBack, "1");
    h.type(EntryBox::PenaltyPH2, "9\n");
    h.type(EntryBox::PenaltyTH2, "2\n");
    h.press(EntryBox::TimeBack, 'S');
    h.run(125'000);
    const GameSheet sheet = buildSheet({1, 0, 0, 0}, h.rows());
    ASSERT_EQ(sheet.penalties.size(), 1u);
    EXPECT_EQ(sheet.penalties[0].start, "10:00");
    EXPECT_EQ(sheet.penalties[0].end, "8:00");
    EXPECT_EQ(sheet.penalties[0].player, 9);
    EXPECT_EQ(sheetTime(sheet.penalties[0].lengthTenths), "2:00");
}

// With the assistant on to the game's end, the sheet lists what it was told, in the
// assistant's game time; a game without it has no such table.
TEST(GameSheetPenalty, AssistantPenaltiesListedWithTheirLife) {
    penalties::PenaltyAssistant assistant;
    assistant.advance(100);
    assistant.assess({penalties::Team::Home, 7, penalties::PenaltyKind::Minor});
    assistant.advance(200);
    assistant.assess({penalties::Team::Guest, 12, penalties::PenaltyKind::Misconduct});
    assistant.advance(1200);
    BoardState board;
    board.period = 1;
    std::vector<JournalRow> rows{{0, 0, JournalKind::Start, {}, boardrecord::toRecord(board)}};
    board.assistant = QString::fromStdString(assistant.save());
    board.assistantTenths = assistant.elapsed();
    rows.push_back({1, 1, JournalKind::Key, {}, boardrecord::toRecord(board)});

    const GameSheet sheet = buildSheet({1, 0, 0, 0}, rows);
    EXPECT_TRUE(sheetCsv(sheet, "Hawks", "Owls")
                    .contains("\nPenalty assistant\n"
                              "Team,Player,Kind,Assessed,Started,Ended,Reason\n"
                              "Hawks,7,minor,0:10,0:10,2:10,expired\n"
                              "Owls,12,misconduct,0:30,0:30,,running\n"));
    EXPECT_TRUE(sheetHtml(sheet, "Hawks", "Owls").contains("<td>misconduct</td>"));

    rows.pop_back();
    const GameSheet without = buildSheet({1, 0, 0, 0}, rows);
    EXPECT_TRUE(without.assisted.empty());
    EXPECT_FALSE(sheetCsv(without, "Hawks", "Owls").contains("Penalty assistant"));
}

} // namespace
