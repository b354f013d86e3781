#pragma once

#include "penalties/PenaltyEvent.h"

#include <optional>
#include <string>

// A penalty typed on the board in a few keys: Ctrl+P, the team (H or V), the player's number
// (one or two digits, main keyboard or numeric pad), the kind's letter, Enter. Escape drops
// the entry, Backspace takes back the last key, Ctrl+P again starts it afresh. Ctrl+P Z takes
// back the last penalty, goal or period end the assistant was told, Ctrl+P Y puts it back.
//
// L instead of Enter gives a penalty reported late, after play went on: at the stoppage the
// clock last stood at.
//
// While an entry is open it takes Escape, Backspace, Enter, H, V and the digits, whether or not
// they fit the step (a key that does not fit changes nothing), and a letter of a kind only at
// the kind's step; every other key goes on to the board, so the clock can be started and
// stopped meanwhile and B and G sound buzzer and horn. While closed it takes Ctrl+P only.
namespace penalties {

class PenaltyEntry {
  public:
    enum class Outcome {
        Passed,       // not the entry's key: the board handles it
        Taken,        // the entry took it
        Given,        // Enter completed a penalty: given() tells which
        Dropped,      // Escape dropped the entry
        Undo,         // Z on an entry with nothing typed: take back the last penalty event
        Redo,         // Y on an entry with nothing typed: put it back
        PenaltyShot,  // P on an entry with nothing typed: the latest goal was a penalty shot
        ChooseReturn, // R, a number, Enter: the captain's choice of who returns on the latest goal
        Signalled, // + instead of Enter: the penalty is signalled, play goes on; given() tells it
        Whistle,   // Enter on an entry with nothing typed: the signalled penalties are given
        Late,      // L instead of Enter: given() was given at the last stoppage
    };

    Outcome key(int keyCode, bool ctrl);

    bool isOpen() const { return open_; }
    // The penalty the last Enter completed.
    const Assessment& given() const { return given_; }
    // The player the last ChooseReturn named.
    int returning() const { return returning_; }
    // What has been typed and what comes next, for the operator; empty while closed.
    std::string prompt() const;

  private:
    bool typeKey(int keyCode);
    Outcome chooseReturn(int keyCode);
    void clear();

    bool open_ = false;
    std::optional<Team> team_;
    std::string digits_;
    std::optional<PenaltyKind> kind_;
    std::string substitute_;      // typed after the kind: who serves the time
    bool choosingReturn_ = false; // after R: the player who returns on the latest goal
    Assessment given_;
    int returning_ = -1;
};

// The kind a letter key stands for: M minor, D double minor, J major, B major and minor,
// T minor and misconduct, C misconduct, G game misconduct, X match.
std::optional<PenaltyKind> kindOfKey(int keyCode);
const char* kindName(PenaltyKind kind);

} // namespace penalties
