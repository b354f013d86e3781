#include "JournalHarness.h"

#include <gtest/gtest.h>

using namespace journaltest;

namespace {

// One step of the operator (or of fate) and the scores the board shows after it.
struct Step {
    const char* what; // "H5" types 5 for home, "V2" for the visitors; "undo", "redo", "restart"
    int home;
    int visitor;
};

void play(JournalHarness& h, std::string_view what) {
    if (what == "undo")
        h.undo();
    else if (what == "redo")
        h.redo();
    else if (what == "restart")
        h.restart(); // the program was killed: nothing closed, the board rebuilt from the store
    else
        h.type(what[0] == 'H' ? EntryBox::HomeBack : EntryBox::VisitorBack,
               std::string(what.substr(1)) + "\n");
}

struct BranchCase {
    const char* name;
    std::vector<Step> steps;
};

const BranchCase kBranches[] = {
    // A change after an undo cuts the undone change off: undo takes back the new change,
    // redo brings that back and then has nothing more.
    {"NewChangeCutsOffTheUndoneBranch",
     {{"H3", 3, 0},
      {"H5", 5, 0},
      {"undo", 3, 0},
      {"V2", 3, 2},
      {"undo", 3, 0},
      {"redo", 3, 2},
      {"redo", 3, 2},
      {"undo", 3, 0},
      {"undo", 0, 0},
      {"undo", 0, 0},
      {"redo", 3, 0},
      {"redo", 3, 2},
      {"redo", 3, 2}}},
    // The history a restart rebuilds holds every undo and redo the journal recorded.
    {"RestartKeepsTheCutOffBranchCut",
     {{"H3", 3, 0},
      {"H5", 5, 0},
      {"undo", 3, 0},
      {"V2", 3, 2},
      {"undo", 3, 0},
      {"redo", 3, 2},
      {"restart", 3, 2},
      {"redo", 3, 2},
      {"undo", 3, 0},
      {"undo", 0, 0},
      {"undo", 0, 0},
      {"redo", 3, 0}}},
    {"RestartAfterUndoKeepsTheRedo",
     {{"H1", 1, 0},
      {"V1", 1, 1},
      {"H2", 2, 1},
      {"undo", 1, 1},
      {"undo", 1, 0},
      {"restart", 1, 0},
      {"redo", 1, 1},
      {"redo", 2, 1},
      {"redo", 2, 1},
      {"undo", 1, 1}}},
    {"RestartAfterRedoKeepsTheUndo",
     {{"H4", 4, 0},
      {"undo", 0, 0},
      {"redo", 4, 0},
      {"restart", 4, 0},
      {"undo", 0, 0},
      {"restart", 0, 0},
      {"redo", 4, 0},
      {"restart", 4, 0},
      {"redo", 4, 0},
      {"undo", 0, 0}}},
    {"TypingAfterARestartCutsOffTheUndone",
     {{"H6", 6, 0},
      {"V3", 6, 3},
      {"undo", 6, 0},
      {"restart", 6, 0},
      {"H7", 7, 0},
      {"redo", 7, 0},
      {"undo", 6, 0},
      {"restart", 6, 0},
      {"redo", 7, 0},
      {"redo", 7, 0}}},
};

class UndoBranch : public ::testing::TestWithParam<BranchCase> {};

TEST_P(UndoBranch, ScoresAfterEveryStep) {
    QTemporaryDir dir;
    JournalHarness h(dir.path());
    int n = 0;
    for (const Step& step : GetParam().steps) {
        play(h, step.what);
        ASSERT_EQ(h.b().number(FieldId::Home), step.home) << "step " << n << " " << step.what;
        ASSERT_EQ(h.b().number(FieldId::Visitor), step.visitor) << "step " << n << " " << step.what;
        ++n;
    }
    EXPECT_EQ(replayRows(h.rows()), h.b().logic.state());
}

INSTANTIATE_TEST_SUITE_P(Scripts, UndoBranch, ::testing::ValuesIn(kBranches),
                         [](const auto& info) { return std::string(info.param.name); });

// Everything the history would put back, undo after undo, and then redo after redo.
std::vector<QJsonObject> drained(UndoHistory history) {
    std::vector<QJsonObject> out;
    while (auto v = history.undo())
        out.push_back(*v);
    out.push_back({}); // the turn from undo to redo
    while (auto v = history.redo())
        out.push_back(*v);
    return out;
}

// Random play with undo, typing after undo, redo, kills and restarts: the history a restart
// rebuilds from the store puts back exactly what the killed program's would have, and the
// board goes on from there as if nothing had happened.
TEST(UndoBranchRandom, RestartRebuildsTheHistoryAsItStood) {
    std::mt19937 rng(90210);
    for (int stream = 0; stream < 15; ++stream) {
        QTemporaryDir dir;
        JournalHarness h(dir.path());
        for (int i = 0; i < 160; ++i) {
            const unsigned pick = rng() % 10;
            if (pick < 2) {
                h.undo();
            } else if (pick < 4) {
                h.redo();
            } else if (pick == 4) {
                const std::vector<QJsonObject> before = drained(h.journal->history());
                const BoardState drawn = h.b().logic.state();
                h.restart();
                ASSERT_EQ(h.b().logic.state(), stopped(drawn)) << "stream " << stream;
                ASSERT_EQ(drained(h.journal->history()), before)
                    << "stream " << stream << " step " << i;
            } else {
                randomAction(rng, h);
            }
        }
        ASSERT_EQ(replayRows(h.rows()), h.b().logic.state()) << "stream " << stream;
    }
}

} // namespace
