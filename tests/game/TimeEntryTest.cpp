#include "game/TimeEntry.h"
#include "TypedCharacters.h"
#include "game/KeyCodes.h"
#include "game/modShowDigits.h"
#include "support/MemoryDigitGroup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr std::int64_t kNone = -1;

// Times in the tables are in tenths of a second; kNone stands for "no time".
std::int64_t tenthsOf(GameTime t) {
    if (t.isNone())
        return kNone;
    EXPECT_EQ(t.raw() % GameTime::kPerTenth, 0) << "not a whole tenth";
    return t.raw() / GameTime::kPerTenth;
}

struct ParseCase {
    const char* text;
    std::int64_t tenths;
};

class ParseTime : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseTime, ReadsMinutesSecondsAndTenths) {
    const ParseCase& c = GetParam();
    EXPECT_EQ(tenthsOf(TimeEntry::ParseTime(QString::fromUtf8(c.text))), c.tenths)
        << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseTime,
    testing::Values(
        // Minutes alone.
        ParseCase{"", 0}, ParseCase{"0", 0}, ParseCase{"5", 3000}, ParseCase{"10", 6000},
        ParseCase{"99", 59400}, ParseCase{"100", kNone}, ParseCase{"00000001", 600},
        ParseCase{"12345678", kNone},
        // Seconds: one or two digits after the point.
        ParseCase{"12.30", 7500}, ParseCase{"1.5", 650}, ParseCase{"1.05", 650},
        ParseCase{"01.05", 650}, ParseCase{"99.59", 59990}, ParseCase{"1.75", 1350},
        ParseCase{"1.99", 1590}, ParseCase{"5.", 3000}, ParseCase{".", 0}, ParseCase{".5", 50},
        ParseCase{".45", 450},
        // Tenths: the third digit after the point; later ones are ignored.
        ParseCase{"1.305", 905}, ParseCase{"0.455", 455}, ParseCase{"99.591", 59991},
        ParseCase{"99.999", 60399}, ParseCase{"1.3059", 905}, ParseCase{"1.30599", 905},
        ParseCase{".000", 0},
        // Refused texts.
        ParseCase{"1.2.3", kNone}, ParseCase{"..", kNone}, ParseCase{"123456789", kNone},
        ParseCase{"1.2345678", kNone}, ParseCase{"1a", kNone}, ParseCase{"1,5", kNone},
        ParseCase{"-1", kNone}, ParseCase{"+1", kNone}, ParseCase{" 1", kNone},
        ParseCase{"1.5 ", kNone}, ParseCase{"\u0661", kNone}, ParseCase{"1:30", kNone}));

TEST(ParseTime, RefusesLongTextsWithoutOverflow) {
    for (const int length : {9, 30, 1000}) {
        EXPECT_TRUE(TimeEntry::ParseTime(QString(length, QLatin1Char('9'))).isNone()) << length;
        EXPECT_TRUE(TimeEntry::ParseTime(QString(length, QLatin1Char('0'))).isNone()) << length;
    }
}

// Types `keys` into `group` and returns every time that came out, in tenths.
std::vector<std::int64_t> type(TimeEntry& entry, const DigitGroup& group, const std::string& keys,
                               std::int32_t limit) {
    std::vector<std::int64_t> times;
    for (const char key : keys) {
        const GameTime t = entry.EnterTimeKey(group, characterOf(key), limit);
        if (!t.isNone())
            times.push_back(tenthsOf(t));
    }
    return times;
}

struct EntryCase {
    const char* name;
    std::string keys;
    std::int32_t limit;
    std::vector<std::int64_t> times;
    const char* textLeft;
};

void PrintTo(const EntryCase& c, std::ostream* os) {
    *os << c.name;
}

class TimeEntryKeys : public testing::TestWithParam<EntryCase> {};

TEST_P(TimeEntryKeys, GivesTimesOnEnter) {
    const EntryCase& c = GetParam();
    MemoryDigitGroup clock("pledTime", 4);
    TimeEntry entry;
    EXPECT_EQ(type(entry, clock, c.keys, c.limit), c.times);
    EXPECT_EQ(entry.TimeEntryText().toStdString(), c.textLeft);
    EXPECT_EQ(entry.TimeEntryField(), QStringLiteral("pledTime"));
}

