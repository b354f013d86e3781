#include "journal/GameSheet.h"

#include "journal/BoardRecord.h"
#include "penalties/PenaltyJson.h"

#include <QDateTime>
#include <algorithm>
#include <map>

namespace {

struct OpenPenalty {
    SheetPenalty penalty;
    bool served = false; // some of it ran
    bool open = false;
    int order = 0; // penalties are listed in the order they were put on the board
};

SheetPeriod& periodOf(GameSheet& sheet, int period) {
    for (SheetPeriod& p : sheet.periods)
        if (p.period == period)
            return p;
    sheet.periods.push_back({period, 0, 0, 0, 0});
    return sheet.periods.back();
}

using Closed = std::vector<std::pair<int, SheetPenalty>>;

void closePenalty(Closed& closed, OpenPenalty& open, const BoardState& s) {
    if (!open.open)
        return;
    open.open = false;
    if (!open.served)
        return;
    open.penalty.endPeriod = std::max(s.period, 0);
    open.penalty.end = s.clock;
    closed.emplace_back(open.order, open.penalty);
}

} // namespace

QString sheetTime(std::int64_t tenths) {
    const std::int64_t seconds = tenths / 10;
    QString t =
        QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
    if (tenths % 10 != 0)
        t += QStringLiteral(".%1").arg(tenths % 10);
    return t;
}

GameSheet buildSheet(const GameSummary& game, const std::vector<JournalRow>& rows,
                     const penalties::PenaltyRules& rules) {
    GameSheet sheet;
    sheet.game = game;
    BoardState s;
    std::array<OpenPenalty, 4> open{};
    std::map<int, std::pair<int, int>> shotsAtEnd; // period -> cumulative shots
    std::vector<int> order;                        // periods as they came
    Closed closed;
    int opened = 0;
    bool first = true;

    for (const JournalRow& row : rows) {
        const BoardState prev = s;
        s = boardrecord::fromRecord(row.after, prev);
        if (first) {
            first = false;
            continue; // the board as the game began
        }
        const int period = std::max(s.period, 0);
        const bool tick = row.kind == JournalKind::Clock;

        // Goals: every step up is one goal; a step down takes back the latest.
        const int teams[2][2] = {{std::max(prev.home, 0), std::max(s.home, 0)},
                                 {std::max(prev.visitor, 0), std::max(s.visitor, 0)}};
        for (int t = 0; t < 2; ++t) {
            for (int n = teams[t][0]; n < teams[t][1]; ++n)
                sheet.goals.push_back({period, s.clock, t + 1, 0, 0});
            for (int n = teams[t][1]; n < teams[t][0]; ++n) {
                auto it = std::find_if(sheet.goals.rbegin(), sheet.goals.rend(),
                                       [t](const SheetGoal& g) { return g.team == t + 1; });
                if (it != sheet.goals.rend())
                    sheet.goals.erase(std::next(it).base());
            }
        }

        for (size_t i = 0; i < 4; ++i) {
            const PenaltyState& was = prev.penalties[i];
            const PenaltyState& is = s.penalties[i];
            OpenPenalty& o = open[i];
            if (tick) {
                if (o.open && is.tenths < was.tenths)
                    o.served = true;
                if (o.open && was.lit && !is.lit)
                    closePenalty(closed, o, s);
                continue;
            }
            // With the assistant on, it draws its penalties afresh at every start and stop of
            // the clock, a tenth or so off the board's own count: the same penalty goes on.
            const bool redrawn = !s.assistant.isEmpty() && o.open && is.player == was.player &&
                                 !is.time.isEmpty() && is.tenths > 0 && is.tenths <= was.tenths;
            if (redrawn) {
                o.served = o.served || is.tenths < was.tenths;
            } else if (is.tenths != was.tenths || is.time != was.time) {
                closePenalty(closed, o, prev);
                if (!is.time.isEmpty() && is.tenths > 0) {
                    o = {{i < 2 ? 1 : 2, is.player, is.tenths, period, s.clock, 0, {}},
                         false,
                         true,
                         opened++};
                }
            } else if (o.open && is.player != was.player) {
                o.penalty.player = is.player;
            }
        }

        if (std::find(order.begin(), order.end(), period) == order.end())
            order.push_back(period);
        SheetPeriod& p = periodOf(sheet, period);
        if (tick && prev.clockTenths > s.clockTenths) {
            if (p.playedTenths == 0)
                p.lengthTenths = s.resetTenths;
            p.playedTenths += prev.clockTenths - s.clockTenths;
        }
        shotsAtEnd[period] = {std::max(s.shotsHome, 0), std::max(s.shotsVisitor, 0)};
    }
    // Penalties still running when the journal ends.
    for (OpenPenalty& o : open) {
        if (o.open) {
            o.penalty.endPeriod = std::max(s.period, 0);
            closed.emplace_back(o.order, o.penalty);
        }
    }
    std::sort(closed.begin(), closed.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& c : closed)
        sheet.penalties.push_back(std::move(c.second));

    // Shots on the board count up over the game; a period's shots are the difference.
    std::pair<int, int> before{0, 0};
    for (int period : order) {
        const auto [h, v] = shotsAtEnd[period];
        SheetPeriod& p = periodOf(sheet, period);
        p.shotsHome = h - before.first;
        p.shotsVisitor = v - before.second;
        before = {h, v};
    }
    // A period in which nothing ran, nothing scored and no shot counted is left out.
    sheet.periods.erase(std::remove_if(sheet.periods.begin(), sheet.periods.end(),
                                       [&sheet](const SheetPeriod& p) {
                                           const bool goals =
                                               std::any_of(sheet.goals.begin(), sheet.goals.end(),
                                                           [&p](const SheetGoal& g) {
                                                               return g.period == p.period;
                                                           });
                                           return p.playedTenths == 0 && p.shotsHome == 0 &&
                                                  p.shotsVisitor == 0 && !goals;
                                       }),
                        sheet.periods.end());

    int h = 0;
    int v = 0;
    for (SheetGoal& g : sheet.goals) {
        (g.team == 1 ? h : v) += 1;
        g.home = h;
        g.visitor = v;
    }
    sheet.home = h;
    sheet.visitor = v;
    sheet.shotsHome = std::max(s.shotsHome, 0);
    sheet.shotsVisitor = std::max(s.shotsVisitor, 0);
    if (!s.assistant.isEmpty())
        sheet.assisted =
            penalties::penaltyHistory(rules, s.assistant.toStdString(), s.assistantTenths);
    return sheet;
}

