#include "feed/FeedState.h"
#include "game/BoardHarness.h"
#include "penalties/PenaltyAssistant.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <functional>
#include <string>
#include <utility>
#include <vector>

using namespace boardtest;

namespace {

// A field of the message by its path ("home/score", "penalties/0/time").
QJsonValue at(const QJsonObject& root, const QString& path) {
    QJsonValue v = root;
    for (const QString& part : path.split(QLatin1Char('/'))) {
        bool index = false;
        const int i = part.toInt(&index);
        v = index ? v.toArray().at(i) : v.toObject().value(part);
    }
    return v;
}

// A stretch of play and fields the feed's message must hold afterwards.
struct MessageCase {
    std::string name;
    std::function<void(BoardHarness&)> play;
    std::vector<std::pair<QString, QJsonValue>> fields;
};

const QJsonValue kNull{QJsonValue::Null};

const MessageCase kMessages[] = {
    {"LoadedBoard",
     [](BoardHarness&) {},
     {{"program", "Pucktally"},
      {"format", 1},
      {"clock/text", "10:00"},
      {"clock/tenths", 6000},
      {"clock/running", false},
      {"period", 0},
      {"home/score", 0},
      {"visitor/shots", 0},
      {"goalLamp", "none"},
      {"penalties/0/player", kNull},
      {"penalties/3/team", "visitor"},
      {"penalties/1/time", ""}}},
    {"RunningClock",
     [](BoardHarness& b) {
         b.press(EntryBox::TimeBack, keyFor('S'));
         b.run(2500);
     },
     {{"clock/text", "9:58"}, {"clock/tenths", 5975}, {"clock/running", true}}},
    {"LastMinuteInTenths",
     [](BoardHarness& b) { b.type(EntryBox::TimeBack, "0.453\n"); },
     {{"clock/text", "45.3"}, {"clock/tenths", 453}, {"resetTenths", 453}}},
    {"ScoresShotsPeriodGoal",
     [](BoardHarness& b) {
         b.type(EntryBox::HomeBack, "+3");
         b.type(EntryBox::VisitorBack, "12\n");
         b.type(EntryBox::ShotsBackV, "27\n");
         b.type(EntryBox::PeriodBack, "2\n");
         b.press(EntryBox::picGoalBack, vk::Right);
     },
     {{"home/score", 3},
      {"visitor/score", 12},
      {"visitor/shots", 27},
      {"period", 2},
      {"goalLamp", "visitor"}}},
    {"PenaltyRunsWithTheClock",
     [](BoardHarness& b) {
         b.type(EntryBox::PenaltyPH1, "17\n");
         b.type(EntryBox::PenaltyTH1, "2.00\n");
         b.press(EntryBox::TimeBack, keyFor('S'));
         b.run(15000);
     },
     {{"penalties/0/player", 17},
      {"penalties/0/team", "home"},
      {"penalties/0/time", "1:45"},
      {"penalties/0/tenths", 1050},
      {"penalties/0/running", true},
      {"penalties/0/lit", true},
      {"penalties/2/lit", false}}},
    {"TeamsAndLookFromSettings",
     [](BoardHarness& b) {
         b.settings.HomeText = QStringLiteral("Ice \"Owls\"");
         b.settings.HomeColor = 0x0000FF; // red, stored blue-green-red
         b.settings.TimeColor = 0x123456;
         b.settings.LEDType = 1;
     },
     {{"home/name", "Ice \"Owls\""},
      {"home/color", "#ff0000"},
      {"colors/time", "#563412"},
      {"visitor/name", "Visitor"},
      {"digitStyle", "dots"}}},
};

class FeedMessage : public testing::TestWithParam<MessageCase> {};

TEST_P(FeedMessage, FieldsReadAsTheBoardShows) {
    BoardHarness board;
    board.load();
    GetParam().play(board);
    const QByteArray json = feedJson(board.logic.state(), feedLookOf(board.settings), 41);
    QJsonParseError error{};
    const QJsonObject root = QJsonDocument::fromJson(json, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << json.constData();
    EXPECT_EQ(root.value(QStringLiteral("seq")), QJsonValue(41));
    for (const auto& [path, expected] : GetParam().fields)
        EXPECT_EQ(at(root, path), expected) << path.toStdString() << " in " << json.constData();
}

INSTANTIATE_TEST_SUITE_P(KeyStreams, FeedMessage, testing::ValuesIn(kMessages),
                         [](const auto& info) { return info.param.name; });

// The penalty assistant's object comes only while it is on, from the game the board's state
// carries: here a home minor 30 s old and a visitor misconduct, under rules with 1:30 minors.
TEST(FeedMessageAssistant, ToldWhileOnFromTheGameTheBoardCarries) {
    penalties::PenaltyRules rules = penalties::rulesFor(penalties::RuleBook::UsaHockey);
    rules.minorTenths = 900;
    penalties::PenaltyAssistant assistant(rules);
    ASSERT_TRUE(assistant.assess({penalties::Team::Home, 7, penalties::PenaltyKind::Minor}));
    ASSERT_TRUE(assistant.assess({penalties::Team::Guest, 4, penalties::PenaltyKind::Misconduct}));
    assistant.advance(300);
    ASSERT_TRUE(assistant.signal({penalties::Team::Guest, 19, penalties::PenaltyKind::Major}));
    BoardState state;
    state.assistant = QString::fromStdString(assistant.save());
    state.assistantTenths = assistant.elapsed();
    FeedLook look;
    EXPECT_FALSE(QJsonDocument::fromJson(feedJson(state, look, 1)).object().contains("assistant"));

    look.penaltyRules = rules;
    const QJsonObject root = QJsonDocument::fromJson(feedJson(state, look, 2)).object();
    const std::vector<std::pair<QString, QJsonValue>> fields{
        {"assistant/rules", "USAH"},
        {"assistant/home/strength", 4},
        {"assistant/home/clocks/0/player", 7},
        {"assistant/home/clocks/0/kind", "minor"},
        {"assistant/home/clocks/0/left", "1:00"},
        {"assistant/visitor/strength", 5},
        {"assistant/visitor/misconducts/0/player", 4},
        {"assistant/visitor/misconducts/0/left", "9:30"},
        {"assistant/visitor/powerPlay", "PP 5v4 1:00"},
        {"assistant/home/powerPlay", ""},
        {"assistant/visitor/signalled/0/player", 19},
        {"assistant/visitor/signalled/0/kind", "major"},
        {"assistant/home/signalled", QJsonArray()},
    };
    for (const auto& [path, expected] : fields)
        EXPECT_EQ(at(root, path), expected) << path.toStdString();
}

// Colours are stored as 0x00BBGGRR and sent as CSS colours.
class FeedColor : public testing::TestWithParam<std::pair<std::int32_t, const char*>> {};

TEST_P(FeedColor, StoredColourAsCss) {
    EXPECT_EQ(feedColor(GetParam().first), QLatin1String(GetParam().second));
}

INSTANTIATE_TEST_SUITE_P(Colours, FeedColor,
                         testing::Values(std::pair{0, "#000000"}, std::pair{255, "#ff0000"},
                                         std::pair{0xFF0000, "#0000ff"},
                                         std::pair{4210752, "#404040"},
                                         std::pair{0x7FFFFFFF, "#ffffff"}));

} // namespace
