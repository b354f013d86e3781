#include "game/ScoreBoardLogic.h"

#include "game/BoardStateKeeper.h"
#include "game/ClockFace.h"
#include "game/KeyCodes.h"
#include "game/TimeSource.h"
#include "settings/Settings.h"

#include <QChar>
#include <QString>
#include <algorithm>

namespace {

constexpr int kGameCounter = 0;
constexpr int kNoGoal = 0;
constexpr int kHomeGoal = 1;
constexpr int kVisitorGoal = 2;

// Number-field limits; a lower limit of -1 lets the field be blanked.
constexpr int kPeriodLower = 0;
constexpr int kPeriodUpper = 9;
constexpr int kScoreLower = -1;
constexpr int kScoreUpper = 199;
constexpr int kSmallLower = -1; // shots and penalty player numbers
constexpr int kSmallUpper = 99;

// The text that blanks a field through ShowNumber: the single clear character.
QString clearText() {
    return QString(QChar(static_cast<char16_t>(kClearCharacter)));
}

// A typed penalty time in whole seconds, a half second going to the even second.
// GameTime::none() stays none.
GameTime toWholeSeconds(GameTime t) {
    if (t.isNone() || t < GameTime())
        return GameTime::none();
    const std::int64_t whole = t.raw() / GameTime::kPerSecond;
    const std::int64_t rest = t.raw() % GameTime::kPerSecond;
    const std::int64_t half = GameTime::kPerSecond / 2;
    std::int64_t seconds = whole;
    if (rest > half || (rest == half && whole % 2 != 0))
        ++seconds;
    return GameTime::seconds(seconds);
}

const PenaltySlot* slotByTimeField(FieldId field) {
    for (const PenaltySlot& s : kPenaltySlots) {
        if (s.time == field)
            return &s;
    }
    return nullptr;
}

std::int64_t tenthsOf(GameTime t) {
    return t < GameTime() ? 0 : t.raw() / GameTime::kPerTenth;
}

// A penalty time field's text: element 2 minutes, 1 tens of seconds, 0 seconds.
QString penaltyTextOf(const DigitGroup& group) {
    if (group.count() < 3 || group.digit(0) < 0)
        return {};
    auto digit = [&group](int e) {
        const int d = group.digit(e);
        return d < 0 ? QStringLiteral(" ") : QString::number(d);
    };
    return (group.digit(2) < 0 ? QString() : digit(2)) + QLatin1Char(':') + digit(1) + digit(0);
}

const PenaltySlot* slotByNumber(int slot) {
    for (const PenaltySlot& s : kPenaltySlots) {
        if (s.slot == slot)
            return &s;
    }
    return nullptr;
}

} // namespace

ScoreBoardLogic::ScoreBoardLogic(BoardView& view, const Settings& settings, const TimeSource& time)
    : view_(view), settings_(settings), time_(time), counters_(time, [this] { view_.beep(); }) {}

void ScoreBoardLogic::Form_Load() {
    Penalty();
    ResetTime_ = kLoadTime;
    counters_.SetCounter(kLoadTime, kGameCounter);
    ShowClock(kLoadTime);
}

void ScoreBoardLogic::AllKeyCode(int keyCode) {
    if (keyCode == settings_.StartStopClockKey)
        StartStopClock();
    else if (keyCode == settings_.ResetClockKey)
        ResetClock();
    else if (keyCode == settings_.BuzzerKey)
        view_.buzzer();
    else if (keyCode == settings_.HornKey)
        view_.horn();
    else if (keyCode == vk::F1)
        view_.showHelp();
    else if (keyCode == vk::F2)
        view_.showOptions();
}

bool ScoreBoardLogic::IsFunctionKey(int keyCode) const {
    return keyCode == settings_.StartStopClockKey || keyCode == settings_.ResetClockKey ||
           keyCode == settings_.BuzzerKey || keyCode == settings_.HornKey || keyCode == vk::F1 ||
           keyCode == vk::F2;
}

int ScoreBoardLogic::KeyCodeToAsci(int keyCode) const {
    return ::KeyCodeToAsci(keyCode, settings_.ClearKey);
}

void ScoreBoardLogic::AllKeyUp(int keyCode, int /*shift*/) {
    if (keyCode == vk::NumLock)
        view_.updateNumLock();
}

