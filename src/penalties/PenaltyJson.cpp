#include "penalties/PenaltyJson.h"

#include "penalties/PenaltySettings.h"

#include <QJsonArray>

#include <algorithm>

using namespace penalties;

namespace {

// The board's penalty clocks have three digits: 9:59 is the most they show.
constexpr int kBoardClockMaxTenths = 5990;

QJsonObject teamJson(const PenaltyState& state, Team team) {
    QJsonArray clocks;
    for (const std::optional<ClockShown>& clock : state.clocks(team))
        if (clock)
            clocks.append(
                QJsonObject{{QStringLiteral("player"), clock->player},
                            {QStringLiteral("kind"), penaltyKindText(clock->kind)},
                            {QStringLiteral("left"),
                             penaltyTimeText(std::min(clock->tenthsLeft, kBoardClockMaxTenths))}});
    QJsonArray waiting;
    for (const ClockShown& next : state.waiting(team))
        waiting.append(QJsonObject{{QStringLiteral("player"), next.player},
                                   {QStringLiteral("kind"), penaltyKindText(next.kind)}});
    const auto offClock = [](const std::vector<OffClockPenalty>& list) {
        QJsonArray out;
        for (const OffClockPenalty& off : list)
            out.append(QJsonObject{{QStringLiteral("player"), off.player},
                                   {QStringLiteral("left"), penaltyTimeText(off.tenthsLeft)}});
        return out;
    };
    QJsonArray held;
    for (const PlayerReturn& player : state.held(team))
        held.append(QJsonObject{{QStringLiteral("player"), player.player}});
    return QJsonObject{{QStringLiteral("strength"), state.skaters(team)},
                       {QStringLiteral("clocks"), clocks},
                       {QStringLiteral("waiting"), waiting},
                       {QStringLiteral("misconducts"), offClock(state.misconducts(team))},
                       {QStringLiteral("coincident"), offClock(state.coincident(team))},
                       {QStringLiteral("held"), held}};
}

// The game time until either team's skaters change with the clock running and no goal: a
// clock that frees while a penalty waits for it changes nothing.
int tenthsUntilStrengthChanges(PenaltyState state) {
    const int home = state.skaters(Team::Home);
    const int guest = state.skaters(Team::Guest);
    int total = 0;
    while (state.skaters(Team::Home) == home && state.skaters(Team::Guest) == guest) {
        int step = 0;
        for (Team team : {Team::Home, Team::Guest})
            for (const std::optional<ClockShown>& clock : state.clocks(team))
                if (clock && (step == 0 || clock->tenthsLeft < step))
                    step = clock->tenthsLeft;
        if (step <= 0)
            break; // nothing runs: the strength never changes by itself
        state.apply(PenaltyEvent::advance(step));
        total += step;
    }
    return total;
}

} // namespace

QString penaltyKindText(PenaltyKind kind) {
    switch (kind) {
    case PenaltyKind::Minor:
        return QStringLiteral("minor");
    case PenaltyKind::DoubleMinor:
        return QStringLiteral("doubleMinor");
    case PenaltyKind::Major:
        return QStringLiteral("major");
    case PenaltyKind::MajorPlusMinor:
        return QStringLiteral("majorMinor");
    case PenaltyKind::MinorPlusMisconduct:
        return QStringLiteral("minorMisconduct");
    case PenaltyKind::Misconduct:
        return QStringLiteral("misconduct");
    case PenaltyKind::GameMisconduct:
        return QStringLiteral("gameMisconduct");
    case PenaltyKind::Match:
        return QStringLiteral("match");
    }
    return QString();
}

QString penaltyTimeText(int tenths) {
    const qint64 seconds = (std::max<qint64>(tenths, 0) + 9) / 10;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QJsonObject assistantJson(const PenaltyState& state, RuleBook book) {
    return QJsonObject{{QStringLiteral("rules"), ruleBookText(book)},
                       {QStringLiteral("home"), teamJson(state, Team::Home)},
                       {QStringLiteral("visitor"), teamJson(state, Team::Guest)}};
}

QString strengthText(const PenaltyState& state, Team team) {
    const int own = state.skaters(team);
    const int theirs = state.skaters(opponent(team));
    if (own <= theirs)
        return QString();
    return QStringLiteral("PP %1v%2 %3")
        .arg(own)
        .arg(theirs)
        .arg(penaltyTimeText(tenthsUntilStrengthChanges(state)));
}
