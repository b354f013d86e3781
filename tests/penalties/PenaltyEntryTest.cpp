// Typed penalty entry: each row is the keys the operator presses and what comes of them.

#include "penalties/PenaltyEntry.h"
#include "platform/VirtualKeys.h"

#include <gtest/gtest.h>

using namespace penalties;
using Outcome = PenaltyEntry::Outcome;

namespace {

constexpr int kCtrlP = -1; // stands for Ctrl+P in a row's keys
constexpr int kCtrlZ = -2;

struct EntryRow {
    const char* name;
    std::vector<int> keys;
    std::vector<Outcome> outcomes; // one per key
    std::optional<Assessment> given;
    bool openAfter = false;
};

Outcome press(PenaltyEntry& entry, int key) {
    if (key == kCtrlP)
        return entry.key('P', true);
    if (key == kCtrlZ)
        return entry.key('Z', true);
    return entry.key(key, false);
}

class EntrySequence : public testing::TestWithParam<EntryRow> {};

TEST_P(EntrySequence, KeysGiveThePenalty) {
    const EntryRow& row = GetParam();
    ASSERT_EQ(row.keys.size(), row.outcomes.size());
    PenaltyEntry entry;
    std::optional<Assessment> given;
    for (size_t i = 0; i < row.keys.size(); ++i) {
        const Outcome out = press(entry, row.keys[i]);
        EXPECT_EQ(out, row.outcomes[i]) << "key " << i;
        if (out == Outcome::Given || out == Outcome::Signalled || out == Outcome::Late)
            given = entry.given();
        if (out == Outcome::ChooseReturn) // told as the player it names
            given = Assessment{Team::Home, entry.returning(), PenaltyKind::Minor, -1};
    }
    ASSERT_EQ(given.has_value(), row.given.has_value());
    if (given) {
        EXPECT_EQ(given->team, row.given->team);
        EXPECT_EQ(given->player, row.given->player);
        EXPECT_EQ(given->kind, row.given->kind);
        EXPECT_EQ(given->servedBy, row.given->servedBy);
    }
    EXPECT_EQ(entry.isOpen(), row.openAfter);
    EXPECT_EQ(entry.prompt().empty(), !row.openAfter);
}

constexpr Outcome T = Outcome::Taken;
constexpr Outcome P = Outcome::Passed;
constexpr Outcome G = Outcome::Given;
constexpr Outcome D = Outcome::Dropped;
constexpr int Enter = vk::Return;

EntryRow kindRow(const char* name, int letter, PenaltyKind kind) {
    return {name,
            {kCtrlP, 'V', '1', '2', letter, Enter},
            {T, T, T, T, T, G},
            Assessment{Team::Guest, 12, kind, -1}};
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, EntrySequence,
    testing::Values(kindRow("Minor", 'M', PenaltyKind::Minor),
                    kindRow("DoubleMinor", 'D', PenaltyKind::DoubleMinor),
                    kindRow("Major", 'J', PenaltyKind::Major),
                    kindRow("MajorPlusMinor", 'B', PenaltyKind::MajorPlusMinor),
                    kindRow("MinorPlusMisconduct", 'T', PenaltyKind::MinorPlusMisconduct),
                    kindRow("Misconduct", 'C', PenaltyKind::Misconduct),
                    kindRow("GameMisconduct", 'G', PenaltyKind::GameMisconduct),
                    kindRow("Match", 'X', PenaltyKind::Match)),
    [](const testing::TestParamInfo<EntryRow>& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Sequences, EntrySequence,
    testing::Values(EntryRow{"HomeWithNumericPadDigit",
                             {kCtrlP, 'H', vk::Numpad0 + 4, 'M', Enter},
                             {T, T, T, T, G},
                             Assessment{Team::Home, 4, PenaltyKind::Minor, -1}},
                    EntryRow{
                        "NumericPadFirstAndLastDigits",
                        {kCtrlP, 'V', vk::Numpad0 + 9, vk::Numpad0, 'T', vk::Numpad0 + 9, Enter},
                        {T, T, T, T, T, T, G},
                        Assessment{Team::Guest, 90, PenaltyKind::MinorPlusMisconduct, 9}},
                    EntryRow{"ReturnChosenOnTheNumericPad",
                             {kCtrlP, 'R', vk::Numpad0 + 9, Enter},
                             {T, T, T, Outcome::ChooseReturn},
                             Assessment{Team::Home, 9, PenaltyKind::Minor, -1}},
                    EntryRow{"ClosedEntryPassesEverything",
                             {'H', '7', 'M', Enter, vk::Escape, 'S', kCtrlZ},
                             {P, P, P, P, P, P, P},
                             std::nullopt},
                    EntryRow{"EscapeDropsAtAnyStep",
                             {kCtrlP, 'H', '7', vk::Escape, Enter},
                             {T, T, T, D, P},
                             std::nullopt},
                    EntryRow{"EnterBeforeTheKindChangesNothing",
                             {kCtrlP, 'H', Enter, '7', Enter},
                             {T, T, T, T, T},
                             std::nullopt,
                             true},
                    EntryRow{"ThirdDigitAndSecondTeamAreIgnored",
                             {kCtrlP, 'H', 'V', '1', '2', '3', 'M', Enter},
                             {T, T, T, T, T, T, T, G},
                             Assessment{Team::Home, 12, PenaltyKind::Minor, -1}},
                    EntryRow{"KindBeforeNumberGoesToTheBoard",
                             {kCtrlP, 'V', 'M', '5', 'D', Enter},
                             {T, T, P, T, T, G},
                             Assessment{Team::Guest, 5, PenaltyKind::DoubleMinor, -1}},
                    EntryRow{"LetterAfterTheKindGoesToTheBoard",
                             {kCtrlP, 'V', '5', 'M', 'J', 'L', Enter},
                             {T, T, T, T, P, Outcome::Late, P},
                             Assessment{Team::Guest, 5, PenaltyKind::Minor, -1}},
                    EntryRow{"HornAndBuzzerSoundButAtTheKindStep",
                             {kCtrlP, 'G', 'B', 'L', 'H', 'G', '1', 'B', 'G', Enter},
                             {T, P, P, P, T, P, T, T, P, G},
                             Assessment{Team::Home, 1, PenaltyKind::MajorPlusMinor, -1}},
                    EntryRow{"BackspaceTakesBackKeyByKey",
                             {kCtrlP, 'H', '1', '2', 'M', vk::Back, vk::Back, vk::Back, vk::Back,
                              'V', '3', 'C', Enter},
                             {T, T, T, T, T, T, T, T, T, T, T, T, G},
                             Assessment{Team::Guest, 3, PenaltyKind::Misconduct, -1}},
                    EntryRow{"OtherKeysGoToTheBoardMeanwhile",
                             {kCtrlP, 'S', 'H', vk::Tab, '9', 'R', 'M', kCtrlZ, Enter},
                             {T, P, T, P, T, P, T, P, G},
                             Assessment{Team::Home, 9, PenaltyKind::Minor, -1}},
                    EntryRow{"CtrlPStartsAfresh",
                             {kCtrlP, 'H', '4', kCtrlP, 'V', '8', 'G', Enter},
                             {T, T, T, T, T, T, T, G},
                             Assessment{Team::Guest, 8, PenaltyKind::GameMisconduct, -1}},
                    EntryRow{"PlayerZero",
                             {kCtrlP, 'H', '0', '0', 'X', Enter},
                             {T, T, T, T, T, G},
                             Assessment{Team::Home, 0, PenaltyKind::Match, -1}},
                    EntryRow{"PlayerZeroOneDigit",
                             {kCtrlP, 'V', '0', 'M', Enter},
                             {T, T, T, T, G},
                             Assessment{Team::Guest, 0, PenaltyKind::Minor, -1}},
                    EntryRow{"UndoAndRedoOnAnEmptyEntry",
                             {kCtrlP, 'Z', 'Z', kCtrlP, 'Y', kCtrlP, 'H', 'Z', vk::Escape},
                             {T, Outcome::Undo, P, T, Outcome::Redo, T, T, P, D},
                             std::nullopt},
                    EntryRow{"PenaltyShotOnAnEmptyEntry",
                             {kCtrlP, 'P', 'P', kCtrlP, 'H', 'P', vk::Escape},
                             {T, Outcome::PenaltyShot, P, T, T, P, D},
                             std::nullopt},
                    EntryRow{"SubstituteTypedAfterTheKind",
                             {kCtrlP, 'V', '4', 'T', '1', '2', '3', vk::Back, '5', Enter},
                             {T, T, T, T, T, T, T, T, T, G},
                             Assessment{Team::Guest, 4, PenaltyKind::MinorPlusMisconduct, 15}},
                    EntryRow{"PlusSignalsThePenalty",
                             {kCtrlP, 'V', '1', '2', 'M', vk::Add},
                             {T, T, T, T, T, Outcome::Signalled},
                             Assessment{Team::Guest, 12, PenaltyKind::Minor, -1}},
                    EntryRow{"EnterOnAnEmptyEntryGivesTheSignalled",
                             {kCtrlP, Enter, Enter},
                             {T, Outcome::Whistle, P},
                             std::nullopt},
                    EntryRow{"CaptainChoosesWhoReturns",
                             {kCtrlP, 'R', Enter, '8', 'S', '1', Enter},
                             {T, T, T, T, P, T, Outcome::ChooseReturn},
                             Assessment{Team::Home, 81, PenaltyKind::Minor, -1}},
                    EntryRow{"GivenEntryIsClosed",
                             {kCtrlP, 'H', '1', 'M', Enter, 'H', Enter},
                             {T, T, T, T, G, P, P},
                             Assessment{Team::Home, 1, PenaltyKind::Minor, -1}}),
    [](const testing::TestParamInfo<EntryRow>& info) { return info.param.name; });

TEST(PenaltyEntry, PromptFollowsTheSteps) {
    PenaltyEntry entry;
    EXPECT_EQ(entry.prompt(), "");
    entry.key('P', true);
    EXPECT_EQ(
        entry.prompt(),
        "penalty: H or V? (Enter gives the signalled, Z undo, Y redo, P last goal on a penalty "
        "shot, R who returns)");
    entry.key('V', false);
    EXPECT_EQ(entry.prompt(), "penalty V: player number?");
    entry.key('2', false);
    entry.key('2', false);
    EXPECT_EQ(entry.prompt(), "penalty V 22: kind (M D J B T C G X)?");
    entry.key('T', false);
    EXPECT_EQ(
        entry.prompt(),
        "penalty V 22 minor + misconduct: Enter gives, + signals, L gives late (or who serves it "
        "first), Esc drops");
    entry.key('9', false);
    EXPECT_EQ(entry.prompt(),
              "penalty V 22 minor + misconduct served by 9: Enter gives, + signals, L gives late, "
              "Esc drops");
}

} // namespace
