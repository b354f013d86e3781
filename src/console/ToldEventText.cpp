#include "console/ToldEventText.h"

#include "penalties/PenaltyEntry.h"

#include <QRegularExpression>

using penalties::ToldEvent;

namespace {

QString teamLetter(penalties::Team team) {
    return team == penalties::Team::Home ? QStringLiteral("H") : QStringLiteral("V");
}

} // namespace

std::vector<GameMoment> momentsOf(const std::vector<ToldEvent>& events, long long resetTenths) {
    std::vector<GameMoment> out;
    int period = 1;
    long long start = 0;
    for (const ToldEvent& e : events) {
        out.push_back({period, resetTenths - (e.at - start)});
        if (e.kind == ToldEvent::Kind::PeriodEnd) {
            ++period;
            start = e.at;
        }
    }
    return out;
}

std::optional<long long> gameTimeAt(const std::vector<ToldEvent>& events, std::size_t index,
                                    long long clockTenths, long long resetTenths) {
    if (clockTenths < 0 || clockTenths > resetTenths || index >= events.size())
        return std::nullopt;
    // The event's period began where its clock read the reset value.
    const long long periodStart =
        events[index].at - (resetTenths - momentsOf(events, resetTenths)[index].clockTenths);
    return periodStart + (resetTenths - clockTenths);
}

QString clockReading(long long tenths) {
    if (tenths < 0)
        return QStringLiteral("-") + clockReading(-tenths);
    const long long seconds = tenths / 10;
    QString text =
        QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
    if (tenths % 10 != 0)
        text += QLatin1Char('.') + QString::number(tenths % 10);
    return text;
}

std::optional<long long> readClock(const QString& text) {
    static const QRegularExpression kReading(
        QStringLiteral("^\\s*(?:(\\d{1,3}):)?(\\d{1,2})(?:\\.(\\d))?\\s*$"));
    const QRegularExpressionMatch m = kReading.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const long long minutes = m.captured(1).isEmpty() ? 0 : m.captured(1).toLongLong();
    const long long seconds = m.captured(2).toLongLong();
    if (!m.captured(1).isEmpty() && seconds >= 60)
        return std::nullopt;
    return (minutes * 60 + seconds) * 10 +
           (m.captured(3).isEmpty() ? 0 : m.captured(3).toLongLong());
}

QString toldEventLine(const ToldEvent& event, const GameMoment& moment) {
    QString what;
    switch (event.kind) {
    case ToldEvent::Kind::Penalty:
    case ToldEvent::Kind::Signalled:
        what = QStringLiteral("%1 %2 %3 %4")
                   .arg(event.kind == ToldEvent::Kind::Penalty ? QStringLiteral("penalty")
                                                               : QStringLiteral("signalled"),
                        teamLetter(event.team), QString::number(event.player),
                        QString::fromLatin1(penalties::kindName(event.penalty)));
        if (event.servedBy >= 0)
            what += QStringLiteral(", served by %1").arg(event.servedBy);
        break;
    case ToldEvent::Kind::Whistle:
        what = QStringLiteral("signalled penalties given");
        break;
    case ToldEvent::Kind::Goal:
        what = QStringLiteral("goal %1").arg(teamLetter(event.team));
        if (event.penaltyShot)
            what += QStringLiteral(" (penalty shot)");
        break;
    case ToldEvent::Kind::PeriodEnd:
        what = QStringLiteral("end of period %1").arg(moment.period);
        break;
    }
    return QStringLiteral("P%1 %2  %3")
        .arg(moment.period)
        .arg(clockReading(moment.clockTenths), what);
}
