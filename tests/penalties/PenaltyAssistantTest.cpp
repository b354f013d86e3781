// The assistant turns what happens on the board into the engine's events: every row is a
// script of board happenings and the engine events it must amount to.

#include "penalties/PenaltyAssistant.h"

#include <gtest/gtest.h>

#include <functional>

using namespace penalties;

namespace {

struct Step {
    enum Op { Give, Run, Goal, End, Undo, Redo, Shot, Return, Signal, Whistle, Stop } op;
    Assessment penalty{};
    int tenths = 0;
    Team scorer = Team::Home;
};

Step give(Team team, int player, PenaltyKind kind) {
    return {Step::Give, {team, player, kind, -1}};
}
Step run(int tenths) {
    return {Step::Run, {}, tenths};
}
Step goalBy(Team scorer) {
    return {Step::Goal, {}, 0, scorer};
}
const Step kEnd{Step::End};
const Step kUndo{Step::Undo};
const Step kRedo{Step::Redo};
const Step kShot{Step::Shot};
Step signal(Team team, int player, PenaltyKind kind) {
    return {Step::Signal, {team, player, kind, -1}};
}
const Step kWhistle{Step::Whistle};
const Step kStop{Step::Stop};
Step returns(int player) {
    return {Step::Return, {Team::Home, player, PenaltyKind::Minor, -1}};
}

constexpr Team H = Team::Home;
constexpr Team V = Team::Guest;
constexpr PenaltyKind kMinor = PenaltyKind::Minor;

void play(PenaltyAssistant& assistant, const std::vector<Step>& steps) {
    for (const Step& s : steps) {
        switch (s.op) {
        case Step::Give:
            assistant.assess(s.penalty);
            break;
        case Step::Run:
            assistant.advance(s.tenths);
            break;
        case Step::Goal:
            assistant.goal(s.scorer);
            break;
        case Step::End:
            assistant.periodEnd();
            break;
        case Step::Undo:
            assistant.undo();
            break;
        case Step::Redo:
            assistant.redo();
            break;
        case Step::Shot:
            assistant.markLastGoalPenaltyShot();
            break;
        case Step::Signal:
            assistant.signal(s.penalty);
            break;
        case Step::Whistle:
            assistant.whistle();
            break;
        case Step::Return:
            assistant.chooseReturnOnLastGoal(s.penalty.player);
            break;
        case Step::Stop:
            assistant.stoppage();
            break;
        }
    }
}

struct TranslationRow {
    const char* name;
    std::vector<Step> steps;
    std::vector<PenaltyEvent> engine;
};

class AssistantTranslation : public testing::TestWithParam<TranslationRow> {};

TEST_P(AssistantTranslation, AmountsToTheEngineEvents) {
    for (RuleBook book :
         {RuleBook::Iihf, RuleBook::UsaHockey, RuleBook::HockeyCanada, RuleBook::Nhl}) {
        PenaltyAssistant assistant(rulesFor(book));
        play(assistant, GetParam().steps);
        EXPECT_TRUE(assistant.state() == replay(rulesFor(book), GetParam().engine))
            << "rule book " << static_cast<int>(book);
    }
}

const Assessment h7{H, 7, kMinor, -1};
const Assessment h8{H, 8, kMinor, -1};
const Assessment v9{V, 9, kMinor, -1};
const Assessment v9major{V, 9, PenaltyKind::Major, -1};

INSTANTIATE_TEST_SUITE_P(
    Rows, AssistantTranslation,
    testing::Values(
        TranslationRow{"ClockRunsBetweenPenalties",
                       {give(H, 7, kMinor), run(300), give(V, 9, PenaltyKind::Major)},
                       {PenaltyEvent::assess({h7}), PenaltyEvent::advance(300),
                        PenaltyEvent::assess({v9major})}},
        TranslationRow{"PenaltiesOfOneStoppageAreOneEvent",
                       {give(H, 7, kMinor), give(V, 9, kMinor)},
                       {PenaltyEvent::assess({h7, v9})}},
        TranslationRow{
            "AGoalSeparatesTwoStoppages",
            {give(H, 7, kMinor), goalBy(V), give(V, 9, kMinor)},
            {PenaltyEvent::assess({h7}), PenaltyEvent::goal(V), PenaltyEvent::assess({v9})}},
        TranslationRow{"GoalAtTheGameTimeItCame",
                       {give(H, 7, kMinor), run(100), goalBy(V), run(50)},
                       {PenaltyEvent::assess({h7}), PenaltyEvent::advance(100),
                        PenaltyEvent::goal(V), PenaltyEvent::advance(50)}},
        TranslationRow{"PeriodEnd",
                       {give(H, 7, kMinor), run(100), kEnd, run(10)},
                       {PenaltyEvent::assess({h7}), PenaltyEvent::advance(100),
                        PenaltyEvent::periodEnd(), PenaltyEvent::advance(10)}},
        TranslationRow{"UndoKeepsTheTimeThatRanSince",
                       {give(H, 7, kMinor), run(300), kUndo},
                       {PenaltyEvent::advance(300)}},
        TranslationRow{"RedoPutsThePenaltyBackWhereItWas",
                       {give(H, 7, kMinor), run(300), kUndo, run(20), kRedo},
                       {PenaltyEvent::assess({h7}), PenaltyEvent::advance(320)}},
        TranslationRow{"UndoTakesBackOnePenaltyOfAStoppage",
                       {give(H, 7, kMinor), give(H, 8, kMinor), give(V, 9, kMinor), kUndo},
                       {PenaltyEvent::assess({h7, h8})}},
        TranslationRow{"UndoOfAGoalGivesBackTheMinor",
                       {give(H, 7, kMinor), run(300), goalBy(V), kUndo, run(10)},
                       {PenaltyEvent::assess({h7}), PenaltyEvent::advance(310)}},
        TranslationRow{
            "LatestGoalMarkedAsAPenaltyShot",
            {give(H, 7, kMinor), goalBy(V), run(30), goalBy(H), give(V, 9, kMinor), kShot, kShot},
            {PenaltyEvent::assess({h7}), PenaltyEvent::goal(V), PenaltyEvent::advance(30),
             PenaltyEvent::goal(H, true), PenaltyEvent::assess({v9})}},
        TranslationRow{"SignalledPenaltyGoesWithTheGoalAgainstItsTeam",
                       {signal(V, 9, kMinor), run(50), goalBy(H), run(10)},
                       {PenaltyEvent::advance(50), PenaltyEvent::goal(H, false, {v9}),
                        PenaltyEvent::advance(10)}},
        TranslationRow{
            "SignalledPenaltyGivenAtTheWhistleWithThatStoppages",
            {signal(V, 9, kMinor), run(50), goalBy(V), kWhistle, give(H, 7, kMinor)},
            {PenaltyEvent::advance(50), PenaltyEvent::goal(V), PenaltyEvent::assess({v9, h7})}},
        TranslationRow{"CaptainsChoiceOfWhoReturns",
                       {give(H, 7, kMinor), give(H, 8, kMinor), run(300), goalBy(V), returns(8)},
                       {PenaltyEvent::assess({h7, h8}), PenaltyEvent::advance(300),
                        PenaltyEvent::goal(V, false, {}, 8)}},
        TranslationRow{"PlainStoppageOnceAtItsGameTime",
                       {give(H, 7, kMinor), give(V, 9, kMinor), run(1300), kStop, kStop, run(10)},
                       {PenaltyEvent::assess({h7, v9}), PenaltyEvent::advance(1300),
                        PenaltyEvent::stoppage(), PenaltyEvent::advance(10)}},
        TranslationRow{
            "RefusedPenaltyIsNotKept", {give(H, 7, kMinor), give(H, 5000, kMinor), kUndo}, {}}),
    [](const testing::TestParamInfo<TranslationRow>& info) { return info.param.name; });

TEST(PenaltyAssistant, BoardClocksInTheBoardsOrder) {
    PenaltyAssistant assistant(rulesFor(RuleBook::Iihf));
    play(assistant, {give(V, 9, PenaltyKind::DoubleMinor), run(20), give(H, 7, kMinor), run(10)});
    const auto clocks = assistant.boardClocks();
    ASSERT_TRUE(clocks[0] && clocks[2]);
    EXPECT_EQ(clocks[0]->player, 7);
    EXPECT_EQ(clocks[0]->tenthsLeft, 1190);
    EXPECT_FALSE(clocks[1]);
    EXPECT_EQ(clocks[2]->player, 9);
    EXPECT_EQ(clocks[2]->tenthsLeft, 2370);
    EXPECT_FALSE(clocks[3]);
}

TEST(PenaltyAssistant, PowerPlayGoalFreesTheClock) {
    PenaltyAssistant assistant(rulesFor(RuleBook::Nhl));
    play(assistant, {give(H, 7, kMinor), run(300)});
    ASSERT_TRUE(assistant.goal(V));
    EXPECT_FALSE(assistant.boardClocks()[0]);
    EXPECT_TRUE(assistant.undo());
    ASSERT_TRUE(assistant.boardClocks()[0]);
    EXPECT_EQ(assistant.boardClocks()[0]->tenthsLeft, 900);
}

TEST(PenaltyAssistant, NewEventAfterUndoEndsRedo) {
    PenaltyAssistant assistant;
    play(assistant, {give(H, 7, kMinor), kUndo, give(H, 8, kMinor)});
    EXPECT_FALSE(assistant.canRedo());
    EXPECT_FALSE(assistant.redo());
    EXPECT_TRUE(assistant.undo());
    EXPECT_FALSE(assistant.undo());
}

TEST(PenaltyAssistant, OtherRulesReplayTheGame) {
    PenaltyAssistant assistant(rulesFor(RuleBook::Iihf));
    play(assistant, {give(H, 7, kMinor), run(300)});
    PenaltyRules shortMinors = rulesFor(RuleBook::UsaHockey);
    shortMinors.minorTenths = 900;
    assistant.setRules(shortMinors);
    ASSERT_TRUE(assistant.boardClocks()[0]);
    EXPECT_EQ(assistant.boardClocks()[0]->tenthsLeft, 600);
}

TEST(PenaltyAssistant, SummaryTellsStrengthWaitingAndMisconducts) {
    PenaltyAssistant assistant(rulesFor(RuleBook::Iihf));
    play(assistant, {give(H, 7, kMinor), run(10), give(H, 8, kMinor), run(10), give(H, 9, kMinor),
                     run(10), give(V, 4, PenaltyKind::Misconduct), run(15)});
    EXPECT_EQ(assistant.summary(), "H 3 on 5 V; H waits 9 (2:00); V misconduct 4 (9:59)");
}

// IIHF Rule 20.4, USA Hockey Rules 403(b) and 404(a), NHL Rules 20 and 22, Hockey Canada
// Rule 4.4: the majors and misconducts that bring a game misconduct, told once.
TEST(PenaltyAssistant, WarnsOfAGameMisconductByTheBook) {
    const std::string misconduct = "V 8: 2nd misconduct, game misconduct|";
    const std::pair<RuleBook, std::string> rows[] = {
        {RuleBook::Iihf, "H 7: 2nd major, game misconduct|" + misconduct},
        {RuleBook::UsaHockey, "H 7: 2nd major, game misconduct|" + misconduct},
        {RuleBook::HockeyCanada, "H 7: 1st major, game misconduct|" + misconduct},
        {RuleBook::Nhl, misconduct}};
    for (const auto& [book, expected] : rows) {
        PenaltyAssistant assistant(rulesFor(book));
        play(assistant, {give(H, 7, PenaltyKind::Major), run(10), give(H, 7, PenaltyKind::Major),
                         give(V, 8, PenaltyKind::Misconduct), run(10),
                         give(V, 8, PenaltyKind::MinorPlusMisconduct), give(V, 9, kMinor)});
        std::string told;
        for (const std::string& warning : assistant.warnings())
            told += warning + "|";
        EXPECT_EQ(told, expected) << static_cast<int>(book);
        EXPECT_NE(assistant.summary().find("V 8: 2nd misconduct"), std::string::npos);
    }
}

TEST_P(AssistantTranslation, SavedGameLoadsBackExactly) {
    PenaltyAssistant assistant(rulesFor(RuleBook::Nhl));
    play(assistant, GetParam().steps);
    PenaltyAssistant loaded(rulesFor(RuleBook::Nhl));
    loaded.advance(77); // whatever it held before is replaced
    ASSERT_TRUE(loaded.load(assistant.save(), assistant.elapsed())) << assistant.save();
    EXPECT_TRUE(loaded.state() == assistant.state());
    EXPECT_EQ(loaded.save(), assistant.save());
    EXPECT_EQ(loaded.elapsed(), assistant.elapsed());
    EXPECT_FALSE(loaded.canRedo());
}

TEST(PenaltyAssistant, UnreadableSavedGameChangesNothing) {
    const char* texts[] = {
        "",
        "penalties2",
        "penalties1;A H 7 0 -1",           // no time
        "penalties1;A H 7 0 -1 @x",        // time not a number
        "penalties1;A H 7 0 -1 @-5",       // negative time
        "penalties1;A H 7 0 -1 @9999",     // after the game time told
        "penalties1;A Q 7 0 -1 @5",        // no such team
        "penalties1;A H 7 8 -1 @5",        // no such kind
        "penalties1;A H -3 0 -1 @5",       // no such player
        "penalties1;A H 7 0 -1 @50;E @40", // time going back
        "penalties1;G V 2 @5",             // penalty shot neither yes nor no
        "penalties1;Z @5",
        "penalties1;P @50;P @40",        // stoppages going back
        "penalties1;A H 7 0 -1 @5;P @6", // stoppages go first
        "penalties1;A H 7 0 -1 @99999999999999999999",
    };
    for (const char* text : texts) {
        PenaltyAssistant assistant;
        play(assistant, {give(H, 7, kMinor), run(100)});
        const std::string saved = assistant.save();
        EXPECT_FALSE(assistant.load(text, 100)) << text;
        EXPECT_EQ(assistant.save(), saved) << text;
        EXPECT_EQ(assistant.elapsed(), 100) << text;
    }
}

TEST(PenaltyAssistant, ClockTextRoundsUpToWholeSeconds) {
    const std::pair<int, const char*> rows[] = {{0, "0:00"},  {1, "0:01"},    {10, "0:01"},
                                                {11, "0:02"}, {1199, "2:00"}, {6000, "10:00"},
                                                {-5, "0:00"}};
    for (const auto& [tenths, text] : rows)
        EXPECT_EQ(clockText(tenths), text) << tenths;
}

// Each row: a game typed with one mistake and the timekeeper's fix of its event `index`; the
// fixed game must equal the same game typed right, in every rule book. A row with no game
// typed right is refused: the game, and what waits for redo, stay as they were.
struct CorrectionRow {
    const char* name;
    std::vector<Step> typed;
    std::size_t index;
    std::function<void(ToldEvent&)> edit; // null: the event is taken out
    std::vector<Step> right;
};
CorrectionRow fix(const char* name, std::vector<Step> typed, std::size_t index,
                  std::function<void(ToldEvent&)> edit, std::vector<Step> right = {}) {
    return {name, std::move(typed), index, std::move(edit), std::move(right)};
}

std::string clocksOf(const PenaltyAssistant& assistant) {
    std::string text;
    for (const auto& c : assistant.boardClocks())
        text += c ? std::to_string(c->player) + " " + std::to_string(c->tenthsLeft) + "; " : "-; ";
    return text;
}

class PenaltyAssistantCorrection : public testing::TestWithParam<CorrectionRow> {};

TEST_P(PenaltyAssistantCorrection, EqualsTheGameTypedRight) {
    const CorrectionRow& row = GetParam();
    const bool refused = row.right.empty();
    for (RuleBook book :
         {RuleBook::Iihf, RuleBook::UsaHockey, RuleBook::HockeyCanada, RuleBook::Nhl}) {
        SCOPED_TRACE("rule book " + std::to_string(static_cast<int>(book)));
        PenaltyAssistant corrected(rulesFor(book)), right(rulesFor(book)), loaded(rulesFor(book));
        play(corrected, row.typed);
        play(right, refused ? row.typed : row.right);
        ASSERT_EQ(corrected.state() == right.state(), refused) << "the mistake does not show";
        play(corrected, {kEnd, kUndo}); // something waits for redo
        const std::vector<ToldEvent> told = corrected.told();
        ToldEvent event = row.index < told.size() ? told[row.index] : ToldEvent{};
        if (row.edit)
            row.edit(event);
        EXPECT_NE(row.edit ? corrected.correct(row.index, event) : corrected.remove(row.index),
                  refused);
        EXPECT_TRUE(corrected.state() == right.state());
        EXPECT_EQ(clocksOf(corrected), clocksOf(right));
        // Every other event is still there, at its game time: the goals after it too.
        EXPECT_EQ(corrected.save(), right.save());
        EXPECT_EQ(corrected.canRedo(), refused);
        // The board's undo keeps the corrected game as save() writes it.
        ASSERT_TRUE(loaded.load(corrected.save(), corrected.elapsed()));
        EXPECT_TRUE(loaded.state() == right.state());
    }
}

const Step kH7 = give(H, 7, kMinor);
const Step kGoalV = goalBy(V);
const Step kServed12{Step::Give, {H, 7, PenaltyKind::MinorPlusMisconduct, 12}};
const Step kServed21{Step::Give, {H, 7, PenaltyKind::MinorPlusMisconduct, 21}};
// 0: H 7 at 0; 1: V's goal at 300; 2: V 9 signalled at 400; 3: the whistle at 420.
const std::vector<Step> kRefusing{kH7,     run(300), kGoalV, run(100), signal(V, 9, kMinor),
                                  run(20), kWhistle};

const CorrectionRow kCorrections[] = {
    fix("WrongTeam", {give(V, 7, kMinor), run(300), kGoalV, run(100)}, 0,
        [](ToldEvent& e) { e.team = H; }, {kH7, run(300), kGoalV, run(100)}),
    fix("WrongPlayer", {kH7, run(100), give(H, 8, kMinor), run(50)}, 1,
        [](ToldEvent& e) { e.player = 7; }, {kH7, run(100), kH7, run(50)}),
    // A minor typed where a double minor was given, with two goals after it.
    fix("WrongKindKeepsBothGoalsAfterIt", {kH7, run(300), kGoalV, run(200), goalBy(H), run(100)}, 0,
        [](ToldEvent& e) { e.penalty = PenaltyKind::DoubleMinor; },
        {give(H, 7, PenaltyKind::DoubleMinor), run(300), kGoalV, run(200), goalBy(H), run(100)}),
    fix("WrongTeamMateServes", {kServed12, run(100)}, 0, [](ToldEvent& e) { e.servedBy = 21; },
        {kServed21, run(100)}),
    fix("GameTimeEarlierPastAGoal", {run(100), kGoalV, run(50), kH7, run(50)}, 1,
        [](ToldEvent& e) { e.at = 50; }, {run(50), kH7, run(50), kGoalV, run(100)}),
    // Moved to the game time of another penalty with no goal between: one stoppage, so the two
    // minors are coincident.
    fix("GameTimeLaterJoinsAStoppage", {run(300), kH7, run(50), give(V, 9, kMinor), run(100)}, 0,
        [](ToldEvent& e) { e.at = 350; }, {run(350), kH7, give(V, 9, kMinor), run(100)}),
    fix("GameTimeLaterPastAGoal", {kH7, run(100), kGoalV, run(100)}, 0,
        [](ToldEvent& e) { e.at = 150; }, {run(100), kGoalV, run(50), kH7, run(50)}),
    fix("ExtraPenaltyRemoved", {kH7, give(H, 8, kMinor), run(300), kGoalV, run(100)}, 1, nullptr,
        {kH7, run(300), kGoalV, run(100)}),
    fix("RefusedAfterTheGameTimeTold", kRefusing, 0, [](ToldEvent& e) { e.at = 421; }),
    fix("RefusedBeforeTheGame", kRefusing, 0, [](ToldEvent& e) { e.at = -1; }),
    fix("RefusedNoSuchKind", kRefusing, 0,
        [](ToldEvent& e) { e.penalty = static_cast<PenaltyKind>(42); }),
    fix("RefusedNoSuchPlayer", kRefusing, 0, [](ToldEvent& e) { e.player = 5000; }),
    fix("RefusedAnotherKindOfEvent", kRefusing, 1,
        [](ToldEvent& e) { e.kind = ToldEvent::Kind::Penalty; }),
    fix("RefusedWhistleBeforeItsSignal", kRefusing, 3, [](ToldEvent& e) { e.at = 399; }),
    fix("RefusedSignalItsWhistleGives", kRefusing, 2, nullptr),
    fix("RefusedNoSuchEvent", kRefusing, 4, [](ToldEvent&) {}),
    fix("RefusedNoSuchEventToRemove", kRefusing, 4, nullptr),
};
INSTANTIATE_TEST_SUITE_P(Rows, PenaltyAssistantCorrection, testing::ValuesIn(kCorrections),
                         [](const auto& info) { return info.param.name; });

} // namespace
