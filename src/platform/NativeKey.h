#pragma once

class QKeyEvent;

// The virtual-key code of a key event, whatever the platform: Windows hands it over as is,
// elsewhere it is worked out from the Qt key and the keypad modifier. 0 for an unknown key.
int virtualKeyOf(const QKeyEvent& event);
