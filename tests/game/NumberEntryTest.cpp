#include "TypedCharacters.h"
#include "game/KeyCodes.h"
#include "game/TimeEntry.h"
#include "game/modShowDigits.h"
#include "support/MemoryDigitGroup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Fields are written as the board shows them, highest digit first, a space for a blank
// digit: " 12" is a three-digit field with element 0 = 2, element 1 = 1, element 2 blank.
MemoryDigitGroup makeField(const char* name, const std::string& shown) {
    MemoryDigitGroup field(QString::fromLatin1(name), static_cast<int>(shown.size()));
    for (int i = 0; i <= field.ubound(); ++i) {
        const char c = shown[shown.size() - 1 - static_cast<std::size_t>(i)];
        field.setDigit(i, c == ' ' ? -1 : c - '0');
    }
    return field;
}

std::string shown(const DigitGroup& field) {
    std::string text;
    for (int i = field.ubound(); i >= 0; --i) {
        const int d = field.digit(i);
        text += d < 0 ? ' ' : static_cast<char>('0' + d);
    }
    return text;
}

void type(modShowDigits& entry, DigitGroup& field, const std::string& keys, int lower, int upper) {
    for (const char key : keys)
        entry.EnterNumberKey(field, characterOf(key), lower, upper);
}

const std::string kThirtyNines(30, '9');

struct EntryCase {
    const char* name;
    const char* start;
    std::string keys;
    int lower;
    int upper;
    const char* expected;
    const char* textLeft; // what stays collected after the last key
};

void PrintTo(const EntryCase& c, std::ostream* os) {
    *os << c.name;
}

class NumberEntry : public testing::TestWithParam<EntryCase> {};

TEST_P(NumberEntry, TypesIntoTheField) {
    const EntryCase& c = GetParam();
    MemoryDigitGroup field = makeField("pledField", c.start);
    modShowDigits entry;
    type(entry, field, c.keys, c.lower, c.upper);
    EXPECT_EQ(shown(field), c.expected);
    EXPECT_EQ(entry.NumberEntryText().toStdString(), c.textLeft);
    EXPECT_EQ(entry.NumberEntryField(), QStringLiteral("pledField"));
}

