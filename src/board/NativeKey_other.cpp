#include "board/NativeKey.h"

#include "board/KeyCodes.h"

#include <QKeyEvent>

int virtualKeyOf(const QKeyEvent& event) {
    return virtualKeyFromQt(event.key(), event.modifiers().testFlag(Qt::KeypadModifier));
}