// The game clock takes up to 5999 s, a penalty up to 599 s.
INSTANTIATE_TEST_SUITE_P(
    Sequences, TimeEntryKeys,
    testing::Values(EntryCase{"TenMinutes", "10\r", 5999, {6000}, ""},
                    EntryCase{"ClockLimitAccepted", "99.59\r", 5999, {59990}, ""},
                    EntryCase{"TenthAboveClockLimit", "99.591\r", 5999, {}, ""},
                    EntryCase{"MinutesAboveNinetyNine", "100\r", 5999, {}, ""},
                    EntryCase{"SecondsAndTenth", "0.455\r", 5999, {455}, ""},
                    EntryCase{"TwoPoints", "1.2.3\r", 5999, {}, ""},
                    EntryCase{"NineCharacters", "1.0000000\r", 5999, {}, ""},
                    EntryCase{"LetterBetweenDigits", "1?\r", 5999, {600}, ""},
                    EntryCase{"LetterInsideNumber", "1?0\r", 5999, {6000}, ""},
                    EntryCase{"EnterAlone", "\r", 5999, {0}, ""},
                    EntryCase{"NothingUntilEnter", "12.3", 5999, {}, "12.3"},
                    EntryCase{"SpaceClears", "12 3\r", 5999, {1800}, ""},
                    EntryCase{"SpaceAtEnd", "12 ", 5999, {}, ""},
                    EntryCase{"SignsAndClearIgnored", "+1-#\r", 5999, {600}, ""},
                    EntryCase{"EnterEmptiesAfterRefusal", "100\r1\r", 5999, {600}, ""},
                    EntryCase{"EachEnterOnItsOwn", "1\r2\r\r", 5999, {600, 1200, 0}, ""},
                    EntryCase{"PenaltyTwoMinutes", "2\r", 599, {1200}, ""},
                    EntryCase{"PenaltyTenMinutesRefused", "10\r", 599, {}, ""},
                    EntryCase{"PenaltyLimitAccepted", "9.59\r", 599, {5990}, ""},
                    EntryCase{"PenaltyTenthAboveLimit", "9.591\r", 599, {}, ""},
                    EntryCase{"PenaltySecondsAddUp", "8.99\r", 599, {5790}, ""},
                    EntryCase{"PenaltySecondsAddUpBeyond", "9.60\r", 599, {}, ""},
                    EntryCase{"LimitZero", "\r0.001\r", 0, {0}, ""},
                    EntryCase{"LongHeldDigit", std::string(40, '5') + "\r", 5999, {}, ""}),
    [](const testing::TestParamInfo<EntryCase>& info) { return std::string(info.param.name); });

TEST(TimeEntry, AnotherTimeFieldDropsTheTypedText) {
    MemoryDigitGroup clock("pledTime", 4);
    MemoryDigitGroup penalty("pledPenaltyTV1", 3);
    TimeEntry entry;
    type(entry, clock, "1", 5999);
    EXPECT_EQ(type(entry, penalty, "3\r", 599), std::vector<std::int64_t>{1800});
    EXPECT_EQ(entry.TimeEntryField(), QStringLiteral("pledPenaltyTV1"));

    // Coming back does not bring the dropped text back either.
    type(entry, penalty, "4", 599);
    EXPECT_EQ(type(entry, clock, "5\r", 5999), std::vector<std::int64_t>{3000});
}

TEST(TimeEntry, NumberEntryInBetweenKeepsTheTypedText) {
    MemoryDigitGroup clock("pledTime", 4);
    MemoryDigitGroup home("pledHome", 3, -1);
    TimeEntry times;
    modShowDigits numbers;
    type(times, clock, "1", 5999);
    numbers.EnterNumberKey(home, '7', -1, 199);
    numbers.EnterNumberKey(home, '\r', -1, 199);
    EXPECT_EQ(type(times, clock, "2\r", 5999), std::vector<std::int64_t>{7200});
    EXPECT_EQ(modShowDigits::ReadNumber(home), 7);
}

TEST(TimeEntry, KeysFromTheKeyboardReachTheClock) {
    MemoryDigitGroup clock("pledTime", 4);
    TimeEntry entry;
    GameTime last = GameTime::none();
    // Pad 1, main point, main 3, pad 0, S (no character), pad 5, Enter.
    for (const int key : {97, 190, 51, 96, 83, 101, 13})
        last = entry.EnterTimeKey(clock, KeyCodeToAsci(key, 46), 5999);
    EXPECT_EQ(last, GameTime::tenths(905));
}

} // namespace
