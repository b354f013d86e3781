#pragma once

#include <memory>

class KeyboardLock;

// The NumLock of the keyboard the program runs on, or a lock that does nothing where the
// platform gives no access to it. Needs the application object to exist. Defined once per
// platform.
std::unique_ptr<KeyboardLock> systemKeyboardLock();
