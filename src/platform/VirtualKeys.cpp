#include "platform/VirtualKeys.h"

#include <Qt>

namespace {

// Keys of the numeric pad while it types (NumLock on). Qt marks them with the keypad
// modifier; without it the same Qt keys come from the main keyboard.
int keypadKey(int qtKey) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return vk::Numpad0 + (qtKey - Qt::Key_0);
    switch (qtKey) {
    case Qt::Key_Asterisk:
        return vk::Multiply;
    case Qt::Key_Plus:
        return vk::Add;
    case Qt::Key_Minus:
        return vk::Subtract;
    // Layouts with a decimal comma put a comma on the pad's point key.
    case Qt::Key_Period:
    case Qt::Key_Comma:
        return vk::Decimal;
    case Qt::Key_Slash:
        return vk::Divide;
    default:
        return 0;
    }
}

// Keys that give the same code wherever they come from: navigation (the numeric pad sends
// these with NumLock off), editing, modifiers and locks.
int commonKey(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Backspace:
        return vk::Back;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return vk::Tab;
    case Qt::Key_Clear:
        return vk::Clear;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return vk::Return;
    case Qt::Key_Shift:
        return vk::Shift;
    case Qt::Key_Control:
        return vk::Control;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
        return vk::Menu;
    case Qt::Key_Pause:
        return vk::Pause;
    case Qt::Key_CapsLock:
        return vk::Capital;
    case Qt::Key_Escape:
        return vk::Escape;
    case Qt::Key_Space:
        return vk::Space;
    case Qt::Key_PageUp:
        return vk::Prior;
    case Qt::Key_PageDown:
        return vk::Next;
    case Qt::Key_End:
        return vk::End;
    case Qt::Key_Home:
        return vk::Home;
    case Qt::Key_Left:
        return vk::Left;
    case Qt::Key_Up:
        return vk::Up;
    case Qt::Key_Right:
        return vk::Right;
    case Qt::Key_Down:
        return vk::Down;
    case Qt::Key_Print:
        return vk::Snapshot;
    case Qt::Key_Insert:
        return vk::Insert;
    case Qt::Key_Delete:
        return vk::Delete;
    case Qt::Key_Meta:
        return vk::LWin;
    case Qt::Key_Menu:
        return vk::Apps;
    case Qt::Key_NumLock:
        return vk::NumLock;
    case Qt::Key_ScrollLock:
        return vk::Scroll;
    default:
        return 0;
    }
}

// Keys of the main keyboard, by the US layout: a shifted key is the key it sits on.
int mainKey(int qtKey) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return vk::KeyA + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return vk::Key0 + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return vk::F1 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_ParenRight:
        return vk::Key0;
    case Qt::Key_Exclam:
        return vk::Key0 + 1;
    case Qt::Key_At:
        return vk::Key0 + 2;
    case Qt::Key_NumberSign:
        return vk::Key0 + 3;
    case Qt::Key_Dollar:
        return vk::Key0 + 4;
    case Qt::Key_Percent:
        return vk::Key0 + 5;
    case Qt::Key_AsciiCircum:
        return vk::Key0 + 6;
    case Qt::Key_Ampersand:
        return vk::Key0 + 7;
    case Qt::Key_Asterisk:
        return vk::Key0 + 8;
    case Qt::Key_ParenLeft:
        return vk::Key0 + 9;
    case Qt::Key_Semicolon:
    case Qt::Key_Colon:
        return vk::OemSemicolon;
    case Qt::Key_Equal:
    case Qt::Key_Plus:
        return vk::OemPlus;
    case Qt::Key_Comma:
    case Qt::Key_Less:
        return vk::OemComma;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        return vk::OemMinus;
    case Qt::Key_Period:
    case Qt::Key_Greater:
        return vk::OemPeriod;
    case Qt::Key_Slash:
    case Qt::Key_Question:
        return vk::OemSlash;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde:
        return vk::OemBacktick;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft:
        return vk::OemOpenBracket;
    case Qt::Key_Backslash:
    case Qt::Key_Bar:
        return vk::OemBackslash;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight:
        return vk::OemCloseBracket;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl:
        return vk::OemQuote;
    default:
        return 0;
    }
}

} // namespace

int virtualKeyFromQt(int qtKey, bool keypad) {
    if (keypad) {
        if (const int code = keypadKey(qtKey))
            return code;
    }
    if (const int code = commonKey(qtKey))
        return code;
    // A key the pad cannot send is taken as the main keyboard's, should a platform mark
    // it with the keypad modifier all the same.
    return mainKey(qtKey);
}
