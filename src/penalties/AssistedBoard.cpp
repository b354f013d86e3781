#include "penalties/AssistedBoard.h"

#include "game/BoardState.h"
#include "game/ScoreBoardLogic.h"

#include <algorithm>

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
    clockRan_ = logic_.counters().counterState(kGameCounter).CounterRunningFlag;
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
    const std::string text =
        state.assistant.isEmpty() ? PenaltyAssistant().save() : state.assistant.toStdString();
    if (text == assistant_.save() && state.assistantTenths == assistant_.elapsed())
        return;
    if (!assistant_.load(text, state.assistantTenths))
        return;
    readBoard();
    draw();
}

void AssistedBoard::readBoard() {
    lastHome_ = modShowDigits::ReadNumber(view_.field(FieldId::Home));
    lastVisitor_ = modShowDigits::ReadNumber(view_.field(FieldId::Visitor));
    lastPeriod_ = modShowDigits::ReadNumber(view_.field(FieldId::Period));
}

long long AssistedBoard::gameTenths() {
    return logic_.counters().ReadCounter(kGameCounter).raw() / GameTime::kPerTenth;
}

// Scores and period changed since the last key by anything but a key (the journal putting
// back an earlier board) are no goals: only a key's own change counts.
void AssistedBoard::catchUp() {
    runTime();
    readBoard();
}

// Only a running game clock tells game time: a reset or a typed time moves the clock while
// it stands, and that is no play.
void AssistedBoard::runTime() {
    const long long now = gameTenths();
    if (clockRan_ && now < lastTenths_)
        assistant_.advance(static_cast<int>(std::min<long long>(lastTenths_ - now, 1'000'000)));
    lastTenths_ = now;
}

bool AssistedBoard::takeKey(int keyCode, bool ctrl) {
    switch (entry_.key(keyCode, ctrl)) {
    case PenaltyEntry::Outcome::Passed:
        return false;
    case PenaltyEntry::Outcome::Given:
        assistant_.assess(entry_.given());
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

void AssistedBoard::settle() {
    runTime();
    const bool wasRunning = clockRan_;
    clockRan_ = logic_.counters().counterState(kGameCounter).CounterRunningFlag;
    if (wasRunning && !clockRan_)
        assistant_.stoppage();
    const int home = modShowDigits::ReadNumber(view_.field(FieldId::Home));
    const int visitor = modShowDigits::ReadNumber(view_.field(FieldId::Visitor));
    const int period = modShowDigits::ReadNumber(view_.field(FieldId::Period));
    if (scored(lastHome_, home))
        assistant_.goal(Team::Home);
    if (scored(lastVisitor_, visitor))
        assistant_.goal(Team::Guest);
    if (lastPeriod_ >= 0 && period > lastPeriod_)
        assistant_.periodEnd();
    lastHome_ = home;
    lastVisitor_ = visitor;
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
