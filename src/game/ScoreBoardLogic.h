#pragma once

#include "game/BoardState.h"
#include "game/BoardView.h"
#include "game/FieldId.h"
#include "game/GameTime.h"
#include "game/TimeEntry.h"
#include "game/modCount.h"
#include "game/modShowDigits.h"

#include <array>
#include <cstdint>

struct Settings;
class TimeSource;
class BoardStateKeeper;

// The scoreboard's game logic without any widget: what every key does in every entry box,
// the game clock with its start/stop, reset and tick, the four penalty slots, typed times on
// the clock and the penalties, and the goal lamps. It draws only through BoardView and reads
// the configured keys from Settings afresh on every key, so keys changed in the options
// dialog act from the next key on.
//
// Promises: any key in any box, in any order, leaves every field within its limits (the
// period is never blank); the game clock reads 0 to 99:59 and each penalty 0 to 9:59; a key
// is handled exactly once; the clock timer is never left on while the game clock stands.
class ScoreBoardLogic {
  public:
    static constexpr std::int32_t kClockLimitSeconds = 5999;  // 99:59.0
    static constexpr std::int32_t kPenaltyLimitSeconds = 599; // 9:59.0
    static constexpr GameTime kLoadTime = GameTime::seconds(600);

    ScoreBoardLogic(BoardView& view, const Settings& settings, const TimeSource& time);

    ScoreBoardLogic(const ScoreBoardLogic&) = delete;
    ScoreBoardLogic& operator=(const ScoreBoardLogic&) = delete;

    // The logic's part of the board's load: penalty lamps, reset value and game clock at
    // 10:00, stopped. The window draws labels, colours and the goal lamps itself.
    void Form_Load();

    // The board-wide function keys: start/stop, reset, buzzer, horn, help, options. The first
    // matching row wins, so a configured key equal to another one or to F1/F2 takes it over.
    void AllKeyCode(int keyCode);
    // Whether the key has a board-wide function (clock, buzzer, horn, help, options).
    bool IsFunctionKey(int keyCode) const;
    // The character code of a key for field entry (see KeyCodeToAsci in KeyCodes.h).
    int KeyCodeToAsci(int keyCode) const;
    // Releasing NumLock brings its state back in line with the chosen mode.
    void AllKeyUp(int keyCode, int shift);
    // A key pressed while `box` has the focus: the box's whole handler.
    void KeyDown(EntryBox box, int keyCode);

    // The clock timer's tick: redraws the game clock and the penalties in use, sounds the
    // buzzer and stops the timer when the game clock has run out.
    void tmrClock1_Timer();
    // The first boundary of the time source's tenths, no more than `limit` tenths ahead, at
    // which the tick would draw something else than it drew last (a digit, a colon, a lamp)
    // or find the game clock run out: the ticks before it may be left out. As an index of
    // tenths of the time source (nowMs / 100).
    std::int64_t nextShownChangeTenth(int limit);

    // Draws `v` on the game clock: m:ss with a colon above one minute, ss.t below.
    void ShowClock(GameTime v);
    // Draws `t` on a penalty time group as m:ss.
    void DisplayTime(FieldId timeField, GameTime t);

    // Lights each penalty lamp while its penalty clock has time left.
    void Penalty();
    // Lights each penalty colon while its time field shows a time.
    void UpdatePenaltyColonColors();
    // Frees penalty slot 1 to 4: blanks its player and time, sets its clock to 0. Other
    // numbers are ignored.
    void ClearPenalty(int slot);
    // A penalty slot as something outside the board decides it: the player and the time left,
    // or nothing (a free slot). The slot's clock runs while the game clock runs.
    struct ToldPenalty {
        int player = -1;
        GameTime left = GameTime::none(); // none: the slot is free
    };
    // Draws slots 1 to 4 as told, with their colons and lamps.
    void ShowPenalties(const std::array<ToldPenalty, 4>& told);

    // Draws both goal lamps from WhoGoal.
    void UpdateGoal();
    // A click on a goal lamp (1 home, 2 visitor): lights it, switching the other one off, or
    // puts it out when it was lit. Other numbers are ignored.
    void GoalLampClicked(int team);
    // 0 no goal lamp lit, 1 home, 2 visitor.
    int WhoGoal() const { return WhoGoal_; }

    // The value the reset key sets the game clock back to.
    GameTime ResetTime() const { return ResetTime_; }
    modCount& counters() { return counters_; }

    // The board as last drawn, for anything that mirrors or records it.
    BoardState state();
    // Puts a recorded board back and draws it: number fields, penalty slots (a slot whose time
    // differs is set to the recorded time, running again if the game clock runs and the slot
    // ran), goal lamp, penalty lamps and colons. With `withClock` also the game clock, stopped
    // at the recorded value, and the reset value. A value outside its field's limits leaves
    // that field as it is.
    void restore(const BoardState& s, bool withClock);

    // Something that keeps part of the game beside the fields, saved into state() and put
    // back by restore(); none by default.
    void setStateKeeper(BoardStateKeeper* keeper) { keeper_ = keeper; }

    // The typing buffers, for a look from outside.
    const modShowDigits& numberEntry() const { return numbers_; }
    const TimeEntry& timeEntry() const { return times_; }

  private:
    void StartStopClock();
    void ResetClock();
    void ClockTimeKey(int keyCode);
    void PenaltyTimeKey(const PenaltySlot& slot, int keyCode);
    void PenaltyPlayerKey(const PenaltySlot& slot, int keyCode);
    void NumberKey(FieldId field, int keyCode, int lower, int upper);
    void GoalStripKey(int keyCode);
    GameTime penaltyLeft(int counter);

    BoardView& view_;
    const Settings& settings_;
    const TimeSource& time_;
    modCount counters_;
    modShowDigits numbers_;
    TimeEntry times_;
    GameTime ResetTime_ = kLoadTime;
    int WhoGoal_ = 0;
    bool clockRanOut_ = false; // the last tick found the game clock at zero
    // What was last drawn on the clocks and lamps, for state().
    GameTime shownClock_;
    bool shownColon_ = true;
    std::array<GameTime, 4> shownPenalty_{};
    std::array<bool, 4> litPenalty_{};
    BoardStateKeeper* keeper_ = nullptr;
};
