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

const Team H = Team::Home;
const Team V = Team::Guest;

PenaltyEvent one(Team team, int player, PenaltyKind kind = PenaltyKind::Minor) {
    return PenaltyEvent::assess({Assessment{team, player, kind}});
}

PenaltyEvent pair(Team team, int player, PenaltyKind kind, Team other, int otherPlayer,
                  PenaltyKind otherKind) {
    return PenaltyEvent::assess({Assessment{team, player, kind}, {other, otherPlayer, otherKind}});
}

PenaltyEvent run(int seconds) {
    return PenaltyEvent::advance(seconds * 10);
}

// One team's object read back as "4 [12 minor 1:12] w[9 major] m[5 8:41] c[3 1:00] h[6]":
// strength, clocks, then waiting, misconducts, coincident and held players when there are any. A
// key misspelt reads as blank.
std::string teamLine(const QJsonObject& team) {
    const auto list = [](const QJsonValue& value, std::initializer_list<const char*> keys) {
        std::string text = "[";
        for (const QJsonValue& entry : value.toArray()) {
            text += text.size() > 1 ? ", " : "";
            for (const char* key : keys) {
                const QJsonValue field = entry.toObject().value(QLatin1String(key));
                text += (key == *keys.begin() ? "" : " ") + (field.isDouble()
                                                                 ? std::to_string(field.toInt())
                                                                 : field.toString().toStdString());
            }
        }
        return text + "]";
    };
    std::string line = std::to_string(team.value("strength").toInt(-1)) + " " +
                       list(team.value("clocks"), {"player", "kind", "left"});
    if (!team.value("waiting").toArray().isEmpty())
        line += " w" + list(team.value("waiting"), {"player", "kind"});
    if (!team.value("misconducts").toArray().isEmpty())
        line += " m" + list(team.value("misconducts"), {"player", "left"});
    if (!team.value("coincident").toArray().isEmpty())
        line += " c" + list(team.value("coincident"), {"player", "left"});
    if (!team.value("held").toArray().isEmpty())
        line += " h" + list(team.value("held"), {"player"});
    return line;
}

struct JsonCase {
    std::string name;
    RuleBook book;
    std::vector<PenaltyEvent> events;
    std::string home, visitor;         // teamLine() of each team's object
    std::string homeText, visitorText; // the overlay's strength line for each team
};

