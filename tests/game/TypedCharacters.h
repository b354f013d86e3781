#pragma once

#include "game/KeyCodes.h"

// Keys in entry tests are written as the characters they type; '#' is the clear key, '?' a
// key such as a letter that means nothing to field entry.
inline int characterOf(char key) {
    if (key == '#')
        return kClearCharacter;
    if (key == '?')
        return kNoCharacter;
    return key;
}
