#include "console/ConsoleText.h"

#include <array>

QString fieldTitle(EntryBox box) {
    static const std::array<const char*, kEntryBoxCount> kTitles{
        "Game clock",
        "Home score",
        "Visitor score",
        "Goal lamps",
        "Home shots",
        "Period",
        "Visitor shots",
        "Home penalty 1, player",
        "Home penalty 1, time",
        "Visitor penalty 1, player",
        "Visitor penalty 1, time",
        "Home penalty 2, player",
        "Home penalty 2, time",
        "Visitor penalty 2, player",
        "Visitor penalty 2, time",
    };
    const auto index = static_cast<std::size_t>(box);
    return index < kTitles.size() ? QString::fromLatin1(kTitles[index]) : QString();
}

namespace {

QString number(int value) {
    return value < 0 ? QStringLiteral("-") : QString::number(value);
}

} // namespace

QStringList gameEventsBetween(const BoardState& before, const BoardState& after) {
    const QString when = QStringLiteral("P%1 %2  ").arg(number(after.period), after.clock);
    const QString score = number(after.home) + QLatin1Char('-') + number(after.visitor);
    QStringList events;
    if (after.period > before.period && before.period >= 0)
        events << when + QStringLiteral("Period %1").arg(after.period);
    if (after.home > before.home && after.home > 0)
        events << when + QStringLiteral("Goal home, ") + score;
    if (after.visitor > before.visitor && after.visitor > 0)
        events << when + QStringLiteral("Goal visitor, ") + score;
    static const std::array<const char*, 4> kSlots{"home 1", "home 2", "visitor 1", "visitor 2"};
    for (std::size_t i = 0; i < after.penalties.size(); ++i) {
        const PenaltyState& was = before.penalties[i];
        const PenaltyState& now = after.penalties[i];
        // A slot that newly shows a time, or a new player with a time: a penalty put on.
        const bool put = !now.time.isEmpty() && now.player >= 0 &&
                         (was.time.isEmpty() || was.player != now.player);
        if (put)
            events << when + QStringLiteral("Penalty %1 %2 on slot %3")
                                 .arg(number(now.player), now.time, QLatin1String(kSlots[i]));
    }
    return events;
}
