#pragma once

#include "game/GameTime.h"
#include "game/KeyCodes.h"
#include "game/ScoreBoardLogic.h"
#include "game/modShowDigits.h"
#include "settings/Settings.h"
#include "support/FakeBoardView.h"
#include "support/FakeTimeSource.h"

#include <array>
#include <cstdint>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Game times print as seconds in failure messages.
inline void PrintTo(GameTime t, std::ostream* os) {
    *os << t.toSeconds() << " s";
}

namespace boardtest {

inline constexpr int B = -1; // a blank digit
using Lamp = FakeBoardView::Lamp;

// The key a character of a typed stream stands for: digits and letters of the main
// keyboard, "." the full stop key, "+" and "-" the main keyboard's plus and minus keys,
// "\n" Enter, " " the space bar.
inline int keyFor(char c) {
    if (c >= '0' && c <= '9')
        return vk::Key0 + (c - '0');
    if (c >= 'A' && c <= 'Z')
        return vk::KeyA + (c - 'A');
    switch (c) {
    case '.':
        return vk::OemPeriod;
    case '+':
        return vk::OemPlus;
    case '-':
        return vk::OemMinus;
    case '\n':
        return vk::Return;
    case ' ':
        return vk::Space;
    default:
        throw std::invalid_argument(std::string("no key for ") + c);
    }
}

// A board as the timekeeper meets it: loaded, with a clock that only moves when the test
// says so and a timer that ticks on every tenth while it is on.
struct BoardHarness {
    Settings settings;
    FakeTimeSource time;
    FakeBoardView view;
    ScoreBoardLogic logic{view, settings, time};

    // The window's load as far as the logic takes part: the colour pass that redraws the
    // goal lamps, penalty colons and lamps, then the logic's own steps.
    void load() {
        logic.UpdateGoal();
        logic.UpdatePenaltyColonColors();
        logic.Penalty();
        logic.Form_Load();
    }

    void press(EntryBox box, int key) { logic.KeyDown(box, key); }
    void type(EntryBox box, std::string_view keys) {
        for (char c : keys)
            press(box, keyFor(c));
    }

    // Lets `ms` milliseconds pass, ticking on every tenth while the timer is on.
    void run(std::int64_t ms) {
        for (; ms >= 100; ms -= 100) {
            time.advance(100);
            if (view.timerEnabled())
                logic.tmrClock1_Timer();
        }
        time.advance(ms);
    }

    GameTime counter(int i) { return logic.counters().ReadCounter(i); }
    bool running(int i) { return logic.counters().CounterRunning(i); }
    std::vector<int> digits(FieldId id) const { return view.digits(id); }
    int number(FieldId id) const { return modShowDigits::ReadNumber(view.group(id)); }
};

template <std::size_t N> std::vector<int> asVector(const std::array<int, N>& a) {
    return std::vector<int>(a.begin(), a.end());
}

inline GameTime secs(std::int64_t s) {
    return GameTime::seconds(s);
}
inline GameTime tenths(std::int64_t t) {
    return GameTime::tenths(t);
}

} // namespace boardtest
