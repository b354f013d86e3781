#pragma once

#include "platform/KeyboardLock.h"

#include <functional>

// A NumLock in memory. `pressNumLock` is the operator's key as the keyboard sees it (the lock
// turns). `echo`, when set, is what the platform makes of the program's own change: on
// Windows a synthetic NumLock press and release that reach the board. A change that keeps
// coming back is cut off after a few rounds, so a loop shows up as a count, not a hang.
class FakeKeyboardLock final : public KeyboardLock {
  public:
    static constexpr int kMaxEchoes = 8;

    bool numLockOn() const override { return on; }
    void toggleNumLock() override {
        on = !on;
        ++changes;
        if (echo && changes <= kMaxEchoes)
            echo();
    }
    void pressNumLock() { on = !on; }

    bool on = false;
    int changes = 0; // changes made by the program
    std::function<void()> echo;
};