// Scores -1..199 (three digits), shots and players -1..99 (two), the period 0..9 (one).
INSTANTIATE_TEST_SUITE_P(
    Sequences, NumberEntry,
    testing::Values(
        // Typed numbers wait for Enter in fields of more than one digit.
        EntryCase{"BlankScoreTwelve", "   ", "12\r", -1, 199, " 12", ""},
        EntryCase{"DigitsWaitForEnter", "  3", "12", -1, 199, "  3", "12"},
        EntryCase{"LeadingZerosDrop", "  4", "007\r", -1, 199, "  7", ""},
        EntryCase{"ZeroTyped", " 12", "0\r", -1, 199, "  0", ""},
        EntryCase{"ShotsTooLargeDropped", " 5", "123\r", -1, 99, " 5", ""},
        EntryCase{"PlayerNumber", "  ", "7\r", -1, 99, " 7", ""},
        EntryCase{"HighestScore", "  0", "199\r", -1, 199, "199", ""},
        EntryCase{"AboveHighestScore", "  0", "200\r", -1, 199, "  0", ""},
        // Plus or minus and one digit apply at that digit.
        EntryCase{"PlusOne", " 12", "+1", -1, 199, " 13", ""},
        EntryCase{"MinusNine", " 12", "-9", -1, 199, "  3", ""},
        EntryCase{"ZeroMinusOneBlanks", "  0", "-1", -1, 199, "   ", ""},
        EntryCase{"FiveMinusSixBlanks", "  5", "-6", -1, 199, "   ", ""},
        EntryCase{"FiveMinusSevenRefused", "  5", "-7", -1, 199, "  5", ""},
        EntryCase{"BlankMinusOneStaysBlank", "   ", "-1", -1, 199, "   ", ""},
        EntryCase{"BlankPlusFiveStartsAtZero", "  ", "+5", -1, 99, " 5", ""},
        EntryCase{"AboveUpperRefused", "199", "+1", -1, 199, "199", ""},
        EntryCase{"ShotsAboveUpperRefused", "99", "+1", -1, 99, "99", ""},
        EntryCase{"SecondDigitCollectedAfterPlus", " 10", "+12", -1, 199, " 11", "2"},
        EntryCase{"PlusTwiceWaitsForEnter", " 10", "++5", -1, 199, " 10", "++5"},
        EntryCase{"PlusTwiceThenEnter", " 10", "++5\r", -1, 199, " 15", ""},
        EntryCase{"PlusMinusThenEnter", " 10", "+-5\r", -1, 199, "  5", ""},
        EntryCase{"PlusAloneThenEnterOnBlank", "   ", "+\r", -1, 199, "  0", ""},
        EntryCase{"DigitsThenPlusOne", " 10", "2+1\r", -1, 199, "  2", ""},
        // The period field applies every digit at once and can never be blanked.
        EntryCase{"PeriodDigitAtOnce", "3", "7", 0, 9, "7", ""},
        EntryCase{"PeriodEachDigit", "3", "74", 0, 9, "4", ""},
        EntryCase{"PeriodPlusFourOnSevenRefused", "7", "+4", 0, 9, "7", ""},
        EntryCase{"PeriodPlusTwo", "7", "+2", 0, 9, "9", ""},
        EntryCase{"PeriodMinusOne", "3", "-1", 0, 9, "2", ""},
        EntryCase{"PeriodZeroMinusOneRefused", "0", "-1", 0, 9, "0", ""},
        EntryCase{"PeriodClearRefused", "3", "#", 0, 9, "3", ""},
        EntryCase{"PeriodEnterAloneNoChange", "3", "\r", 0, 9, "3", ""},
        EntryCase{"PeriodOtherKeyNoChange", "3", "?.", 0, 9, "3", ""},
        // Space discards, the clear key blanks but keeps what was typed.
        EntryCase{"SpaceDiscards", " 12", "34 \r", -1, 199, " 12", ""},
        EntryCase{"SpaceThenDigits", " 12", "34 5\r", -1, 199, "  5", ""},
        EntryCase{"SpaceAfterPlus", " 12", "+ 5\r", -1, 199, "  5", ""},
        EntryCase{"ClearBlanksScore", " 12", "#", -1, 199, "   ", ""},
        EntryCase{"ClearKeepsTypedText", "  8", "5#", -1, 199, "   ", "5"},
        EntryCase{"ClearThenEnterShowsTyped", "  8", "5#\r", -1, 199, "  5", ""},
        // Other keys take no part.
        EntryCase{"PointIgnored", "   ", "1.2\r", -1, 199, " 12", ""},
        EntryCase{"LetterIgnored", "   ", "1?2\r", -1, 199, " 12", ""},
        EntryCase{"EnterAloneNoChange", " 12", "\r", -1, 199, " 12", ""},
        EntryCase{"EnterAloneOnBlank", "   ", "\r", -1, 199, "   ", ""},
        // Long texts are too large, never wrapped around into a small number.
        EntryCase{"ThirtyDigitsRefused", " 10", kThirtyNines + "\r", -1, 199, " 10", ""},
        EntryCase{"TwoToThe64PlusFiveRefused", " 10", "18446744073709551621\r", -1, 199, " 10", ""},
        EntryCase{"TwoToThe32PlusSevenRefused", " 10", "4294967303\r", -1, 199, " 10", ""},
        EntryCase{"PlusThirtyDigitsRefused", " 10", "++" + kThirtyNines + "\r", -1, 199, " 10", ""},
        EntryCase{"MinusMinusThirtyDigitsRefused", " 10", "--" + kThirtyNines + "\r", -1, 199,
                  " 10", ""},
        EntryCase{"PlusMinusThirtyDigitsRefused", " 10", "+-" + kThirtyNines + "\r", -1, 199, " 10",
                  ""},
        EntryCase{"LongTextKeptUntilEnter", " 10", kThirtyNines, -1, 199, " 10",
                  kThirtyNines.c_str()}),
    [](const testing::TestParamInfo<EntryCase>& info) { return std::string(info.param.name); });

struct ShowCase {
    const char* name;
    const char* start;
    QString text;
    int lower;
    int upper;
    const char* expected;
};

void PrintTo(const ShowCase& c, std::ostream* os) {
    *os << c.name;
}

class ShowNumber : public testing::TestWithParam<ShowCase> {};

TEST_P(ShowNumber, WritesOnlyValuesWithinLimits) {
    const ShowCase& c = GetParam();
    MemoryDigitGroup field = makeField("pledField", c.start);
    modShowDigits::ShowNumber(field, c.text, c.lower, c.upper);
    EXPECT_EQ(shown(field), c.expected);
}

const QString kClear(QChar(0));