namespace {

QString csvField(const QString& text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString csvLine(const QStringList& fields) {
    QStringList out;
    for (const QString& f : fields)
        out << csvField(f);
    return out.join(QLatin1Char(',')) + QLatin1Char('\n');
}

QString playerText(int player) {
    return player < 0 ? QString() : QString::number(player);
}

QString dateText(std::int64_t ms) {
    return ms <= 0
               ? QString()
               : QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("yyyy-MM-dd hh:mm"));
}

QString gameTime(const std::optional<long long>& tenths) {
    return tenths ? sheetTime(*tenths) : QString();
}

QString endText(penalties::PenaltyRecord::End end) {
    using End = penalties::PenaltyRecord::End;
    switch (end) {
    case End::Waiting:
        return QStringLiteral("waiting");
    case End::Running:
        return QStringLiteral("running");
    case End::Expired:
        return QStringLiteral("expired");
    case End::Goal:
        return QStringLiteral("goal");
    case End::OffClocks:
        break;
    }
    return QStringLiteral("off the clocks");
}

// One assisted penalty's columns after its team: player, kind, assessed, started, ended, why.
QStringList assistedFields(const penalties::PenaltyRecord& p) {
    return {QString::number(p.player), penaltyKindText(p.kind), sheetTime(p.assessed),
            gameTime(p.started),       gameTime(p.ended),       endText(p.end)};
}

const QStringList kAssistedHeader = {QStringLiteral("Team"),    QStringLiteral("Player"),
                                     QStringLiteral("Kind"),    QStringLiteral("Assessed"),
                                     QStringLiteral("Started"), QStringLiteral("Ended"),
                                     QStringLiteral("Reason")};

QString teamOf(const penalties::PenaltyRecord& p, const QString& home, const QString& visitor) {
    return p.team == penalties::Team::Home ? home : visitor;
}

} // namespace