void ScoreBoardLogic::KeyDown(EntryBox box, int keyCode) {
    switch (box) {
    case EntryBox::TimeBack:
        ClockTimeKey(keyCode);
        break;
    case EntryBox::PeriodBack:
        NumberKey(FieldId::Period, keyCode, kPeriodLower, kPeriodUpper);
        break;
    case EntryBox::HomeBack:
        NumberKey(FieldId::Home, keyCode, kScoreLower, kScoreUpper);
        break;
    case EntryBox::VisitorBack:
        NumberKey(FieldId::Visitor, keyCode, kScoreLower, kScoreUpper);
        break;
    case EntryBox::ShotsBackH:
        NumberKey(FieldId::SOGH, keyCode, kSmallLower, kSmallUpper);
        break;
    case EntryBox::ShotsBackV:
        NumberKey(FieldId::SOGV, keyCode, kSmallLower, kSmallUpper);
        break;
    case EntryBox::PenaltyPH1:
        PenaltyPlayerKey(kPenaltySlots[0], keyCode);
        break;
    case EntryBox::PenaltyPH2:
        PenaltyPlayerKey(kPenaltySlots[1], keyCode);
        break;
    case EntryBox::PenaltyPV1:
        PenaltyPlayerKey(kPenaltySlots[2], keyCode);
        break;
    case EntryBox::PenaltyPV2:
        PenaltyPlayerKey(kPenaltySlots[3], keyCode);
        break;
    case EntryBox::PenaltyTH1:
        PenaltyTimeKey(kPenaltySlots[0], keyCode);
        break;
    case EntryBox::PenaltyTH2:
        PenaltyTimeKey(kPenaltySlots[1], keyCode);
        break;
    case EntryBox::PenaltyTV1:
        PenaltyTimeKey(kPenaltySlots[2], keyCode);
        break;
    case EntryBox::PenaltyTV2:
        PenaltyTimeKey(kPenaltySlots[3], keyCode);
        break;
    case EntryBox::picGoalBack:
        GoalStripKey(keyCode);
        break;
    }
}

void ScoreBoardLogic::tmrClock1_Timer() {
    const GameTime r = counters_.ReadCounter(kGameCounter);
    ShowClock(r);
    if (r <= GameTime()) {
        view_.buzzer();
        view_.setClockTimerEnabled(false);
    }
    for (const PenaltySlot& slot : kPenaltySlots) {
        if (view_.field(slot.time).digit(0) >= 0)
            DisplayTime(slot.time, counters_.ReadCounter(slot.slot));
    }
    clockRanOut_ = r <= GameTime();
    Penalty();
    UpdatePenaltyColonColors();
}

// Running counters lose exactly one tenth at each boundary of the time source, so what they
// read at the boundaries ahead is known now. A counter held at its longest run reads more
// than that, which only makes the answer early, never late.
std::int64_t ScoreBoardLogic::nextShownChangeTenth(int limit) {
    const std::int64_t nowTenth = tenthIndex(time_.nowMs());
    const auto after = [](GameTime t, int k) {
        const GameTime step = GameTime::tenths(k);
        return t > step ? t - step : GameTime();
    };
    const bool clockRuns = counters_.counterState(kGameCounter).CounterRunningFlag;
    const GameTime clock = counters_.ReadCounter(kGameCounter);
    const ClockFace clockNow = clockFace(clock);
    struct Watched {
        GameTime left;
        bool shown;
    };
    std::array<Watched, 4> watched{};
    bool penaltyRuns = false;
    for (size_t i = 0; i < kPenaltySlots.size(); ++i) {
        const PenaltySlot& slot = kPenaltySlots[i];
        if (!counters_.counterState(slot.slot).CounterRunningFlag)
            continue;
        watched[i] = {penaltyLeft(slot.slot), view_.field(slot.time).digit(0) >= 0};
        penaltyRuns = penaltyRuns || watched[i].left > GameTime();
    }
    for (int k = 1; k < limit; ++k) {
        if (clockRuns) {
            const ClockFace face = clockFace(after(clock, k));
            if (face.digits != clockNow.digits || face.upperDotLit != clockNow.upperDotLit ||
                after(clock, k) <= GameTime())
                return nowTenth + k;
        }
        if (!penaltyRuns)
            continue;
        for (const Watched& w : watched) {
            const GameTime then = after(w.left, k);
            if ((then > GameTime()) != (w.left > GameTime()) ||
                (w.shown && penaltyFace(then) != penaltyFace(w.left)))
                return nowTenth + k;
        }
    }
    return nowTenth + limit;
}

