#pragma once

#include "platform/VirtualKeys.h"

// Character codes that field entry works on, besides the codes of "0" to "9", "+", "-",
// ".", Enter (13) and space (32).
inline constexpr int kClearCharacter = 0; // the configured clear key
inline constexpr int kNoCharacter = -1;   // a key with no meaning in field entry

// The character a key stands for in number and time entry. The tests run in a fixed order,
// so a clear key that is also Enter or the space bar keeps that meaning, and a clear key
// that is a digit key blanks instead of typing its digit.
int KeyCodeToAsci(int keyCode, int clearKey);
