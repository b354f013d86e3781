#pragma once

#include "penalties/PenaltyRules.h"

#include <functional>
#include <optional>

class SettingsStore;
class frmScoreBoard;

// The penalty assistant as the stored settings say: off (the designed board) unless the user
// switched it on. Put on the board at once, before the journal restores a game (so a restored
// game finds its penalties), and again whenever the options dialog stored other settings;
// `alsoTell` hears the rules each time (the live feed tells the assistant's state by them).
void followPenaltySettings(
    frmScoreBoard& board, const SettingsStore& store,
    std::function<void(const std::optional<penalties::PenaltyRules>&)> alsoTell = {});
