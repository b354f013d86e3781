// What the live feed tells of the penalty assistant, and the overlay's strength line, for
// situations played through the penalty engine.

#include "penalties/PenaltyJson.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

#include <ostream>
#include <string>

using namespace penalties;

namespace {

constexpr int kSecond = 10;

Assessment given(Team team, int player, PenaltyKind kind) {
    return Assessment{team, player, kind};
}

PenaltyEvent one(Team team, int player, PenaltyKind kind = PenaltyKind::Minor) {
    return PenaltyEvent::assess({given(team, player, kind)});
}

PenaltyEvent run(int seconds) {
    return PenaltyEvent::advance(seconds * kSecond);
}

std::string compact(const QJsonValue& value) {
    const QJsonDocument doc =
        value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
    return doc.toJson(QJsonDocument::Compact).toStdString();
}

// A team's object with nobody off: five skaters, empty lists.
const std::string kFull = R"({"clocks":[],"misconducts":[],"strength":5,"waiting":[]})";

struct JsonCase {
    std::string name;
    RuleBook book;
    std::vector<PenaltyEvent> events;
    std::string home;
    std::string visitor;
    std::string homeText; // the overlay's strength line for each team
    std::string visitorText;
};

const Team H = Team::Home;
const Team V = Team::Guest;

const JsonCase kCases[] = {
    {"NothingOff", RuleBook::Iihf, {}, kFull, kFull, "", ""},
    {"MinorAfterFortyEightSeconds",
     RuleBook::Iihf,
     {one(H, 12), run(48)},
     R"({"clocks":[{"kind":"minor","left":"1:12","player":12}],"misconducts":[],"strength":4,)"
     R"("waiting":[]})",
     kFull,
     "",
     "PP 5v4 1:12"},
    {"PartOfASecondShowsAsAWholeOne",
     RuleBook::UsaHockey,
     {one(V, 3), PenaltyEvent::advance(309)},
     kFull,
     R"({"clocks":[{"kind":"minor","left":"1:30","player":3}],"misconducts":[],"strength":4,)"
     R"("waiting":[]})",
     "PP 5v4 1:30",
     ""},
    {"ThirdPenaltyWaitsAndHoldsTheTwoManAdvantage",
     RuleBook::Iihf,
     {one(H, 12), run(30), one(H, 7), run(30), one(H, 9)},
     R"({"clocks":[{"kind":"minor","left":"1:00","player":12},)"
     R"({"kind":"minor","left":"1:30","player":7}],"misconducts":[],"strength":3,)"
     R"("waiting":[{"kind":"minor","player":9}]})",
     kFull,
     "",
     "PP 5v3 1:30"},
    {"WaitingInTheOrderTheyStart",
     RuleBook::HockeyCanada,
     {one(V, 1), one(V, 2), one(V, 3, PenaltyKind::Major), one(V, 4, PenaltyKind::DoubleMinor)},
     kFull,
     R"({"clocks":[{"kind":"minor","left":"2:00","player":1},)"
     R"({"kind":"minor","left":"2:00","player":2}],"misconducts":[],"strength":3,)"
     R"("waiting":[{"kind":"major","player":3},{"kind":"doubleMinor","player":4}]})",
     "PP 5v3 6:00", // the two waiting start at 2:00; the double minor ends first
     ""},
    {"ShortHandedSideOnAPowerPlayOfItsOwn",
     RuleBook::Iihf,
     {one(H, 12), run(60),
      PenaltyEvent::assess({given(V, 8, PenaltyKind::Minor), given(V, 9, PenaltyKind::Major)})},
     R"({"clocks":[{"kind":"minor","left":"1:00","player":12}],"misconducts":[],"strength":4,)"
     R"("waiting":[]})",
     R"({"clocks":[{"kind":"minor","left":"2:00","player":8},)"
     R"({"kind":"major","left":"5:00","player":9}],"misconducts":[],"strength":3,)"
     R"("waiting":[]})",
     "PP 4v3 1:00",
     ""},
    {"DoubleMinorAgainstMajorIsFourOnFour",
     RuleBook::Iihf,
     {PenaltyEvent::assess(
         {given(H, 4, PenaltyKind::DoubleMinor), given(V, 22, PenaltyKind::Major)})},
     R"({"clocks":[{"kind":"doubleMinor","left":"4:00","player":4}],"misconducts":[],)"
     R"("strength":4,"waiting":[]})",
     R"({"clocks":[{"kind":"major","left":"5:00","player":22}],"misconducts":[],)"
     R"("strength":4,"waiting":[]})",
     "",
     ""},
    {"DoubleMinorInItsSecondHalfIsAMinorLeft",
     RuleBook::Iihf,
     {one(H, 4, PenaltyKind::DoubleMinor), run(150)},
     R"({"clocks":[{"kind":"minor","left":"1:30","player":4}],"misconducts":[],"strength":4,)"
     R"("waiting":[]})",
     kFull,
     "",
     "PP 5v4 1:30"},
    {"MajorPlusMinor",
     RuleBook::UsaHockey,
     {one(V, 17, PenaltyKind::MajorPlusMinor)},
     kFull,
     R"({"clocks":[{"kind":"majorMinor","left":"7:00","player":17}],"misconducts":[],)"
     R"("strength":4,"waiting":[]})",
     "PP 5v4 7:00",
     ""},
    {"MisconductKeepsTheTeamFullAndShowsAllItsTime",
     RuleBook::Nhl,
     {one(H, 5, PenaltyKind::MinorPlusMisconduct), one(V, 6, PenaltyKind::Misconduct), run(1)},
     R"({"clocks":[{"kind":"minor","left":"1:59","player":5}],)"
     R"("misconducts":[{"left":"11:59","player":5}],"strength":4,"waiting":[]})",
     R"({"clocks":[],"misconducts":[{"left":"9:59","player":6}],"strength":5,"waiting":[]})",
     "",
     "PP 5v4 1:59"},
    {"ClockShowsNoMoreThanTheBoardCan",
     RuleBook::Iihf,
     {one(H, 5, PenaltyKind::Major), one(H, 5, PenaltyKind::Major)},
     R"({"clocks":[{"kind":"major","left":"9:59","player":5}],"misconducts":[],"strength":4,)"
     R"("waiting":[]})",
     kFull,
     "",
     "PP 5v4 10:00"},
    {"CoincidentMinorsStayOffTheClocks",
     RuleBook::Iihf,
     {PenaltyEvent::assess({given(H, 3, PenaltyKind::Minor), given(V, 8, PenaltyKind::Minor)})},
     kFull,
     kFull,
     "",
     ""},
    {"OnePairOfMinorsFourOnFour",
     RuleBook::Nhl,
     {PenaltyEvent::assess({given(H, 3, PenaltyKind::Minor), given(V, 8, PenaltyKind::Minor)})},
     R"({"clocks":[{"kind":"minor","left":"2:00","player":3}],"misconducts":[],"strength":4,)"
     R"("waiting":[]})",
     R"({"clocks":[{"kind":"minor","left":"2:00","player":8}],"misconducts":[],"strength":4,)"
     R"("waiting":[]})",
     "",
     ""},
    {"PowerPlayGoalFreesTheClock",
     RuleBook::Iihf,
     {one(H, 12), run(30), PenaltyEvent::goal(V)},
     kFull,
     kFull,
     "",
     ""},
};

// Names the row in gtest's messages instead of its bytes.
void PrintTo(const JsonCase& c, std::ostream* os) {
    *os << c.name;
}

class AssistantJson : public testing::TestWithParam<JsonCase> {};

TEST_P(AssistantJson, TellsWhatTheBenchesHold) {
    const JsonCase& c = GetParam();
    PenaltyState state(rulesFor(c.book));
    for (const PenaltyEvent& event : c.events)
        ASSERT_TRUE(state.apply(event));
    const QJsonObject json = assistantJson(state, c.book);
    EXPECT_EQ(json.size(), 3);
    EXPECT_EQ(compact(json.value("home")), c.home);
    EXPECT_EQ(compact(json.value("visitor")), c.visitor);
    EXPECT_EQ(strengthText(state, H).toStdString(), c.homeText);
    EXPECT_EQ(strengthText(state, V).toStdString(), c.visitorText);
}

INSTANTIATE_TEST_SUITE_P(Situations, AssistantJson, testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.name; });

