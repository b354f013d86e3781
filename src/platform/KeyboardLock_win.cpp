#include "platform/KeyboardLock.h"
#include "platform/SystemKeyboardLock.h"

#include <windows.h>

namespace {

constexpr BYTE kNumLockScanCode = 0x45;

// NumLock through the thread's key-state table, changed by a synthetic press and release of
// the NumLock key. The synthetic keys reach the active window like real ones, so the board
// sees the release and checks the mode once more, finding it as wanted.
class WindowsKeyboardLock final : public KeyboardLock {
  public:
    bool numLockOn() const override {
        BYTE state[256] = {};
        if (!GetKeyboardState(state))
            return false;
        return lockByteOn(state[VK_NUMLOCK]);
    }
    void toggleNumLock() override {
        keybd_event(VK_NUMLOCK, kNumLockScanCode, KEYEVENTF_EXTENDEDKEY, 0);
        keybd_event(VK_NUMLOCK, kNumLockScanCode, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP, 0);
    }
};

} // namespace

std::unique_ptr<KeyboardLock> systemKeyboardLock() {
    return std::make_unique<WindowsKeyboardLock>();
}
