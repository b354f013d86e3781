#include "JournalHarness.h"

#include "journal/GameSheet.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace journaltest;

namespace {

GameSheet sheetOf(JournalHarness& h) {
    return buildSheet({h.journal->game(), 0, 0, 0}, h.rows());
}

// The sheet's score and its goals agree with the board: as many goals per team as the board
// shows, and the last goal carries the final score.
void expectSheetAgreesWithBoard(JournalHarness& h, const std::string& where) {
    const GameSheet sheet = sheetOf(h);
    const int home = std::max(h.b().logic.state().home, 0);
    const int visitor = std::max(h.b().logic.state().visitor, 0);
    EXPECT_EQ(sheet.home, home) << where;
    EXPECT_EQ(sheet.visitor, visitor) << where;
    const auto goalsOf = [&](int team) {
        return std::count_if(sheet.goals.begin(), sheet.goals.end(),
                             [team](const SheetGoal& g) { return g.team == team; });
    };
    EXPECT_EQ(goalsOf(1), home) << where;
    EXPECT_EQ(goalsOf(2), visitor) << where;
    if (!sheet.goals.empty()) {
        EXPECT_EQ(sheet.goals.back().home, home) << where;
        EXPECT_EQ(sheet.goals.back().visitor, visitor) << where;
    }
}

// Plays a script of words: "S" starts or stops the clock, "r" lets 10 s run, "H+1" or "V3"
// types into the home or visitor score, "H#" clears it, "u" undo, "y" redo.
void playScript(JournalHarness& h, const std::string& script) {
    std::istringstream words(script);
    std::string w;
    while (words >> w) {
        if (w == "S")
            h.press(EntryBox::TimeBack, 'S');
        else if (w == "r")
            h.run(10'000);
        else if (w == "u")
            h.undo();
        else if (w == "y")
            h.redo();
        else if (w.substr(1) == "#")
            h.press(w[0] == 'H' ? EntryBox::HomeBack : EntryBox::VisitorBack, vk::Delete);
        else
            h.type(w[0] == 'H' ? EntryBox::HomeBack : EntryBox::VisitorBack, w.substr(1) + "\n");
    }
}

struct ListedGoal {
    int team;
    int home;
    int visitor;
    const char* clock;
};

struct GoalCase {
    const char* name;
    const char* script;
    std::vector<ListedGoal> goals;
};

const GoalCase kGoalCases[] = {
    {"HomeCorrectedAfterTheVisitorsScored", "S r H+1 r V+1 r H-1", {{2, 0, 1, "9:40"}}},
    {"VisitorsCorrectedAfterHomeScored",
     "S r V+1 r H+1 r H+1 r V-1",
     {{1, 1, 0, "9:40"}, {1, 2, 0, "9:30"}}},
    {"LatestHomeGoalTakenBackNotTheFirst",
     "S r H+1 r V+1 r H+1 r H-1",
     {{1, 1, 0, "9:50"}, {2, 1, 1, "9:40"}}},
    {"TypedScoreLowered", "S r H3 r V1 r H1", {{1, 1, 0, "9:50"}, {2, 1, 1, "9:40"}}},
    {"HomeScoreCleared", "S r H2 r V1 r H#", {{2, 0, 1, "9:40"}}},
    {"UndoOfAHomeGoalAfterAVisitorGoal",
     "S r H+1 r V+1 r H+1 u",
     {{1, 1, 0, "9:50"}, {2, 1, 1, "9:40"}}},
    {"RedoCountsTheGoalAgain", "S r H+1 r V+1 u r y", {{1, 1, 0, "9:50"}, {2, 1, 1, "9:30"}}},
};

class SheetGoals : public ::testing::TestWithParam<GoalCase> {};

TEST_P(SheetGoals, ListAgreesWithTheBoard) {
    const GoalCase& c = GetParam();
    QTemporaryDir dir;
    JournalHarness h(dir.path());
    h.type(EntryBox::PeriodBack, "1");
    playScript(h, c.script);
    expectSheetAgreesWithBoard(h, c.name);
    const GameSheet sheet = sheetOf(h);
    ASSERT_EQ(sheet.goals.size(), c.goals.size());
    for (size_t i = 0; i < c.goals.size(); ++i) {
        EXPECT_EQ(sheet.goals[i].team, c.goals[i].team) << "goal " << i;
        EXPECT_EQ(sheet.goals[i].home, c.goals[i].home) << "goal " << i;
        EXPECT_EQ(sheet.goals[i].visitor, c.goals[i].visitor) << "goal " << i;
        EXPECT_EQ(sheet.goals[i].clock.toStdString(), c.goals[i].clock) << "goal " << i;
        EXPECT_EQ(sheet.goals[i].period, 1) << "goal " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Scores, SheetGoals, ::testing::ValuesIn(kGoalCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Any stream of score entries, corrections, undo and redo, with the clock running: after
// every step the sheet's goals and score agree with the board.
TEST(SheetGoalsRandom, AgreeWithTheBoardAfterEveryStep) {
    const char* const kWords[] = {"H+1", "V+1", "H+1", "V+1", "H-1", "V-1", "H0", "V2",
                                  "H5",  "H#",  "V#",  "u",   "u",   "y",   "r"};
    std::mt19937 rng(2718);
    for (int stream = 0; stream < 12; ++stream) {
        QTemporaryDir dir;
        JournalHarness h(dir.path());
        h.type(EntryBox::PeriodBack, "1");
        h.press(EntryBox::TimeBack, 'S');
        std::string played;
        for (int i = 0; i < 40; ++i) {
            const char* w = kWords[rng() % std::size(kWords)];
            played += std::string(" ") + w;
            playScript(h, w);
            expectSheetAgreesWithBoard(h, "stream " + std::to_string(stream) + ":" + played);
            if (::testing::Test::HasFailure())
                return;
        }
    }
}

struct ListedPenalty {
    int team;
    int player;
    std::int64_t lengthTenths;
};

struct PenaltyCase {
    const char* name;
    void (*play)(JournalHarness& h);
    std::vector<ListedPenalty> listed;
};

void startAndRun(JournalHarness& h) {
    h.press(EntryBox::TimeBack, 'S');
    h.run(30'000);
}

const PenaltyCase kPenaltyCases[] = {
    {"ClearedBeforeTheClockRan",
     [](JournalHarness& h) {
         h.type(EntryBox::PenaltyPH1, "9\n");
         h.type(EntryBox::PenaltyTH1, "2\n");
         h.press(EntryBox::PenaltyTH1, vk::Delete);
         startAndRun(h);
     },
     {}},
    {"UndoneBeforeTheClockRan",
     [](JournalHarness& h) {
         h.type(EntryBox::PenaltyPV1, "12\n");
         h.type(EntryBox::PenaltyTV1, "2\n");
         h.undo();
         startAndRun(h);
     },
     {}},
    {"LengthCorrectedBeforeTheClockRan",
     [](JournalHarness& h) {
         h.type(EntryBox::PenaltyPH1, "9\n");
         h.type(EntryBox::PenaltyTH1, "2\n");
         h.type(EntryBox::PenaltyTH1, "5\n");
         startAndRun(h);
     },
     {{1, 9, 3000}}},
    {"VisitorLengthCorrectedTwice",
     [](JournalHarness& h) {
         h.type(EntryBox::PenaltyPV2, "12\n");
         h.type(EntryBox::PenaltyTV2, "2\n");
         h.type(EntryBox::PenaltyTV2, "5\n");
         h.type(EntryBox::PenaltyTV2, "4\n");
         startAndRun(h);
     },
     {{2, 12, 2400}}},
    {"ClearedThenRetyped",
     [](JournalHarness& h) {
         h.type(EntryBox::PenaltyPH2, "3\n");
         h.type(EntryBox::PenaltyTH2, "5\n");
         h.press(EntryBox::PenaltyTH2, vk::Delete);
         h.type(EntryBox::PenaltyTH2, "2\n");
         h.type(EntryBox::PenaltyPH2, "3\n"); // clearing took the player off too
         startAndRun(h);
     },
     {{1, 3, 1200}}},
    // Time that ran makes it a served penalty: taken off later, it stays listed.
    {"ClearedAfterTheClockRan",
     [](JournalHarness& h) {
         h.type(EntryBox::PenaltyPH1, "9\n");
         h.type(EntryBox::PenaltyTH1, "2\n");
         startAndRun(h);
         h.press(EntryBox::TimeBack, 'S');
         h.press(EntryBox::PenaltyTH1, vk::Delete);
     },
     {{1, 9, 1200}}},
    {"RetypedAfterTheClockRan",
     [](JournalHarness& h) {
         h.type(EntryBox::PenaltyPH1, "9\n");
         h.type(EntryBox::PenaltyTH1, "2\n");
         startAndRun(h);
         h.press(EntryBox::TimeBack, 'S');
         h.type(EntryBox::PenaltyTH1, "5\n");
         startAndRun(h);
     },
     {{1, 9, 1200}, {1, 9, 3000}}},
};

class SheetPenalties : public ::testing::TestWithParam<PenaltyCase> {};

TEST_P(SheetPenalties, OnlyServedPenaltiesAreListedOnce) {
    const PenaltyCase& c = GetParam();
    QTemporaryDir dir;
    JournalHarness h(dir.path());
    h.type(EntryBox::PeriodBack, "1");
    c.play(h);
    const GameSheet sheet = sheetOf(h);
    ASSERT_EQ(sheet.penalties.size(), c.listed.size());
    for (size_t i = 0; i < c.listed.size(); ++i) {
        EXPECT_EQ(sheet.penalties[i].team, c.listed[i].team) << "penalty " << i;
        EXPECT_EQ(sheet.penalties[i].player, c.listed[i].player) << "penalty " << i;
        EXPECT_EQ(sheet.penalties[i].lengthTenths, c.listed[i].lengthTenths) << "penalty " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Corrections, SheetPenalties, ::testing::ValuesIn(kPenaltyCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
