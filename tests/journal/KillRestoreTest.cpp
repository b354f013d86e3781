// The real program killed in the middle of a game comes back showing the board as drawn.
#include "KillHarness.h"

#include <gtest/gtest.h>

namespace {

struct KillCase {
    const char* name;
    std::uint32_t seed;
    int firstKillMs;
    int secondKillMs;
};

class KillRestore : public ::testing::TestWithParam<KillCase> {};

TEST_P(KillRestore, BoardComesBackAsDrawn) {
    const KillCase& c = GetParam();
    KillHarness h(PUCKTALLY_PROGRAM, c.seed);
    for (int ms : {c.firstKillMs, c.secondKillMs}) {
        const KillHarness::Outcome o = h.killAndRestore(ms);
        ASSERT_NE(o, KillHarness::Outcome::NoAnswer) << "after " << ms << " ms";
        EXPECT_NE(o, KillHarness::Outcome::Wrong)
            << "drawn " << QJsonDocument(h.lastDrawn_).toJson().toStdString() << "\nshown "
            << QJsonDocument(h.lastShown_).toJson().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Games, KillRestore,
                         ::testing::Values(KillCase{"EarlyThenLate", 7, 900, 2300},
                                           KillCase{"LateThenEarly", 8, 2100, 1100}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
