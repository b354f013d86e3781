#include "game/ClockFace.h"

#include "game/modCount.h"

namespace {

constexpr GameTime kTenthsModeLimit = GameTime::tenths(599); // 59.9 s
constexpr GameTime kLift = GameTime::tenths(9);              // 0.9 s
constexpr GameTime kClockMax = GameTime::seconds(5999);      // 99:59
constexpr GameTime kPenaltyMax = GameTime::seconds(599);     // 9:59

GameTime clamp(GameTime v, GameTime hi) {
    if (v < GameTime())
        return GameTime();
    return v > hi ? hi : v;
}

// Takes `unit` out of `w` as many whole times as it fits and returns that count.
int takeOut(GameTime& w, GameTime unit) {
    const int n = modCount::DivInt(w, unit);
    w -= GameTime::fromRaw(unit.raw() * n);
    return n;
}

} // namespace

ClockFace clockFace(GameTime v) {
    v = clamp(v, kClockMax);
    const bool minutesMode = v > kTenthsModeLimit;
    GameTime w = minutesMode ? v + kLift : v;

    const int tensOfMinutes = takeOut(w, GameTime::seconds(600));
    const int minutes = takeOut(w, GameTime::seconds(60));
    const int tensOfSeconds = takeOut(w, GameTime::seconds(10));
    const int seconds = takeOut(w, GameTime::seconds(1));
    const int tenths = takeOut(w, GameTime::tenths(1));

    struct Position {
        int value;
        bool alwaysShown;
    };
    std::array<Position, 4> positions{};
    ClockFace face{};
    if (minutesMode) {
        positions = {
            {{tensOfMinutes, false}, {minutes, false}, {tensOfSeconds, false}, {seconds, true}}};
        face.upperDotLit = true;
    } else {
        positions = {{{tensOfSeconds, false}, {seconds, true}, {tenths, false}}};
        face.upperDotLit = false;
    }
    const int used = minutesMode ? 4 : 3;
    face.digits = {-1, -1, -1, -1};
    for (int e = 0; e < used; ++e) {
        const Position& p = positions[e];
        // A zero is blank while everything left of it is blank.
        if (p.value > 0 || p.alwaysShown)
            face.digits[e] = p.value;
        else
            face.digits[e] = (e == 0 || face.digits[e - 1] == -1) ? -1 : 0;
    }
    return face;
}

std::array<int, 3> penaltyFace(GameTime v) {
    GameTime w = clamp(v, kPenaltyMax) + kLift;
    std::array<int, 3> digits{};
    digits[2] = takeOut(w, GameTime::seconds(60));
    digits[1] = takeOut(w, GameTime::seconds(10));
    digits[0] = takeOut(w, GameTime::seconds(1));
    return digits;
}
