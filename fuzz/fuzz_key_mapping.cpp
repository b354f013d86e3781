// The translation of key events into the program's key codes: any Qt key with any modifiers
// gives a code in 1..255, or 0 for a key the program does not know; and any code gives a
// character field entry understands.
#include "FuzzCheck.h"
#include "FuzzInput.h"

#include "game/KeyCodes.h"
#include "platform/NativeKey.h"

#include <QKeyEvent>

namespace {

bool entryCharacter(int ch) {
    return (ch >= '0' && ch <= '9') || ch == '+' || ch == '-' || ch == '.' || ch == '\r' ||
           ch == ' ' || ch == kClearCharacter || ch == kNoCharacter;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    while (!in.empty()) {
        const int qtKey = static_cast<int>(in.u32());
        const auto modifiers = Qt::KeyboardModifiers::fromInt(static_cast<int>(in.u32()));
        const QKeyEvent event(in.byte() & 1 ? QEvent::KeyRelease : QEvent::KeyPress, qtKey,
                              modifiers);
        const int code = virtualKeyOf(event);
        FUZZ_CHECK(code >= 0 && code <= 255);
        // The keypad modifier alone decides between the pad's and the main keyboard's codes.
        FUZZ_CHECK(code == virtualKeyFromQt(qtKey, modifiers.testFlag(Qt::KeypadModifier)));
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
            const int offset = qtKey - Qt::Key_0;
            FUZZ_CHECK(code ==
                       (modifiers.testFlag(Qt::KeypadModifier) ? vk::Numpad0 : vk::Key0) + offset);
        }
        if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
            FUZZ_CHECK(code == vk::KeyA + (qtKey - Qt::Key_A));
        const int clearKey = static_cast<std::int16_t>(in.u16());
        FUZZ_CHECK(entryCharacter(KeyCodeToAsci(code, clearKey)));
        FUZZ_CHECK(entryCharacter(KeyCodeToAsci(static_cast<std::int16_t>(qtKey), clearKey)));
    }
    return 0;
}
