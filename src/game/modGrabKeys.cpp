#include "game/modGrabKeys.h"

#include "platform/KeyboardLock.h"

void SetNumLock(KeyboardLock& lock, bool wantOn) {
    if (lock.numLockOn() == wantOn)
        return;
    lock.toggleNumLock();
}

void ApplyNumLockMode(KeyboardLock& lock, std::int32_t numLockForce) {
    if (numLockForce == kNumLockKeepOn)
        SetNumLock(lock, true);
    else if (numLockForce == kNumLockKeepOff)
        SetNumLock(lock, false);
}
