#include "game/ClockFace.h"
#include "game/modCount.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <ostream>

namespace {

constexpr int B = -1; // a blank digit

GameTime tenths(std::int64_t t) {
    return GameTime::tenths(t);
}

struct ClockRow {
    const char* name;
    GameTime value;
    std::array<int, 4> digits;
    bool colon;
};

void PrintTo(const ClockRow& row, std::ostream* os) {
    *os << row.name;
}

class ClockFaceTable : public ::testing::TestWithParam<ClockRow> {};

TEST_P(ClockFaceTable, DrawsDigitsAndDots) {
    const ClockRow& row = GetParam();
    const ClockFace face = clockFace(row.value);
    EXPECT_EQ(face.digits, row.digits);
    EXPECT_EQ(face.upperDotLit, row.colon);
}

INSTANTIATE_TEST_SUITE_P(
    Clock, ClockFaceTable,
    ::testing::Values(
        // The board's own examples.
        ClockRow{"TenMinutes", tenths(6000), {1, 0, 0, 0}, true},
        ClockRow{"SixtyFive", tenths(650), {B, 1, 0, 5}, true},
        ClockRow{"SixtyOnePointOneLiftsToNextSecond", tenths(611), {B, 1, 0, 2}, true},
        ClockRow{"SixtyIsMinutesMode", tenths(600), {B, 1, 0, 0}, true},
        ClockRow{"FiftyNinePointNineIsTenthsMode", tenths(599), {5, 9, 9, B}, false},
        ClockRow{"FivePointThree", tenths(53), {B, 5, 3, B}, false},
        ClockRow{"Zero", tenths(0), {B, 0, 0, B}, false},
        // Boundaries and zeros inside the number.
        ClockRow{"Largest", GameTime::seconds(5999), {9, 9, 5, 9}, true},
        ClockRow{"TenMinutesFive", GameTime::seconds(605), {1, 0, 0, 5}, true},
        ClockRow{"AnHour", GameTime::seconds(3600), {6, 0, 0, 0}, true},
        ClockRow{"JustUnderTenMinutes", tenths(5991), {1, 0, 0, 0}, true},
        ClockRow{"NineFiftyNine", tenths(5990), {B, 9, 5, 9}, true},
        ClockRow{"TenSeconds", tenths(100), {1, 0, 0, B}, false},
        ClockRow{"NinePointNine", tenths(99), {B, 9, 9, B}, false},
        ClockRow{"OneTenth", tenths(1), {B, 0, 1, B}, false},
        ClockRow{"AfterSixtyOneSecondsFromTenMinutesLow", tenths(5389), {B, 8, 5, 9}, true},
        ClockRow{"AfterSixtyOneSecondsFromTenMinutesHigh", tenths(5390), {B, 8, 5, 9}, true},
        // Values between tenths.
        ClockRow{"HalfATenth", GameTime::fromRaw(500), {B, 0, 0, B}, false},
        ClockRow{"JustAboveFiftyNinePointNine", GameTime::fromRaw(599500), {B, 1, 0, 0}, true},
        ClockRow{"SixtyAndAHalfTenth", GameTime::fromRaw(600500), {B, 1, 0, 0}, true},
        ClockRow{"FiftyNinePointNineAndABit", GameTime::fromRaw(599001), {B, 1, 0, 0}, true},
        ClockRow{"FivePointThreeFive", GameTime::fromRaw(53500), {B, 5, 3, B}, false},
        // Values the board cannot show.
        ClockRow{"NegativeShowsZero", tenths(-5), {B, 0, 0, B}, false},
        ClockRow{"NoTimeShowsZero", GameTime::none(), {B, 0, 0, B}, false},
        ClockRow{"AboveLargestShowsLargest", GameTime::seconds(6000), {9, 9, 5, 9}, true},
        ClockRow{"JustAboveLargest", tenths(59992), {9, 9, 5, 9}, true},
        ClockRow{"HugeShowsLargest",
                 GameTime::fromRaw(std::numeric_limits<std::int64_t>::max()),
                 {9, 9, 5, 9},
                 true},
        ClockRow{"HugeNegativeShowsZero",
                 GameTime::fromRaw(std::numeric_limits<std::int64_t>::min()),
                 {B, 0, 0, B},
                 false}),
    [](const ::testing::TestParamInfo<ClockRow>& info) { return info.param.name; });

// Every tenth from 0 to 99:59 draws as digits 0..9 or blank, with blanks only on the left
// and the seconds digit lit.
TEST(ClockFace, EveryTenthDrawsWellFormedDigits) {
    for (std::int64_t t = 0; t <= 59990; ++t) {
        const ClockFace face = clockFace(tenths(t));
        const int secondsDigit = face.upperDotLit ? 3 : 1;
        bool seenLit = false;
        for (int e = 0; e < 4; ++e) {
            const int d = face.digits[e];
            ASSERT_GE(d, -1) << t;
            ASSERT_LE(d, 9) << t;
            if (d != -1) {
                seenLit = true;
            } else if (e != 3 || face.upperDotLit) {
                ASSERT_FALSE(seenLit) << "blank after a digit at " << t;
            }
        }
        ASSERT_NE(face.digits[secondsDigit], -1) << t;
        ASSERT_EQ(face.upperDotLit, t > 599) << t;
    }
}

struct PenaltyRow {
    const char* name;
    GameTime value;
    std::array<int, 3> digits; // seconds, tens of seconds, minutes
};

void PrintTo(const PenaltyRow& row, std::ostream* os) {
    *os << row.name;
}

class PenaltyFaceTable : public ::testing::TestWithParam<PenaltyRow> {};

TEST_P(PenaltyFaceTable, DrawsMinutesAndSeconds) {
    EXPECT_EQ(penaltyFace(GetParam().value), GetParam().digits);
}

INSTANTIATE_TEST_SUITE_P(
    Penalty, PenaltyFaceTable,
    ::testing::Values(PenaltyRow{"Zero", tenths(0), {0, 0, 0}},
                      PenaltyRow{"NinetySeconds", tenths(900), {0, 3, 1}},
                      PenaltyRow{"EightyNinePointOneLiftsToNextSecond", tenths(891), {0, 3, 1}},
                      PenaltyRow{"EightyNine", tenths(890), {9, 2, 1}},
                      PenaltyRow{"TwoMinutes", GameTime::seconds(120), {0, 0, 2}},
                      PenaltyRow{"Largest", GameTime::seconds(599), {9, 5, 9}},
                      PenaltyRow{"OneTenthShowsOneSecond", tenths(1), {1, 0, 0}},
                      PenaltyRow{"HalfATenthShowsZero", GameTime::fromRaw(500), {0, 0, 0}},
                      PenaltyRow{"FiftyNinePointOne", tenths(591), {0, 0, 1}},
                      PenaltyRow{"FiftyNine", tenths(590), {9, 5, 0}},
                      PenaltyRow{"NegativeShowsZero", tenths(-3), {0, 0, 0}},
                      PenaltyRow{"NoTimeShowsZero", GameTime::none(), {0, 0, 0}},
                      PenaltyRow{"AboveLargestShowsLargest", GameTime::seconds(600), {9, 5, 9}},
                      PenaltyRow{"HugeShowsLargest",
                                 GameTime::fromRaw(std::numeric_limits<std::int64_t>::max()),
                                 {9, 5, 9}}),
    [](const ::testing::TestParamInfo<PenaltyRow>& info) { return info.param.name; });

TEST(DivInt, RoundsDownAndStaysInSixteenBits) {
    struct Row {
        GameTime a, b;
        int quotient;
    };
    const Row rows[] = {
        {tenths(650), GameTime::seconds(60), 1},
        {tenths(600), GameTime::seconds(60), 1},
        {tenths(599), GameTime::seconds(60), 0},
        {tenths(0), GameTime::seconds(10), 0},
        {tenths(-1), GameTime::seconds(60), -1},
        {GameTime::seconds(-60), GameTime::seconds(60), -1},
        {GameTime::seconds(-61), GameTime::seconds(60), -2},
        {GameTime::seconds(65), GameTime::seconds(-60), -2},
        {GameTime::seconds(-65), GameTime::seconds(-60), 1},
        {GameTime::seconds(32767), GameTime::seconds(1), 32767},
        {GameTime::seconds(40000), GameTime::seconds(1), 32767},
        {GameTime::seconds(-32768), GameTime::seconds(1), -32768},
        {GameTime::seconds(-40000), GameTime::seconds(1), -32768},
        {GameTime::fromRaw(std::numeric_limits<std::int64_t>::min()), GameTime::fromRaw(-1), 32767},
        {GameTime::seconds(5), GameTime(), 0},
    };
    for (const Row& r : rows)
        EXPECT_EQ(modCount::DivInt(r.a, r.b), r.quotient) << r.a.raw() << " / " << r.b.raw();
}

} // namespace