void ScoreBoardLogic::ShowClock(GameTime v) {
    const ClockFace face = clockFace(v);
    DigitGroup& group = view_.field(FieldId::Time);
    const int n = std::min(group.count(), static_cast<int>(face.digits.size()));
    for (int e = 0; e < n; ++e)
        group.setDigit(e, face.digits[e]);
    view_.setClockColon(face.upperDotLit);
    shownClock_ = v;
    shownColon_ = face.upperDotLit;
}

void ScoreBoardLogic::DisplayTime(FieldId timeField, GameTime t) {
    const std::array<int, 3> digits = penaltyFace(t);
    DigitGroup& group = view_.field(timeField);
    const int n = std::min(group.count(), static_cast<int>(digits.size()));
    for (int e = 0; e < n; ++e)
        group.setDigit(e, digits[e]);
    if (const PenaltySlot* slot = slotByTimeField(timeField))
        shownPenalty_[static_cast<size_t>(slot->slot - 1)] = t;
}

void ScoreBoardLogic::Penalty() {
    for (const PenaltySlot& slot : kPenaltySlots) {
        const bool lit = penaltyLeft(slot.slot) > GameTime();
        view_.setPenaltyLamp(slot.slot, lit);
        litPenalty_[static_cast<size_t>(slot.slot - 1)] = lit;
    }
}

// Once the game clock has run out, the penalty clocks still carry their running flags until
// the next start/stop, which banks the time of their last read. Reading them then would let
// them lose the time the game clock stood at zero, so they answer with that last read.
GameTime ScoreBoardLogic::penaltyLeft(int counter) {
    const modCount::CounterState c = counters_.counterState(counter);
    if (!clockRanOut_ || !c.CounterRunningFlag)
        return counters_.ReadCounter(counter);
    const GameTime left = c.CounterTotal - c.CounterBanked - c.CounterElapsed;
    return left > GameTime() ? left : GameTime();
}

void ScoreBoardLogic::UpdatePenaltyColonColors() {
    for (const PenaltySlot& slot : kPenaltySlots)
        view_.setPenaltyColon(slot.slot, view_.field(slot.time).digit(0) >= 0);
}

void ScoreBoardLogic::ClearPenalty(int slot) {
    const PenaltySlot* s = slotByNumber(slot);
    if (!s)
        return;
    modShowDigits::ShowNumber(view_.field(s->player), clearText(), -1, -1);
    modShowDigits::ShowNumber(view_.field(s->time), clearText(), -1, -1);
    counters_.SetCounter(GameTime(), s->slot);
    shownPenalty_[static_cast<size_t>(s->slot - 1)] = GameTime();
    UpdatePenaltyColonColors();
    Penalty();
}

void ScoreBoardLogic::ShowPenalties(const std::array<ToldPenalty, 4>& told) {
    const bool gameRuns = counters_.counterState(kGameCounter).CounterRunningFlag && !clockRanOut_;
    for (const PenaltySlot& slot : kPenaltySlots) {
        const ToldPenalty& t = told[static_cast<size_t>(slot.slot - 1)];
        if (t.left.isNone()) {
            if (view_.field(slot.time).digit(0) >= 0 ||
                modShowDigits::ReadNumber(view_.field(slot.player)) >= 0)
                ClearPenalty(slot.slot);
            continue;
        }
        modShowDigits::ShowNumber(view_.field(slot.player), QString::number(t.player), kSmallLower,
                                  kSmallUpper);
        counters_.SetCounter(t.left, slot.slot);
        if (gameRuns)
            counters_.StartCounter(slot.slot);
        DisplayTime(slot.time, counters_.ReadCounter(slot.slot));
    }
    UpdatePenaltyColonColors();
    Penalty();
}

void ScoreBoardLogic::UpdateGoal() {
    view_.setGoalLamps(WhoGoal_ == kHomeGoal, WhoGoal_ == kVisitorGoal);
}

