#include "penalties/PenaltyAssistant.h"

#include <algorithm>
#include <climits>
#include <sstream>
#include <utility>

namespace penalties {

namespace {

const char* teamLetter(Team team) {
    return team == Team::Home ? "H" : "V";
}

constexpr const char* kSaveTag = "penalties1";

std::optional<Team> teamOfLetter(const std::string& letter) {
    if (letter == "H")
        return Team::Home;
    if (letter == "V")
        return Team::Guest;
    return std::nullopt;
}

} // namespace

PenaltyAssistant::PenaltyAssistant(PenaltyRules rules)
    : rules_(rules), state_(rules), saved_(written()) {}

void PenaltyAssistant::setRules(const PenaltyRules& rules) {
    rules_ = rules;
    rebuild();
}

void PenaltyAssistant::advance(int tenths) {
    if (tenths <= 0)
        return;
    state_.apply(PenaltyEvent::advance(tenths));
    elapsed_ += tenths;
}

long long PenaltyAssistant::giveBack(long long tenths) {
    const long long floor = actions_.empty() ? 0 : actions_.back().at;
    const long long given = std::clamp<long long>(tenths, 0, elapsed_ - floor);
    if (given == 0)
        return 0;
    elapsed_ -= given;
    undone_.erase(std::remove_if(undone_.begin(), undone_.end(),
                                 [this](const Action& a) { return a.at > elapsed_; }),
                  undone_.end());
    // The clock stood at the time it is set back to: a stoppage later than that is moved there.
    stoppages_.erase(std::remove_if(stoppages_.begin(), stoppages_.end(),
                                    [this](long long at) { return at > elapsed_; }),
                     stoppages_.end());
    if (stoppages_.empty() || stoppages_.back() != elapsed_)
        stoppages_.push_back(elapsed_);
    rebuild();
    return given;
}

void PenaltyAssistant::stoppage() {
    if (!stoppages_.empty() && stoppages_.back() == elapsed_)
        return;
    stoppages_.push_back(elapsed_);
    state_.apply(PenaltyEvent::stoppage());
    saved_ = written();
}

bool PenaltyAssistant::goal(Team scorer, bool penaltyShot) {
    Action a;
    a.type = PenaltyEvent::Type::Goal;
    a.scorer = scorer;
    a.penaltyShot = penaltyShot;
    return add(a);
}

bool PenaltyAssistant::periodEnd() {
    Action a;
    a.type = PenaltyEvent::Type::PeriodEnd;
    return add(a);
}

bool PenaltyAssistant::assess(const Assessment& given) {
    Action a;
    a.type = PenaltyEvent::Type::Assess;
    a.penalty = given;
    return add(a);
}

bool PenaltyAssistant::assessLate(const Assessment& given, long long at) {
    if (!validAssessment(given))
        return false;
    Action a;
    a.type = PenaltyEvent::Type::Assess;
    a.penalty = given;
    a.at = std::clamp<long long>(at, 0, elapsed_);
    // After every event told at the stoppage, so it joins the penalties given there.
    std::vector<Action> actions = actions_;
    const auto after = std::upper_bound(actions.begin(), actions.end(), a.at,
                                        [](long long t, const Action& x) { return t < x.at; });
    actions.insert(after, a);
    return replaceActions(std::move(actions));
}

bool PenaltyAssistant::takeBackGoal(Team scorer) {
    const auto goal = std::find_if(actions_.rbegin(), actions_.rend(), [scorer](const Action& a) {
        return a.type == PenaltyEvent::Type::Goal && a.scorer == scorer;
    });
    if (goal == actions_.rend())
        return false;
    return remove(static_cast<std::size_t>(std::distance(goal, actions_.rend()) - 1));
}

bool PenaltyAssistant::signal(const Assessment& given) {
    if (!validAssessment(given))
        return false;
    Action a;
    a.type = PenaltyEvent::Type::Assess;
    a.penalty = given;
    a.signalled = true;
    return add(a);
}

bool PenaltyAssistant::whistle() {
    if (signalled().empty())
        return false;
    Action a;
    a.type = PenaltyEvent::Type::Assess;
    a.whistle = true;
    return add(a);
}

std::vector<Assessment> PenaltyAssistant::signalled() const {
    std::vector<Assessment> waiting;
    signalsOf(actions_, waiting);
    return waiting;
}

// The signalled penalties still waiting after the actions; false when a whistle among them
// found none to give.
bool PenaltyAssistant::signalsOf(const std::vector<Action>& actions,
                                 std::vector<Assessment>& waiting) {
    waiting.clear();
    bool eachGave = true;
    for (const Action& a : actions) {
        if (a.signalled) {
            waiting.push_back(a.penalty);
        } else if (a.whistle) {
            eachGave = eachGave && !waiting.empty();
            waiting.clear();
        } else if (a.type == PenaltyEvent::Type::Goal) {
            waiting.erase(std::remove_if(waiting.begin(), waiting.end(),
                                         [&a](const Assessment& s) { return s.team != a.scorer; }),
                          waiting.end());
        }
    }
    return eachGave;
}

bool PenaltyAssistant::add(const Action& action) {
    Action a = action;
    a.at = elapsed_;
    if (a.type == PenaltyEvent::Type::Assess && !a.whistle && !validAssessment(a.penalty))
        return false;
    // Signalled penalties change the events around them: the game is played again.
    if (joinsStoppage(a) || a.signalled || a.whistle ||
        (a.type == PenaltyEvent::Type::Goal && !signalled().empty())) {
        // Penalties of one stoppage are one event to the engine, so the stoppage is
        // assessed again with the new penalty among the others.
        actions_.push_back(a);
        rebuild();
    } else {
        PenaltyState next = state_;
        PenaltyEvent event = PenaltyEvent::periodEnd();
        if (a.type == PenaltyEvent::Type::Assess)
            event = PenaltyEvent::assess({a.penalty});
        else if (a.type == PenaltyEvent::Type::Goal)
            event = PenaltyEvent::goal(a.scorer, a.penaltyShot, {}, a.firstToReturn);
        if (!next.apply(event))
            return false;
        actions_.push_back(a);
        state_ = std::move(next);
        saved_ = written();
    }
    undone_.clear();
    return true;
}

bool PenaltyAssistant::joinsStoppage(const Action& action) const {
    return action.type == PenaltyEvent::Type::Assess && !actions_.empty() &&
           actions_.back().type == PenaltyEvent::Type::Assess && !actions_.back().signalled &&
           actions_.back().at == action.at;
}

bool PenaltyAssistant::markLastGoalPenaltyShot() {
    for (auto a = actions_.rbegin(); a != actions_.rend(); ++a) {
        if (a->type != PenaltyEvent::Type::Goal)
            continue;
        if (a->penaltyShot)
            return false;
        a->penaltyShot = true;
        rebuild();
        return true;
    }
    return false;
}

bool PenaltyAssistant::chooseReturnOnLastGoal(int player) {
    for (auto a = actions_.rbegin(); a != actions_.rend(); ++a) {
        if (a->type != PenaltyEvent::Type::Goal)
            continue;
        a->firstToReturn = player;
        rebuild();
        return true;
    }
    return false;
}

bool PenaltyAssistant::undo() {
    if (actions_.empty())
        return false;
    undone_.push_back(actions_.back());
    actions_.pop_back();
    rebuild();
    return true;
}

bool PenaltyAssistant::redo() {
    if (undone_.empty())
        return false;
    actions_.push_back(undone_.back());
    undone_.pop_back();
    rebuild();
    return true;
}

// One action as the operator told it.
ToldEvent PenaltyAssistant::toldOf(const Action& a) {
    ToldEvent e;
    e.at = a.at;
    if (a.whistle) {
        e.kind = ToldEvent::Kind::Whistle;
    } else if (a.type == PenaltyEvent::Type::Assess) {
        e.kind = a.signalled ? ToldEvent::Kind::Signalled : ToldEvent::Kind::Penalty;
        e.team = a.penalty.team;
        e.player = a.penalty.player;
        e.penalty = a.penalty.kind;
        e.servedBy = a.penalty.servedBy;
    } else if (a.type == PenaltyEvent::Type::Goal) {
        e.kind = ToldEvent::Kind::Goal;
        e.team = a.scorer;
        e.penaltyShot = a.penaltyShot;
    } else {
        e.kind = ToldEvent::Kind::PeriodEnd;
    }
    return e;
}

std::vector<ToldEvent> PenaltyAssistant::told() const {
    std::vector<ToldEvent> list;
    list.reserve(actions_.size());
    for (const Action& a : actions_)
        list.push_back(toldOf(a));
    return list;
}

bool PenaltyAssistant::correct(std::size_t index, const ToldEvent& corrected) {
    if (index >= actions_.size() || toldOf(actions_[index]).kind != corrected.kind ||
        corrected.at < 0 || corrected.at > elapsed_)
        return false;
    std::vector<Action> actions = actions_;
    Action& a = actions[index];
    a.at = corrected.at;
    if (corrected.kind == ToldEvent::Kind::Penalty ||
        corrected.kind == ToldEvent::Kind::Signalled) {
        a.penalty = {corrected.team, corrected.player, corrected.penalty, corrected.servedBy};
        if (!validAssessment(a.penalty))
            return false;
    } else if (corrected.kind == ToldEvent::Kind::Goal) {
        a.scorer = corrected.team;
        a.penaltyShot = corrected.penaltyShot;
    }
    // A moved event goes among the others by game time; those told at one game time keep
    // their order, so a stoppage's penalties keep the order they are served in. At its new
    // game time the moved event keeps its place as told: before the events there when moved
    // later, after them when moved earlier.
    std::stable_sort(actions.begin(), actions.end(),
                     [](const Action& x, const Action& y) { return x.at < y.at; });
    return replaceActions(std::move(actions));
}

bool PenaltyAssistant::remove(std::size_t index) {
    if (index >= actions_.size())
        return false;
    std::vector<Action> actions = actions_;
    actions.erase(actions.begin() + static_cast<std::ptrdiff_t>(index));
    return replaceActions(std::move(actions));
}

// The game played again from other events, kept only when the engine takes every one.
bool PenaltyAssistant::replaceActions(std::vector<Action> actions) {
    std::vector<Assessment> waiting;
    if (!signalsOf(actions, waiting))
        return false;
    PenaltyState next(rules_);
    for (const PenaltyEvent& event : eventsOf(actions, stoppages_, elapsed_))
        if (!next.apply(event))
            return false;
    actions_ = std::move(actions);
    undone_.clear();
    state_ = std::move(next);
    saved_ = written();
    return true;
}

std::vector<PenaltyEvent> PenaltyAssistant::events() const {
    return eventsOf(actions_, stoppages_, elapsed_);
}

std::vector<PenaltyEvent> PenaltyAssistant::eventsOf(const std::vector<Action>& actions,
                                                     const std::vector<long long>& stoppages,
                                                     long long elapsed) {
    std::vector<PenaltyEvent> out;
    long long told = 0;
    auto stop = stoppages.begin();
    const auto runSpan = [&out, &told](long long at) {
        while (at > told) {
            const long long step = std::min<long long>(at - told, INT_MAX);
            out.push_back(PenaltyEvent::advance(static_cast<int>(step)));
            told += step;
        }
    };
    // Plain stoppages go in by game time, before what was told at the same moment.
    auto runTo = [&](long long at) {
        for (; stop != stoppages.end() && *stop <= at; ++stop) {
            runSpan(*stop);
            out.push_back(PenaltyEvent::stoppage());
        }
        runSpan(at);
    };
    std::vector<Assessment> signalled; // waiting for the stoppage or a goal
    const auto giveAt = [&out](std::vector<Assessment> given) {
        if (given.empty())
            return;
        if (!out.empty() && out.back().type == PenaltyEvent::Type::Assess)
            out.back().penalties.insert(out.back().penalties.end(), given.begin(), given.end());
        else
            out.push_back(PenaltyEvent::assess(std::move(given)));
    };
    for (const Action& a : actions) {
        runTo(a.at);
        switch (a.type) {
        case PenaltyEvent::Type::Assess:
            if (a.signalled)
                signalled.push_back(a.penalty);
            else if (a.whistle)
                giveAt(std::exchange(signalled, {}));
            else
                giveAt({a.penalty});
            break;
        case PenaltyEvent::Type::Goal: {
            // The goal takes with it what was signalled against the team scored on.
            std::vector<Assessment> against;
            for (auto s = signalled.begin(); s != signalled.end();) {
                if (s->team != a.scorer) {
                    against.push_back(*s);
                    s = signalled.erase(s);
                } else {
                    ++s;
                }
            }
            out.push_back(PenaltyEvent::goal(a.scorer, a.penaltyShot, against, a.firstToReturn));
            break;
        }
        default:
            out.push_back(PenaltyEvent::periodEnd());
            break;
        }
    }
    runTo(elapsed);
    return out;
}

void PenaltyAssistant::rebuild() {
    state_ = replay(rules_, events());
    saved_ = written();
}

// "penalties1;A H 7 0 -1 @120;G V 0 @300;E @12000": a penalty (team, player, kind,
// substitute; "S" for one signalled, "W" when the signalled ones were given), a goal (scorer,
// penalty shot, and the player the captain chose to return when one was chosen) or a period's end,
// each with its game time; before them "P @t" for each plain stoppage of play.
std::string PenaltyAssistant::written() const {
    std::ostringstream out;
    out << kSaveTag;
    for (long long at : stoppages_)
        out << ";P @" << at;
    for (const Action& a : actions_) {
        out << ';';
        if (a.whistle)
            out << 'W';
        else if (a.type == PenaltyEvent::Type::Assess)
            out << (a.signalled ? "S " : "A ") << teamLetter(a.penalty.team) << ' '
                << a.penalty.player << ' ' << static_cast<int>(a.penalty.kind) << ' '
                << a.penalty.servedBy;
        else if (a.type == PenaltyEvent::Type::Goal)
            out << "G " << teamLetter(a.scorer) << ' ' << (a.penaltyShot ? 1 : 0);
        else
            out << 'E';
        if (a.type == PenaltyEvent::Type::Goal && a.firstToReturn >= 0)
            out << ' ' << a.firstToReturn;
        out << " @" << a.at;
    }
    return out.str();
}

bool PenaltyAssistant::load(const std::string& text, long long elapsed) {
    std::istringstream in(text);
    std::string item;
    if (!std::getline(in, item, ';') || item != kSaveTag || elapsed < 0)
        return false;
    std::vector<Action> actions;
    std::vector<long long> stoppages;
    while (std::getline(in, item, ';')) {
        std::istringstream fields(item);
        std::string type, team, at;
        Action a;
        fields >> type;
        if (type == "P") {
            a.type = PenaltyEvent::Type::Stoppage;
        } else if (type == "W") {
            a.type = PenaltyEvent::Type::Assess;
            a.whistle = true;
        } else if (type == "A" || type == "S") {
            int kind = -1;
            a.type = PenaltyEvent::Type::Assess;
            a.signalled = type == "S";
            fields >> team >> a.penalty.player >> kind >> a.penalty.servedBy;
            a.penalty.kind = static_cast<PenaltyKind>(kind);
            const std::optional<Team> side = teamOfLetter(team);
            if (!side || kind < 0 || kind > static_cast<int>(PenaltyKind::Match))
                return false;
            a.penalty.team = *side;
            if (!validAssessment(a.penalty))
                return false;
        } else if (type == "G") {
            int shot = -1;
            a.type = PenaltyEvent::Type::Goal;
            fields >> team >> shot;
            const std::optional<Team> side = teamOfLetter(team);
            if (!side || (shot != 0 && shot != 1))
                return false;
            a.scorer = *side;
            a.penaltyShot = shot == 1;
            // The captain's choice of who returns, when one was made, before the time.
            if (fields >> std::ws && fields.peek() != '@') {
                fields >> a.firstToReturn;
                if (fields.fail() || a.firstToReturn < 0 || a.firstToReturn > 99)
                    return false;
            }
        } else if (type == "E") {
            a.type = PenaltyEvent::Type::PeriodEnd;
        } else {
            return false;
        }
        fields >> at;
        if (fields.fail() || at.size() < 2 || at[0] != '@' ||
            at.find_first_not_of("0123456789", 1) != std::string::npos || at.size() > 12)
            return false;
        a.at = std::stoll(at.substr(1));
        if (a.type == PenaltyEvent::Type::Stoppage) {
            if (!actions.empty() || (!stoppages.empty() && a.at <= stoppages.back()) ||
                a.at > elapsed)
                return false;
            stoppages.push_back(a.at);
            continue;
        }
        const long long before = actions.empty() ? 0 : actions.back().at;
        if (a.at < before || a.at > elapsed)
            return false;
        actions.push_back(a);
    }
    actions_ = std::move(actions);
    stoppages_ = std::move(stoppages);
    undone_.clear();
    elapsed_ = elapsed;
    rebuild();
    return true;
}

std::array<std::optional<ClockShown>, 4> PenaltyAssistant::boardClocks() const {
    const auto home = state_.clocks(Team::Home);
    const auto guest = state_.clocks(Team::Guest);
    return {home[0], home[1], guest[0], guest[1]};
}

// Every running time is shown in whole seconds rounded up: the penalty clocks as the board
// draws them, misconducts in summary(). So each shows a change where it crosses a whole second,
// and a penalty or a part of one ends on one too, which frees a clock for a waiting penalty and
// changes the strength. Counting every running time, off the clocks too, is at worst early.
int PenaltyAssistant::tenthsToNextChange(int limit) const {
    int next = std::max(1, limit);
    const auto crossing = [&next](int left) {
        if (left > 0)
            next = std::min(next, (left - 1) % 10 + 1);
    };
    for (Team team : {Team::Home, Team::Guest}) {
        for (const TimePenalty& penalty : state_.timePenalties(team)) {
            if (penalty.slot < 0)
                continue;
            crossing(penalty.tenthsLeft());
            crossing(penalty.parts.front().tenthsLeft);
        }
        for (const OffClockPenalty& off : state_.offClock(team))
            crossing(off.tenthsLeft);
    }
    return next;
}

std::vector<std::string> PenaltyAssistant::warnings() const {
    struct Count {
        Team team;
        int player;
        int majors = 0;
        int misconducts = 0;
    };
    std::vector<Count> counts;
    std::vector<std::string> lines;
    const auto ordinal = [](int n) {
        return std::to_string(n) + (n == 1 ? "st" : n == 2 ? "nd" : n == 3 ? "rd" : "th");
    };
    for (const Action& a : actions_) {
        if (a.type != PenaltyEvent::Type::Assess || a.whistle)
            continue;
        const PenaltyKind kind = a.penalty.kind;
        const bool major = kind == PenaltyKind::Major || kind == PenaltyKind::MajorPlusMinor;
        const bool misconduct =
            kind == PenaltyKind::Misconduct || kind == PenaltyKind::MinorPlusMisconduct;
        if (!major && !misconduct)
            continue;
        auto count = std::find_if(counts.begin(), counts.end(), [&a](const Count& c) {
            return c.team == a.penalty.team && c.player == a.penalty.player;
        });
        if (count == counts.end())
            count = counts.insert(counts.end(), Count{a.penalty.team, a.penalty.player});
        const std::string who =
            std::string(teamLetter(a.penalty.team)) + " " + std::to_string(a.penalty.player) + ": ";
        if (major && ++count->majors == majorsForGameMisconduct(rules_.book))
            lines.push_back(who + ordinal(count->majors) + " major, game misconduct");
        if (misconduct && ++count->misconducts == misconductsForGameMisconduct(rules_.book))
            lines.push_back(who + ordinal(count->misconducts) + " misconduct, game misconduct");
    }
    return lines;
}

std::string PenaltyAssistant::summary() const {
    std::string text = std::string("H ") + std::to_string(state_.skaters(Team::Home)) + " on " +
                       std::to_string(state_.skaters(Team::Guest)) + " V";
    for (Team team : {Team::Home, Team::Guest}) {
        const std::vector<ClockShown> waiting = state_.waiting(team);
        if (!waiting.empty()) {
            text += std::string("; ") + teamLetter(team) + " waits";
            for (const ClockShown& w : waiting)
                text += " " + std::to_string(w.player) + " (" + clockText(w.tenthsLeft) + ")";
        }
        for (const PlayerReturn& h : state_.held(team))
            text += std::string("; ") + teamLetter(team) + " held " + std::to_string(h.player);
        for (const Assessment& s : signalled())
            if (s.team == team)
                text +=
                    std::string("; ") + teamLetter(team) + " signalled " + std::to_string(s.player);
        for (const OffClockPenalty& m : state_.misconducts(team))
            text += std::string("; ") + teamLetter(team) + " misconduct " +
                    std::to_string(m.player) + " (" + clockText(m.tenthsLeft) + ")";
    }
    for (const std::string& warning : warnings())
        text += "; " + warning;
    return text;
}

std::string clockText(int tenths) {
    const int seconds = (std::max(0, tenths) + 9) / 10;
    const int rest = seconds % 60;
    return std::to_string(seconds / 60) + (rest < 10 ? ":0" : ":") + std::to_string(rest);
}

} // namespace penalties
