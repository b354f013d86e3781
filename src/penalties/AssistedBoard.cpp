#include "penalties/AssistedBoard.h"

#include "game/BoardState.h"
#include "game/ScoreBoardLogic.h"
#include "platform/VirtualKeys.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace penalties {

namespace {

constexpr int kGameCounter = 0;

// A score raised by exactly one is a goal; a blank score counts as none.
bool scored(int before, int now) {
    return now > 0 && now == std::max(before, 0) + 1;
}

} // namespace

AssistedBoard::AssistedBoard(ScoreBoardLogic& logic, BoardView& view, PenaltyRules rules)
    : logic_(logic), view_(view), assistant_(rules) {
    lastTenths_ = gameTenths();
    clockRan_ = clockRuns();
    readBoard();
    draw();
    logic_.setStateKeeper(this);
}

AssistedBoard::~AssistedBoard() {
    logic_.setStateKeeper(nullptr);
}

void AssistedBoard::saveTo(BoardState& state) const {
    // Read on every tick: the text is converted only when the penalty game changed.
    if (assistant_.save() != savedText_) {
        savedText_ = assistant_.save();
        savedQText_ = QString::fromStdString(savedText_);
    }
    state.assistant = savedQText_;
    state.assistantTenths = assistant_.elapsed();
}

// A state from before the assistant was on (the board as it loaded, a game played without
// it) carries an empty penalty game.
void AssistedBoard::loadFrom(const BoardState& state) {
    // The clock put back with the rest is no correction of the game time.
    lastTenths_ = gameTenths();
    const std::string text =
        state.assistant.isEmpty() ? PenaltyAssistant().save() : state.assistant.toStdString();
    if (text == assistant_.save() && state.assistantTenths == assistant_.elapsed())
        return;
    if (!assistant_.load(text, state.assistantTenths))
        return;
    stoppage_ = std::min(stoppage_, assistant_.elapsed());
    readBoard();
    draw();
}

void AssistedBoard::readBoard() {
    // A blank score keeps the last number shown (see settle()).
    const int home = modShowDigits::ReadNumber(view_.field(FieldId::Home));
    const int visitor = modShowDigits::ReadNumber(view_.field(FieldId::Visitor));
    if (home >= 0 || lastHome_ < 0)
        lastHome_ = home;
    if (visitor >= 0 || lastVisitor_ < 0)
        lastVisitor_ = visitor;
    lastPeriod_ = modShowDigits::ReadNumber(view_.field(FieldId::Period));
}

long long AssistedBoard::gameTenths() {
    return logic_.counters().ReadCounter(kGameCounter).raw() / GameTime::kPerTenth;
}

bool AssistedBoard::clockRuns() {
    return logic_.counters().counterState(kGameCounter).CounterRunningFlag;
}

void AssistedBoard::tell(const std::string& text) const {
    if (tell_)
        tell_(text);
}

// Scores and period changed since the last key by anything but a key (the journal putting
// back an earlier board) are no goals: only a key's own change counts.
void AssistedBoard::catchUp(bool boardFunction) {
    boardFunction_ = boardFunction;
    runTime();
    readBoard();
    keyPending_ = true;
    slotsBefore_ = logic_.state().penalties;
}

void AssistedBoard::followTypedSlots() {
    const std::array<::PenaltyState, 4> now = logic_.state().penalties;
    for (std::size_t i = 0; i < now.size(); ++i) {
        const ::PenaltyState& was = slotsBefore_[i];
        if (now[i].player == was.player && now[i].time == was.time)
            continue;
        const bool timeTyped = now[i].player == was.player && !now[i].time.isEmpty();
        if (timeTyped && retime(i, now[i].tenths))
            continue;
        tell(std::string("Penalty assistant: slot ") + std::to_string(i + 1) +
             (timeTyped ? " time not taken: no penalty given then shows it"
                        : " not taken: the slots show what the assistant decides") +
             "; change or delete a penalty in the console, give one with Ctrl+P");
    }
}

// The penalty on `slot` shows `tenthsLeft` when given that much later (earlier): its told time
// is moved so, the latest of the player's penalties first, and kept only where the slot then
// shows the time typed.
bool AssistedBoard::retime(std::size_t slot, long long tenthsLeft) {
    const std::optional<ClockShown> shown = assistant_.boardClocks()[slot];
    if (!shown)
        return false;
    const Team team = slot < 2 ? Team::Home : Team::Guest;
    const std::vector<ToldEvent> told = assistant_.told();
    const std::string before = assistant_.save();
    const long long elapsed = assistant_.elapsed();
    for (std::size_t i = told.size(); i-- > 0;) {
        const ToldEvent& e = told[i];
        if (e.kind != ToldEvent::Kind::Penalty || e.team != team || e.player != shown->player)
            continue;
        ToldEvent moved = e;
        moved.at = e.at + tenthsLeft - shown->tenthsLeft;
        if (!assistant_.correct(i, moved))
            continue;
        const std::optional<ClockShown> now = assistant_.boardClocks()[slot];
        if (now && now->player == shown->player && now->tenthsLeft == tenthsLeft)
            return true;
        assistant_.load(before, elapsed);
    }
    return false;
}

// A running game clock tells game time. Moved while it stands, it is corrected within the
// period or set for a new one (see the class comment).
void AssistedBoard::runTime() {
    const long long now = gameTenths();
    if (clockRan_) {
        if (now < lastTenths_)
            assistant_.advance(static_cast<int>(std::min<long long>(lastTenths_ - now, 1'000'000)));
        else if (now > lastTenths_) // set anew from a run-out or running clock
            periodRuns_ = false;
    } else if (now != lastTenths_) {
        if (periodRuns_ && !boardFunction_ && lastTenths_ > 0 && !clockRuns())
            correctClock(lastTenths_ - now);
        else
            periodRuns_ = false;
    }
    lastTenths_ = now;
}

