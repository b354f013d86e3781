#include "penalties/PenaltyBench.h"

#include "penalties/PenaltyEntry.h"

#include <algorithm>
#include <climits>

namespace penalties {

namespace {

std::string who(const ClockShown& c) {
    return std::to_string(c.player) + (c.substitute ? " (a team-mate serves)" : "");
}

} // namespace

std::string strengthLine(const PenaltyState& state) {
    const int home = state.skaters(Team::Home);
    const int visitor = state.skaters(Team::Guest);
    std::string line = std::to_string(home) + " on " + std::to_string(visitor);
    if (home == visitor)
        return line;
    // The power play lasts until the short team's first skater comes back.
    const Team shortTeam = home < visitor ? Team::Home : Team::Guest;
    int soonest = INT_MAX;
    for (const std::optional<ClockShown>& c : state.clocks(shortTeam))
        if (c)
            soonest = std::min(soonest, c->tenthsLeft);
    line += std::string(", PP ") + (shortTeam == Team::Home ? "V" : "H");
    if (soonest != INT_MAX)
        line += " " + clockText(soonest);
    return line;
}

std::vector<std::string> benchLines(const PenaltyAssistant& assistant, Team team) {
    const PenaltyState& state = assistant.state();
    std::vector<std::string> lines;
    const auto clocks = state.clocks(team);
    for (std::size_t i = 0; i < clocks.size(); ++i) {
        const std::string name = "Clock " + std::to_string(i + 1) + ": ";
        lines.push_back(clocks[i] ? name + who(*clocks[i]) + " " + kindName(clocks[i]->kind) + " " +
                                        clockText(clocks[i]->tenthsLeft)
                                  : name + "free");
    }
    for (const ClockShown& w : state.waiting(team))
        lines.push_back("Waits: " + who(w) + " " + kindName(w.kind) + " " +
                        clockText(w.tenthsLeft));
    for (const PlayerReturn& h : state.held(team))
        lines.push_back("Held: " + std::to_string(h.player) + (h.substitute ? " (team-mate)" : "") +
                        ", time up: leaves at the next stoppage or when a skater is due");
    for (const OffClockPenalty& c : state.coincident(team))
        lines.push_back(
            "Coincident: " + std::to_string(c.player) + ", " +
            (c.tenthsLeft > 0 ? clockText(c.tenthsLeft) + " left, then" : std::string("time up:")) +
            " leaves at the next stoppage");
    for (const OffClockPenalty& m : state.misconducts(team))
        lines.push_back("Misconduct: " + std::to_string(m.player) + ", " + clockText(m.tenthsLeft) +
                        " left");
    for (const Assessment& s : assistant.signalled())
        if (s.team == team)
            lines.push_back("Signalled: " + std::to_string(s.player) + " " + kindName(s.kind));
    for (int player : state.ejected(team))
        lines.push_back("Out of the game: " + std::to_string(player));
    const std::string mine = team == Team::Home ? "H " : "V ";
    for (const std::string& warning : assistant.warnings())
        if (warning.compare(0, mine.size(), mine) == 0)
            lines.push_back("Tell the referee: " + warning.substr(mine.size()));
    return lines;
}

} // namespace penalties
