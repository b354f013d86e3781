#pragma once

// Windows virtual-key codes are the program's key codes everywhere: the configured keys are
// stored as these numbers, and every platform's key events are translated into them.
namespace vk {
inline constexpr int Back = 8, Tab = 9, Clear = 12, Return = 13, Shift = 16, Control = 17,
                     Menu = 18, Pause = 19, Capital = 20, Escape = 27, Space = 32, Prior = 33,
                     Next = 34, End = 35, Home = 36, Left = 37, Up = 38, Right = 39, Down = 40,
                     Snapshot = 44, Insert = 45, Delete = 46, Key0 = 48, Key9 = 57, KeyA = 65,
                     KeyZ = 90, LWin = 91, Apps = 93, Numpad0 = 96, Numpad9 = 105, Multiply = 106,
                     Add = 107, Separator = 108, Subtract = 109, Decimal = 110, Divide = 111,
                     F1 = 112, F2 = 113, F24 = 135, NumLock = 144, Scroll = 145;
// Main-keyboard punctuation, named by the US layout's unshifted character.
inline constexpr int OemSemicolon = 186, OemPlus = 187, OemComma = 188, OemMinus = 189,
                     OemPeriod = 190, OemSlash = 191, OemBacktick = 192, OemOpenBracket = 219,
                     OemBackslash = 220, OemCloseBracket = 221, OemQuote = 222;
} // namespace vk

// The virtual-key code of a Qt key, for platforms whose events carry no such code. `keypad`
// tells whether the key came from the numeric pad. Unknown keys give 0.
int virtualKeyFromQt(int qtKey, bool keypad);