void ScoreBoardLogic::GoalLampClicked(int team) {
    if (team != kHomeGoal && team != kVisitorGoal)
        return;
    WhoGoal_ = WhoGoal_ == team ? kNoGoal : team;
    UpdateGoal();
}

// Every counter follows the game clock; one already in the wanted state is left alone, so
// a penalty set while the clock ran waits for the next start.
void ScoreBoardLogic::StartStopClock() {
    clockRanOut_ = false;
    if (counters_.CounterRunning(kGameCounter)) {
        for (int i = 0; i < modCount::kCounters; ++i)
            counters_.StopCounter(i);
        view_.setClockTimerEnabled(false);
    } else {
        for (int i = 0; i < modCount::kCounters; ++i)
            counters_.StartCounter(i);
        view_.setClockTimerEnabled(true);
    }
}

// The penalty clocks are stopped with the game clock but keep their time.
void ScoreBoardLogic::ResetClock() {
    if (counters_.CounterRunning(kGameCounter))
        StartStopClock();
    counters_.SetCounter(ResetTime_, kGameCounter);
    ShowClock(counters_.ReadCounter(kGameCounter));
}

// An accepted time leaves the clock stopped and becomes the reset value.
void ScoreBoardLogic::ClockTimeKey(int keyCode) {
    AllKeyCode(keyCode);
    const GameTime t =
        times_.EnterTimeKey(view_.field(FieldId::Time), KeyCodeToAsci(keyCode), kClockLimitSeconds);
    if (t.isNone())
        return;
    if (counters_.CounterRunning(kGameCounter))
        StartStopClock();
    counters_.SetCounter(t, kGameCounter);
    ResetTime_ = t;
    ShowClock(counters_.ReadCounter(kGameCounter));
}

// A penalty time is set without touching a running game clock; the penalty clock itself
// stays stopped until the game clock next starts.
void ScoreBoardLogic::PenaltyTimeKey(const PenaltySlot& slot, int keyCode) {
    if (keyCode == settings_.ClearKey)
        ClearPenalty(slot.slot);
    AllKeyCode(keyCode);
    const GameTime v = toWholeSeconds(
        times_.EnterTimeKey(view_.field(slot.time), KeyCodeToAsci(keyCode), kPenaltyLimitSeconds));
    if (v.isNone())
        return;
    counters_.SetCounter(v, slot.slot);
    DisplayTime(slot.time, counters_.ReadCounter(slot.slot));
    UpdatePenaltyColonColors();
    Penalty();
}

void ScoreBoardLogic::PenaltyPlayerKey(const PenaltySlot& slot, int keyCode) {
    if (keyCode == settings_.ClearKey)
        ClearPenalty(slot.slot);
    NumberKey(slot.player, keyCode, kSmallLower, kSmallUpper);
}

void ScoreBoardLogic::NumberKey(FieldId field, int keyCode, int lower, int upper) {
    AllKeyCode(keyCode);
    numbers_.EnterNumberKey(view_.field(field), KeyCodeToAsci(keyCode), lower, upper);
}

void ScoreBoardLogic::GoalStripKey(int keyCode) {
    AllKeyCode(keyCode);
    if (keyCode == vk::Left)
        WhoGoal_ = kHomeGoal;
    else if (keyCode == vk::Right)
        WhoGoal_ = kVisitorGoal;
    else if (keyCode == vk::Down)
        WhoGoal_ = kNoGoal;
    UpdateGoal();
}

