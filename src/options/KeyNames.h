#pragma once

#include <QString>

// The name the program shows for a key, given as its virtual-key code: letters, a few
// editing keys, F3 to F12 and some punctuation. Every other key, digits, arrows, F1 and F2
// among them, has no name (""), and a key without a name cannot be assigned to an action.
QString KeyCodeToStr(int keyCode);