INSTANTIATE_TEST_SUITE_P(
    Texts, ShowNumber,
    testing::Values(
        ShowCase{"ReadingStopsAtSign", "   ", QStringLiteral("12+3"), -1, 199, " 12"},
        ShowCase{"ClearWithinLimits", " 12", kClear, -1, 199, "   "},
        ShowCase{"ClearOnlyLimits", "42", kClear, -1, -1, "  "},
        ShowCase{"ClearBelowLower", "4", kClear, 0, 9, "4"},
        ShowCase{"ClearFollowedByDigits", " 12", kClear + QStringLiteral("55"), -1, 199, "   "},
        ShowCase{"EmptyText", " 12", QString(), -1, 199, " 12"},
        ShowCase{"EmptyTextAllowingBlank", " 12", QString(), -1, -1, " 12"},
        ShowCase{"LetterFirst", " 12", QStringLiteral("x5"), -1, 199, " 12"},
        ShowCase{"PointFirst", " 12", QStringLiteral(".5"), -1, 199, " 12"},
        ShowCase{"OtherScriptDigit", " 12", QStringLiteral("\u0665"), -1, 199, " 12"},
        ShowCase{"PlusWithFraction", " 12", QStringLiteral("+2.5"), -1, 199, " 14"},
        ShowCase{"PlusNegativeFractionRoundsDown", " 12", QStringLiteral("+-2.5"), -1, 199, "  9"},
        ShowCase{"BelowLower", "  3", QStringLiteral("2"), 3, 199, "  3"},
        ShowCase{"AtLower", "  5", QStringLiteral("3"), 3, 199, "  3"},
        // A value the digits cannot show is refused even when the limits allow it.
        ShowCase{"MoreDigitsThanTheField", "12", QStringLiteral("123"), -1, 999, "12"},
        ShowCase{"NegativeBelowBlank", "  ", QStringLiteral("-5"), -10, 99, "  "},
        ShowCase{"FillsTheField", "  ", QStringLiteral("99"), -1, 99, "99"}),
    [](const testing::TestParamInfo<ShowCase>& info) { return std::string(info.param.name); });

TEST(ShowNumber, ReadsBackWhatTheDigitsShow) {
    const struct {
        const char* start;
        int value;
    } rows[] = {{"   ", -1}, {" 12", 12}, {"007", 7}, {"1 2", 12}, {"199", 199}, {"0", 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.start);
        EXPECT_EQ(modShowDigits::ReadNumber(makeField("pledField", row.start)), row.value);
    }
}

TEST(ShowNumber, SkipsDigitsThatAreNoDigits) {
    MemoryDigitGroup field("pledHome", 3);
    field.setDigit(0, 5);
    field.setDigit(1, 12); // a cell that holds nonsense counts as blank
    field.setDigit(2, -7);
    EXPECT_EQ(modShowDigits::ReadNumber(field), 5);
    modShowDigits::ShowNumber(field, QStringLiteral("+1"), -1, 199);
    EXPECT_EQ(shown(field), "  6");
}

TEST(NumberEntry, AnotherNumberFieldDropsTheTypedText) {
    MemoryDigitGroup home = makeField("pledHome", "  2");
    MemoryDigitGroup visitor = makeField("pledVisitor", "  3");
    modShowDigits entry;
    type(entry, home, "5", -1, 199);
    type(entry, visitor, "6\r", -1, 199);
    EXPECT_EQ(shown(home), "  2");
    EXPECT_EQ(shown(visitor), "  6");
    EXPECT_EQ(entry.NumberEntryField(), QStringLiteral("pledVisitor"));

    // Half of a "+1" does not carry over either.
    type(entry, home, "+", -1, 199);
    type(entry, visitor, "1\r", -1, 199);
    EXPECT_EQ(shown(home), "  2");
    EXPECT_EQ(shown(visitor), "  1");
}

TEST(NumberEntry, TimeEntryInBetweenKeepsTheTypedText) {
    MemoryDigitGroup home = makeField("pledHome", "   ");
    MemoryDigitGroup clock("pledTime", 4);
    modShowDigits numbers;
    TimeEntry times;
    type(numbers, home, "5", -1, 199);
    times.EnterTimeKey(clock, '1', 5999);
    times.EnterTimeKey(clock, '\r', 5999);
    type(numbers, home, "6\r", -1, 199);
    EXPECT_EQ(shown(home), " 56");
}

TEST(NumberEntry, KeysFromTheKeyboardReachTheField) {
    MemoryDigitGroup home = makeField("pledHome", "  4");
    modShowDigits entry;
    // Numeric-pad plus, main-keyboard 2: 4 + 2.
    for (const int key : {107, 50})
        entry.EnterNumberKey(home, KeyCodeToAsci(key, 46), -1, 199);
    EXPECT_EQ(shown(home), "  6");
    // Delete is the clear key.
    entry.EnterNumberKey(home, KeyCodeToAsci(46, 46), -1, 199);
    EXPECT_EQ(shown(home), "   ");
}

} // namespace