TEST(AssistantJsonRules, NamesTheBookAsStored) {
    const std::pair<RuleBook, const char*> books[] = {{RuleBook::Iihf, "IIHF"},
                                                      {RuleBook::UsaHockey, "USAH"},
                                                      {RuleBook::HockeyCanada, "HC"},
                                                      {RuleBook::Nhl, "NHL"}};
    for (const auto& [book, text] : books)
        EXPECT_EQ(assistantJson(PenaltyState(rulesFor(book)), book).value("rules").toString(),
                  QString::fromLatin1(text));
}

TEST(PenaltyTimeText, CountsAPartOfASecondAsAWholeOne) {
    const std::pair<int, const char*> times[] = {{-5, "0:00"},    {0, "0:00"},    {1, "0:01"},
                                                 {51, "0:06"},    {891, "1:30"},  {1200, "2:00"},
                                                 {6000, "10:00"}, {7201, "12:01"}};
    for (const auto& [tenths, text] : times)
        EXPECT_EQ(penaltyTimeText(tenths), QString::fromLatin1(text)) << tenths;
}

TEST(PenaltyKindText, EveryKindHasItsOwnName) {
    QStringList names;
    for (int kind = 0; kind <= static_cast<int>(PenaltyKind::Match); ++kind)
        names << penaltyKindText(static_cast<PenaltyKind>(kind));
    EXPECT_EQ(names, QStringList({"minor", "doubleMinor", "major", "majorMinor", "minorMisconduct",
                                  "misconduct", "gameMisconduct", "match"}));
}

} // namespace
