#pragma once

// The keyboard's NumLock as the program sees it: whether it is on, and a way to turn it the
// other way. A change may reach the board as a NumLock press and release, like a key the
// operator pressed (that is the case on Windows), or silently (X11); the NumLock mode is
// kept either way, since the board only ever corrects towards the wanted state.
class KeyboardLock {
  public:
    virtual ~KeyboardLock() = default;
    virtual bool numLockOn() const = 0;
    virtual void toggleNumLock() = 0;
};

// For a platform whose NumLock the program cannot reach: reads off, changes nothing. The
// board then simply leaves NumLock to the keyboard, as in normal mode.
class NoKeyboardLock final : public KeyboardLock {
  public:
    bool numLockOn() const override { return false; }
    void toggleNumLock() override {}
};

// A lock key's byte in a key-state table: the low bit holds whether the lock is on; the high
// bit only tells that the key is held down at the moment, whatever the lock's state.
constexpr bool lockByteOn(unsigned char keyStateByte) {
    return (keyStateByte & 0x01) != 0;
}
