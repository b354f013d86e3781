#pragma once

#include "game/GameTime.h"

#include <array>

// What the game clock shows for a time: the four digits of `pledTime` (element 0 leftmost,
// -1 blank) and whether the upper dot is lit. Above 59.9 s the clock reads m:ss with any part
// of a second lifted to the next whole second; from 59.9 s down it reads ss.t. Leading zeros
// are blank and the seconds digit is always lit. The lower dot is always lit, so it needs no
// field here.
struct ClockFace {
    std::array<int, 4> digits;
    bool upperDotLit; // true: colon (m:ss); false: decimal point (ss.t)
};

// The game clock's face for `v`. A negative time shows as 0.0; a time above 5999 s, which
// has no four-digit form, shows as 99:59.
ClockFace clockFace(GameTime v);

// The digits of a penalty time for `v`: element 0 seconds, 1 tens of seconds, 2 minutes,
// none blank, any part of a second lifted to the next whole second (89.1 s reads 1:30). A
// negative time shows 0:00; a time above 599 s, which has no three-digit form, shows 9:59.
std::array<int, 3> penaltyFace(GameTime v);