QString sheetCsv(const GameSheet& sheet, const QString& homeName, const QString& visitorName) {
    auto team = [&](int t) -> QString { return t == 1 ? homeName : visitorName; };
    QString out;
    out += csvLine({QStringLiteral("Game"), QStringLiteral("Started"), QStringLiteral("Ended"),
                    homeName, visitorName});
    out += csvLine({QString::number(sheet.game.id), dateText(sheet.game.startedWallMs),
                    dateText(sheet.game.endedWallMs), QString::number(sheet.home),
                    QString::number(sheet.visitor)});
    out += QStringLiteral("\nGoals\n");
    out += csvLine({QStringLiteral("Period"), QStringLiteral("Clock"), QStringLiteral("Team"),
                    homeName, visitorName});
    for (const SheetGoal& g : sheet.goals)
        out += csvLine({QString::number(g.period), g.clock, team(g.team), QString::number(g.home),
                        QString::number(g.visitor)});
    out += QStringLiteral("\nPenalties\n");
    out += csvLine({QStringLiteral("Team"), QStringLiteral("Player"), QStringLiteral("Length"),
                    QStringLiteral("Period"), QStringLiteral("Start"), QStringLiteral("End period"),
                    QStringLiteral("End")});
    for (const SheetPenalty& p : sheet.penalties)
        out += csvLine({team(p.team), playerText(p.player), sheetTime(p.lengthTenths),
                        QString::number(p.period), p.start, QString::number(p.endPeriod), p.end});
    if (!sheet.assisted.empty()) {
        // Times here are the assistant's game time played since the game began.
        out += QStringLiteral("\nPenalty assistant\n");
        out += csvLine(kAssistedHeader);
        for (const penalties::PenaltyRecord& p : sheet.assisted)
            out += csvLine(QStringList{teamOf(p, homeName, visitorName)} + assistedFields(p));
    }
    out += QStringLiteral("\nShots\n");
    out += csvLine({QStringLiteral("Period"), homeName, visitorName});
    for (const SheetPeriod& p : sheet.periods)
        out += csvLine({QString::number(p.period), QString::number(p.shotsHome),
                        QString::number(p.shotsVisitor)});
    out += csvLine({QStringLiteral("Total"), QString::number(sheet.shotsHome),
                    QString::number(sheet.shotsVisitor)});
    out += QStringLiteral("\nPeriods\n");
    out += csvLine({QStringLiteral("Period"), QStringLiteral("Length"), QStringLiteral("Played")});
    for (const SheetPeriod& p : sheet.periods)
        out += csvLine(
            {QString::number(p.period), sheetTime(p.lengthTenths), sheetTime(p.playedTenths)});
    return out;
}