BoardState ScoreBoardLogic::state() {
    BoardState s;
    const DigitGroup& time = view_.field(FieldId::Time);
    std::array<int, 4> clockDigits{-1, -1, -1, -1};
    for (int e = 0; e < std::min(time.count(), 4); ++e)
        clockDigits[static_cast<size_t>(e)] = time.digit(e);
    s.clock = clockTextOf(clockDigits, shownColon_);
    s.clockTenths = tenthsOf(shownClock_);
    // A clock that has run out keeps its running flag until the next start/stop, but it no
    // longer counts: observers are told it stands.
    s.clockRunning = counters_.counterState(kGameCounter).CounterRunningFlag && !clockRanOut_;
    s.period = modShowDigits::ReadNumber(view_.field(FieldId::Period));
    s.home = modShowDigits::ReadNumber(view_.field(FieldId::Home));
    s.visitor = modShowDigits::ReadNumber(view_.field(FieldId::Visitor));
    s.shotsHome = modShowDigits::ReadNumber(view_.field(FieldId::SOGH));
    s.shotsVisitor = modShowDigits::ReadNumber(view_.field(FieldId::SOGV));
    for (const PenaltySlot& slot : kPenaltySlots) {
        const auto i = static_cast<size_t>(slot.slot - 1);
        PenaltyState& p = s.penalties[i];
        p.player = modShowDigits::ReadNumber(view_.field(slot.player));
        p.time = penaltyTextOf(view_.field(slot.time));
        p.tenths = tenthsOf(shownPenalty_[i]);
        p.lit = litPenalty_[i];
        p.running = p.lit && counters_.counterState(slot.slot).CounterRunningFlag && !clockRanOut_;
    }
    s.whoGoal = WhoGoal_;
    s.resetTenths = tenthsOf(ResetTime_);
    if (keeper_)
        keeper_->saveTo(s);
    return s;
}

void ScoreBoardLogic::restore(const BoardState& s, bool withClock) {
    auto number = [this](FieldId field, int value, int lower, int upper) {
        if (value == -1 && lower == -1)
            modShowDigits::ShowNumber(view_.field(field), clearText(), -1, -1);
        else if (value >= 0 && value >= lower && value <= upper)
            modShowDigits::ShowNumber(view_.field(field), QString::number(value), lower, upper);
    };
    number(FieldId::Period, s.period, kPeriodLower, kPeriodUpper);
    number(FieldId::Home, s.home, kScoreLower, kScoreUpper);
    number(FieldId::Visitor, s.visitor, kScoreLower, kScoreUpper);
    number(FieldId::SOGH, s.shotsHome, kSmallLower, kSmallUpper);
    number(FieldId::SOGV, s.shotsVisitor, kSmallLower, kSmallUpper);

    if (withClock) {
        if (counters_.CounterRunning(kGameCounter))
            StartStopClock();
        const std::int64_t limit = std::int64_t{kClockLimitSeconds} * 10;
        if (s.resetTenths >= 0 && s.resetTenths <= limit)
            ResetTime_ = GameTime::tenths(s.resetTenths);
        if (s.clockTenths >= 0 && s.clockTenths <= limit) {
            counters_.SetCounter(GameTime::tenths(s.clockTenths), kGameCounter);
            clockRanOut_ = false;
            ShowClock(counters_.ReadCounter(kGameCounter));
        }
    }

    const BoardState now = state();
    const bool gameRuns = counters_.counterState(kGameCounter).CounterRunningFlag;
    for (const PenaltySlot& slot : kPenaltySlots) {
        const auto i = static_cast<size_t>(slot.slot - 1);
        const PenaltyState& p = s.penalties[i];
        number(slot.player, p.player, kSmallLower, kSmallUpper);
        if (p.time == now.penalties[i].time && p.tenths == now.penalties[i].tenths)
            continue;
        const std::int64_t limit = std::int64_t{kPenaltyLimitSeconds} * 10;
        if (p.tenths < 0 || p.tenths > limit)
            continue;
        if (p.time.isEmpty()) {
            modShowDigits::ShowNumber(view_.field(slot.time), clearText(), -1, -1);
            counters_.SetCounter(GameTime(), slot.slot);
            shownPenalty_[i] = GameTime();
        } else {
            counters_.SetCounter(GameTime::tenths(p.tenths), slot.slot);
            if (gameRuns && p.running)
                counters_.StartCounter(slot.slot);
            DisplayTime(slot.time, counters_.ReadCounter(slot.slot));
        }
    }
    if (s.whoGoal >= kNoGoal && s.whoGoal <= kVisitorGoal)
        WhoGoal_ = s.whoGoal;
    UpdateGoal();
    UpdatePenaltyColonColors();
    Penalty();
    if (keeper_)
        keeper_->loadFrom(s);
}

QString clockTextOf(const std::array<int, 4>& digits, bool colon) {
    QString text;
    for (size_t e = 0; e < digits.size(); ++e) {
        if (e == 2)
            text += colon ? QLatin1Char(':') : QLatin1Char('.');
        text += digits[e] < 0 ? QStringLiteral(" ") : QString::number(digits[e]);
    }
    return text.trimmed();
}
