#include "platform/NativeKey.h"

#include "platform/VirtualKeys.h"

#include <QKeyEvent>

int virtualKeyOf(const QKeyEvent& event) {
    return virtualKeyFromQt(event.key(), event.modifiers().testFlag(Qt::KeypadModifier));
}