QString sheetHtml(const GameSheet& sheet, const QString& homeName, const QString& visitorName) {
    const QString home = homeName.toHtmlEscaped();
    const QString visitor = visitorName.toHtmlEscaped();
    auto team = [&](int t) -> QString { return t == 1 ? home : visitor; };
    auto cell = [](const QString& text) -> QString {
        return QStringLiteral("<td>") + text + QStringLiteral("</td>");
    };
    QString h;
    h += QStringLiteral(
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Game sheet</title>\n"
        "<style>\n"
        "body{font-family:'Liberation Sans',Arial,sans-serif;margin:2em;color:#000}\n"
        "h1{font-size:1.6em;margin:0 0 .2em;border-bottom:3px solid #000}\n"
        ".score{display:flex;gap:2em;align-items:baseline;font-size:1.4em;margin:.4em 0 1em}\n"
        ".score b{font-size:1.6em}\n"
        "h2{font-size:1.1em;margin:1.2em 0 .3em;text-transform:uppercase;letter-spacing:.05em}\n"
        "table{border-collapse:collapse;width:100%;margin-bottom:.5em}\n"
        "th,td{border:1px solid #000;padding:.25em .5em;text-align:center}\n"
        "th{background:#ddd}\n"
        ".meta{color:#333}\n"
        ".sign{display:flex;gap:3em;margin-top:3em}.sign div{flex:1;border-top:1px solid #000;"
        "padding-top:.2em}\n"
        "@media print{body{margin:1cm}th{background:#ddd;-webkit-print-color-adjust:exact}}\n"
        "</style></head><body>\n");
    h +=
        QStringLiteral("<h1>Game sheet</h1>\n<p class=\"meta\">Game %1 &middot; started %2%3</p>\n")
            .arg(sheet.game.id)
            .arg(dateText(sheet.game.startedWallMs))
            .arg(sheet.game.endedWallMs > 0
                     ? QStringLiteral(" &middot; ended ") + dateText(sheet.game.endedWallMs)
                     : QString());
    h += QStringLiteral("<div class=\"score\"><span>%1 <b>%2</b></span><span>%3 <b>%4</b></span>"
                        "</div>\n")
             .arg(home)
             .arg(sheet.home)
             .arg(visitor)
             .arg(sheet.visitor);

    h += QStringLiteral("<h2>Goals</h2>\n<table><tr><th>Period</th><th>Clock</th><th>Team</th>"
                        "<th>Score</th></tr>\n");
    for (const SheetGoal& g : sheet.goals)
        h += QStringLiteral("<tr>") + cell(QString::number(g.period)) + cell(g.clock) +
             cell(team(g.team)) + cell(QStringLiteral("%1 &ndash; %2").arg(g.home).arg(g.visitor)) +
             QStringLiteral("</tr>\n");
    h += QStringLiteral("</table>\n");

    h += QStringLiteral("<h2>Penalties</h2>\n<table><tr><th>Team</th><th>Player</th>"
                        "<th>Length</th><th>Period</th><th>Start</th><th>End</th></tr>\n");
    for (const SheetPenalty& p : sheet.penalties)
        h += QStringLiteral("<tr>") + cell(team(p.team)) + cell(playerText(p.player)) +
             cell(sheetTime(p.lengthTenths)) + cell(QString::number(p.period)) + cell(p.start) +
             cell(p.end.isEmpty() ? QStringLiteral("running")
                                  : QStringLiteral("%1 (period %2)").arg(p.end).arg(p.endPeriod)) +
             QStringLiteral("</tr>\n");
    h += QStringLiteral("</table>\n");

    if (!sheet.assisted.empty()) {
        h += QStringLiteral("<h2>Penalty assistant</h2>\n<table><tr>");
        for (const QString& title : kAssistedHeader)
            h += QStringLiteral("<th>") + title + QStringLiteral("</th>");
        h += QStringLiteral("</tr>\n");
        for (const penalties::PenaltyRecord& p : sheet.assisted) {
            h += QStringLiteral("<tr>") + cell(teamOf(p, home, visitor));
            for (const QString& field : assistedFields(p))
                h += cell(field.toHtmlEscaped());
            h += QStringLiteral("</tr>\n");
        }
        h += QStringLiteral("</table>\n");
    }

    h += QStringLiteral("<h2>Shots on goal</h2>\n<table><tr><th>Period</th><th>%1</th><th>%2</th>"
                        "</tr>\n")
             .arg(home, visitor);
    for (const SheetPeriod& p : sheet.periods)
        h += QStringLiteral("<tr>") + cell(QString::number(p.period)) +
             cell(QString::number(p.shotsHome)) + cell(QString::number(p.shotsVisitor)) +
             QStringLiteral("</tr>\n");
    h += QStringLiteral("<tr><th>Total</th>") + cell(QString::number(sheet.shotsHome)) +
         cell(QString::number(sheet.shotsVisitor)) + QStringLiteral("</tr>\n</table>\n");

    h += QStringLiteral("<h2>Periods</h2>\n<table><tr><th>Period</th><th>Length</th>"
                        "<th>Played</th></tr>\n");
    for (const SheetPeriod& p : sheet.periods)
        h += QStringLiteral("<tr>") + cell(QString::number(p.period)) +
             cell(sheetTime(p.lengthTenths)) + cell(sheetTime(p.playedTenths)) +
             QStringLiteral("</tr>\n");
    h += QStringLiteral("</table>\n");
    h += QStringLiteral("<div class=\"sign\"><div>Timekeeper</div><div>Referee</div></div>\n"
                        "</body></html>\n");
    return h;
}
