#include "platform/KeyboardLock.h"
#include "platform/SystemKeyboardLock.h"

// Platforms without a reachable NumLock (Wayland, macOS): the board leaves it alone.
std::unique_ptr<KeyboardLock> systemKeyboardLock() {
    return std::make_unique<NoKeyboardLock>();
}
