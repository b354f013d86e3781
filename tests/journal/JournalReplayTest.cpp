#include "JournalHarness.h"

#include <gtest/gtest.h>

using namespace journaltest;

namespace {

// A stream of random play, with the program dying `kills` times along the way.
struct ReplayCase {
    const char* name;
    std::uint32_t seed;
    int streams;
    int length;
    int kills;
};

class JournalReplay : public ::testing::TestWithParam<ReplayCase> {};

// Replaying a game's rows gives back the board as last drawn; a board restarted after the
// program died shows exactly that, with its clocks stopped, and the game goes on in the
// same journal.
TEST_P(JournalReplay, ReplayGivesBackTheBoardAsDrawn) {
    const ReplayCase& c = GetParam();
    std::mt19937 rng(c.seed);
    for (int stream = 0; stream < c.streams; ++stream) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        JournalHarness h(dir.path());
        const int game = h.journal->game();
        for (int kill = 0; kill <= c.kills; ++kill) {
            const int steps = static_cast<int>(rng() % static_cast<unsigned>(c.length));
            for (int i = 0; i < steps; ++i)
                randomAction(rng, h);
            const BoardState drawn = h.b().logic.state();
            ASSERT_EQ(replayRows(h.rows()), drawn) << "stream " << stream << " kill " << kill;
            if (kill == c.kills)
                break;
            h.restart();
            ASSERT_TRUE(h.restored.has_value());
            ASSERT_EQ(h.journal->game(), game);
            ASSERT_EQ(h.b().logic.state(), stopped(drawn)) << "stream " << stream;
            ASSERT_FALSE(h.b().view.timerEnabled());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(RandomPlay, JournalReplay,
                         ::testing::Values(ReplayCase{"ShortStreams", 11, 40, 40, 0},
                                           ReplayCase{"LongStreams", 12, 12, 500, 0},
                                           ReplayCase{"KilledOnce", 13, 40, 120, 1},
                                           ReplayCase{"KilledFiveTimes", 14, 12, 120, 5}),
                         [](const auto& info) { return std::string(info.param.name); });

// How the last game ended decides whether the next start restores it.
struct EndCase {
    const char* name;
    bool closedNormally;
    bool restores;
};

class JournalStart : public ::testing::TestWithParam<EndCase> {};

TEST_P(JournalStart, OnlyAGameWithoutACleanEndComesBack) {
    const EndCase& c = GetParam();
    QTemporaryDir dir;
    JournalHarness h(dir.path());
    h.type(EntryBox::HomeBack, "3\n");
    h.type(EntryBox::PenaltyTH1, "2\n");
    const int game = h.journal->game();
    if (c.closedNormally)
        h.journal->end();
    h.kill();

    JournalHarness again(dir.path());
    EXPECT_EQ(again.restored.has_value(), c.restores);
    EXPECT_EQ(again.journal->game() == game, c.restores);
    EXPECT_EQ(again.b().number(FieldId::Home), c.restores ? 3 : 0);
    EXPECT_EQ(again.b().logic.state().penalties[0].time, c.restores ? "2:00" : "");
}

INSTANTIATE_TEST_SUITE_P(Ends, JournalStart,
                         ::testing::Values(EndCase{"WindowClosed", true, false},
                                           EndCase{"ProgramKilled", false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
