#include "display/ShownName.h"

#include <gtest/gtest.h>

namespace {

const QString kStick = QString::fromUtf8("\xF0\x9F\x8F\x92"); // one character, two UTF-16 units
constexpr int N = kMaxShownNameLength;

QString times(const QString& s, int n) {
    return s.repeated(n);
}

TEST(ShownName, ShortNamesWhole_LongNamesTheirMiddle_NoCharacterCut) {
    const QString core = times(QStringLiteral("a"), N / 2) + times(QStringLiteral("b"), N / 2);
    const struct {
        const char* name;
        QString input, expected;
    } rows[] = {
        {"empty", QString(), QString()},
        {"a team name", QStringLiteral("Eisbären"), QStringLiteral("Eisbären")},
        {"exactly the limit", core, core},
        {"one over: the first ones", core + QStringLiteral("z"), core},
        {"long: the middle",
         times(QStringLiteral("L"), 1000) + core + times(QStringLiteral("R"), 1000), core},
        {"uneven ends", times(QStringLiteral("L"), 999) + core + times(QStringLiteral("R"), 1000),
         core},
        {"would start inside a pair", times(kStick, N / 2 + 1), times(kStick, N / 2 - 1)},
        {"would end inside a pair",
         QStringLiteral("ab") + times(kStick, N / 2) + QStringLiteral("c"),
         QStringLiteral("b") + times(kStick, N / 2 - 1)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QString shown = shownName(row.input);
        EXPECT_EQ(shown.size(), row.expected.size());
        EXPECT_TRUE(shown == row.expected);
    }
}

} // namespace
