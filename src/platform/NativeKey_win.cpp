#include "platform/NativeKey.h"

#include "platform/VirtualKeys.h"

#include <QKeyEvent>

int virtualKeyOf(const QKeyEvent& event) {
    // Events made up by the program itself (or by tests) carry no native code; they are
    // translated like on any other platform.
    const quint32 native = event.nativeVirtualKey();
    if (native > 0 && native < 256)
        return static_cast<int>(native);
    return virtualKeyFromQt(event.key(), event.modifiers().testFlag(Qt::KeypadModifier));
}