// clang-format off
const JsonCase kCases[] = {
    {"NothingOff", RuleBook::Iihf, {}, "5 []", "5 []", "", ""},
    {"MinorAfterFortyEightSeconds", RuleBook::Iihf, {one(H, 12), run(48)},
     "4 [12 minor 1:12]", "5 []", "", "PP 5v4 1:12"},
    {"PartOfASecondShowsAsAWholeOne", RuleBook::UsaHockey, {one(V, 3), PenaltyEvent::advance(309)},
     "5 []", "4 [3 minor 1:30]", "PP 5v4 1:30", ""},
    // The power play lasts until the second clock frees: the first one takes the waiting #9.
    {"ThirdPenaltyWaitsAndHoldsTheTwoManAdvantage", RuleBook::Iihf,
     {one(H, 12), run(30), one(H, 7), run(30), one(H, 9)},
     "3 [12 minor 1:00, 7 minor 1:30] w[9 minor]", "5 []", "", "PP 5v3 1:30"},
    // The two waiting start at 2:00; the double minor ends first, at 6:00.
    {"WaitingInTheOrderTheyStart", RuleBook::HockeyCanada,
     {one(V, 1), one(V, 2), one(V, 3, PenaltyKind::Major), one(V, 4, PenaltyKind::DoubleMinor)},
     "5 []", "3 [1 minor 2:00, 2 minor 2:00] w[3 major, 4 doubleMinor]", "PP 5v3 6:00", ""},
    {"ShortHandedSideOnAPowerPlayOfItsOwn", RuleBook::Iihf,
     {one(H, 12), run(60), pair(V, 8, PenaltyKind::Minor, V, 9, PenaltyKind::Major)},
     "4 [12 minor 1:00]", "3 [8 minor 2:00, 9 major 5:00]", "PP 4v3 1:00", ""},
    {"DoubleMinorAgainstMajorIsFourOnFour", RuleBook::Iihf,
     {pair(H, 4, PenaltyKind::DoubleMinor, V, 22, PenaltyKind::Major)},
     "4 [4 doubleMinor 4:00]", "4 [22 major 5:00]", "", ""},
    {"DoubleMinorInItsSecondHalfIsAMinorLeft", RuleBook::Iihf,
     {one(H, 4, PenaltyKind::DoubleMinor), run(150)},
     "4 [4 minor 1:30]", "5 []", "", "PP 5v4 1:30"},
    {"MajorPlusMinor", RuleBook::UsaHockey, {one(V, 17, PenaltyKind::MajorPlusMinor)},
     "5 []", "4 [17 majorMinor 7:00]", "PP 5v4 7:00", ""},
    {"MisconductKeepsTheTeamFullAndShowsAllItsTime", RuleBook::Nhl,
     {one(H, 5, PenaltyKind::MinorPlusMisconduct), one(V, 6, PenaltyKind::Misconduct), run(1)},
     "4 [5 minor 1:59] m[5 11:59]", "5 [] m[6 9:59]", "", "PP 5v4 1:59"},
    {"ClockShowsNoMoreThanTheBoardCan", RuleBook::Iihf,
     {one(H, 5, PenaltyKind::Major), one(H, 5, PenaltyKind::Major)},
     "4 [5 major 9:59]", "5 []", "", "PP 5v4 10:00"},
    {"CoincidentMinorsStayOffTheClocks", RuleBook::Iihf,
     {pair(H, 3, PenaltyKind::Minor, V, 8, PenaltyKind::Minor), run(30)},
     "5 [] c[3 1:30]", "5 [] c[8 1:30]", "", ""},
    {"HeldPlayerWaitsForTheStoppage", RuleBook::UsaHockey,
     {one(H, 12), run(30), one(H, 7), run(30), one(H, 9), run(60)},
     "3 [9 minor 2:00, 7 minor 0:30] h[12]", "5 []", "", "PP 5v3 0:30"},
    {"OnePairOfMinorsFourOnFour", RuleBook::Nhl,
     {pair(H, 3, PenaltyKind::Minor, V, 8, PenaltyKind::Minor)},
     "4 [3 minor 2:00]", "4 [8 minor 2:00]", "", ""},
    {"PowerPlayGoalFreesTheClock", RuleBook::Iihf, {one(H, 12), run(30), PenaltyEvent::goal(V)},
     "5 []", "5 []", "", ""},
};
// clang-format on

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
    EXPECT_EQ(teamLine(json.value("home").toObject()), c.home);
    EXPECT_EQ(teamLine(json.value("visitor").toObject()), c.visitor);
    EXPECT_EQ(strengthText(state, H).toStdString(), c.homeText);
    EXPECT_EQ(strengthText(state, V).toStdString(), c.visitorText);
}

INSTANTIATE_TEST_SUITE_P(Situations, AssistantJson, testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.name; });

TEST(AssistantJsonShape, ExactlyTheDocumentedFields) {
    PenaltyState state(rulesFor(RuleBook::UsaHockey));
    for (const PenaltyEvent& event : {one(H, 12), one(H, 7, PenaltyKind::MinorPlusMisconduct),
                                      one(H, 9, PenaltyKind::Major), run(48)})
        ASSERT_TRUE(state.apply(event));
    const QByteArray json =
        QJsonDocument(assistantJson(state, RuleBook::UsaHockey)).toJson(QJsonDocument::Compact);
    EXPECT_EQ(json.toStdString(),
              R"({"home":{"clocks":[{"kind":"minor","left":"1:12","player":12},)"
              R"({"kind":"minor","left":"1:12","player":7}],)"
              R"("coincident":[],"held":[],"misconducts":[{"left":"11:12","player":7}],)"
              R"("strength":3,"waiting":[{"kind":"major","player":9}]},"rules":"USAH",)"
              R"("visitor":{"clocks":[],"coincident":[],"held":[],"misconducts":[],)"
              R"("strength":5,"waiting":[]}})");
}

TEST(AssistantJsonShape, NamesTheBookAsStored) {
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