// `runOn` tenths less on the clock: game time runs on; more: it is given back.
void AssistedBoard::correctClock(long long runOn) {
    if (runOn > 0) {
        assistant_.advance(static_cast<int>(std::min<long long>(runOn, 1'000'000)));
        return;
    }
    const long long given = assistant_.giveBack(-runOn);
    if (given < -runOn)
        tell("Penalty assistant: clock set back " + clockText(static_cast<int>(-runOn)) +
             ", game time given back " + clockText(static_cast<int>(given)) +
             ", to the last event told; change that event in the console if it came later");
}

// A score raised by one is a goal; lowered, it takes that team's latest goals back.
void AssistedBoard::followScore(Team team, int before, int now) {
    if (scored(before, now)) {
        assistant_.goal(team);
        return;
    }
    for (int n = std::max(now, 0); n < before; ++n) {
        const std::vector<ToldEvent> told = assistant_.told();
        if (std::none_of(told.begin(), told.end(), [team](const ToldEvent& e) {
                return e.kind == ToldEvent::Kind::Goal && e.team == team;
            }))
            return;
        if (!assistant_.takeBackGoal(team)) {
            tell(std::string("Penalty assistant: the ") +
                 (team == Team::Home ? "home" : "visitor") +
                 " goal could not be taken back; delete it in the console");
            return;
        }
    }
}

bool AssistedBoard::takeKey(int keyCode, bool ctrl) {
    switch (entry_.key(keyCode, ctrl)) {
    case PenaltyEntry::Outcome::Passed:
        return false;
    case PenaltyEntry::Outcome::Given:
        assistant_.assess(entry_.given());
        break;
    case PenaltyEntry::Outcome::Late:
        if (!assistant_.assessLate(entry_.given(), stoppage_))
            tell("Penalty assistant: the late penalty could not be given at the last stoppage");
        break;
    case PenaltyEntry::Outcome::Undo:
        assistant_.undo();
        break;
    case PenaltyEntry::Outcome::Redo:
        assistant_.redo();
        break;
    case PenaltyEntry::Outcome::PenaltyShot:
        assistant_.markLastGoalPenaltyShot();
        break;
    case PenaltyEntry::Outcome::Signalled:
        assistant_.signal(entry_.given());
        break;
    case PenaltyEntry::Outcome::Whistle:
        assistant_.whistle();
        break;
    case PenaltyEntry::Outcome::ChooseReturn:
        assistant_.chooseReturnOnLastGoal(entry_.returning());
        break;
    default:
        break;
    }
    keyPending_ = false; // what the entry does to the slots is no typing in them
    draw();
    return true;
}

bool AssistedBoard::correct(std::size_t index, const ToldEvent& corrected) {
    runTime();
    const bool done = assistant_.correct(index, corrected);
    draw();
    return done;
}

bool AssistedBoard::remove(std::size_t index) {
    runTime();
    const bool done = assistant_.remove(index);
    draw();
    return done;
}

bool AssistedBoard::dropEntry() {
    if (!entry_.isOpen())
        return false;
    entry_.key(vk::Escape, false);
    return true;
}

void AssistedBoard::settle() {
    runTime();
    if (std::exchange(keyPending_, false))
        followTypedSlots();
    boardFunction_ = false;
    const bool wasRunning = clockRan_;
    clockRan_ = clockRuns();
    // A clock run out to zero stands, though it keeps its running flag until the next stop.
    const bool stands = !clockRan_ || gameTenths() == 0;
    if (stands)
        stoppage_ = assistant_.elapsed();
    else
        periodRuns_ = true;
    // Play stopped: the assistant lets out who waits for a stoppage (told once a stop).
    if (wasRunning && stands)
        assistant_.stoppage();
    const int home = modShowDigits::ReadNumber(view_.field(FieldId::Home));
    const int visitor = modShowDigits::ReadNumber(view_.field(FieldId::Visitor));
    const int period = modShowDigits::ReadNumber(view_.field(FieldId::Period));
    // A blanked score is a score being typed anew: the next number is compared with the last
    // one shown, so clearing a score and typing it again takes no goal back and gives none.
    if (home >= 0) {
        followScore(Team::Home, lastHome_, home);
        lastHome_ = home;
    }
    if (visitor >= 0) {
        followScore(Team::Guest, lastVisitor_, visitor);
        lastVisitor_ = visitor;
    }
    if (lastPeriod_ >= 0 && period > lastPeriod_)
        assistant_.periodEnd();
    if (period != lastPeriod_)
        periodRuns_ = false;
    lastPeriod_ = period;
    draw();
}

int AssistedBoard::tenthsToNextChange(int limit) const {
    return clockRan_ ? assistant_.tenthsToNextChange(limit) : limit;
}

void AssistedBoard::draw() {
    std::array<ScoreBoardLogic::ToldPenalty, 4> told{};
    const auto clocks = assistant_.boardClocks();
    for (size_t i = 0; i < clocks.size(); ++i)
        if (clocks[i])
            told[i] = {clocks[i]->player, GameTime::tenths(clocks[i]->tenthsLeft)};
    logic_.ShowPenalties(told);
}

std::string AssistedBoard::operatorLine() const {
    const std::string prompt = entry_.prompt();
    return "Penalties: " + assistant_.summary() + (prompt.empty() ? "" : " | " + prompt);
}

} // namespace penalties
