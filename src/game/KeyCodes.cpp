#include "game/KeyCodes.h"

int KeyCodeToAsci(int keyCode, int clearKey) {
    if (keyCode == vk::Space)
        return ' ';
    if (keyCode == vk::Return)
        return '\r';
    if (keyCode == clearKey)
        return kClearCharacter;
    if (keyCode == vk::OemPlus || keyCode == vk::Add)
        return '+';
    if (keyCode == vk::OemMinus || keyCode == vk::Subtract)
        return '-';
    if (keyCode >= vk::Numpad0 && keyCode <= vk::Numpad9)
        return '0' + (keyCode - vk::Numpad0);
    if (keyCode >= vk::Key0 && keyCode <= vk::Key9)
        return keyCode;
    if (keyCode == vk::Decimal || keyCode == vk::OemPeriod)
        return '.';
    return kNoCharacter;
}
