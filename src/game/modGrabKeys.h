#pragma once

#include <cstdint>

class KeyboardLock;

// Holding the keyboard's NumLock in the chosen mode.

// The modes of the NumLockForce setting; any other value leaves NumLock alone.
inline constexpr std::int32_t kNumLockNormal = 0;
inline constexpr std::int32_t kNumLockKeepOn = 1;
inline constexpr std::int32_t kNumLockKeepOff = 2;

// Turns NumLock on (wantOn) or off, changing it only when it is not that way already, so a
// correction that comes back to the board as a NumLock release finds nothing more to do.
void SetNumLock(KeyboardLock& lock, bool wantOn);

// Brings NumLock in line with `numLockForce`: kept on, kept off, or left alone.
void ApplyNumLockMode(KeyboardLock& lock, std::int32_t numLockForce);
