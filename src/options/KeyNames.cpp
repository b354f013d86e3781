#include "options/KeyNames.h"

#include "game/KeyCodes.h"

QString KeyCodeToStr(int keyCode) {
    if (keyCode >= vk::KeyA && keyCode <= vk::KeyZ)
        return QString(QChar(keyCode));
    // F3 to F12 only: F1 and F2 belong to help and options on the board.
    if (keyCode >= vk::F1 + 2 && keyCode <= vk::F1 + 11)
        return QStringLiteral("F") + QString::number(keyCode - vk::F1 + 1);
    switch (keyCode) {
    case vk::Back:
        return QStringLiteral("Backspace");
    case vk::Return:
        return QStringLiteral("Enter");
    case vk::Control:
        return QStringLiteral("Ctrl");
    case vk::Pause:
        return QStringLiteral("Pause/Break");
    case vk::Prior:
        return QStringLiteral("Page Up");
    case vk::Next:
        return QStringLiteral("Page Down");
    case vk::End:
        return QStringLiteral("End");
    case vk::Home:
        return QStringLiteral("Home");
    case vk::Insert:
        return QStringLiteral("Insert");
    case vk::Delete:
        return QStringLiteral("Delete");
    case vk::Multiply:
        return QStringLiteral("Numpad *");
    case vk::Divide:
        return QStringLiteral("Numpad /");
    case vk::OemSemicolon:
        return QStringLiteral(";");
    case vk::OemComma:
        return QStringLiteral(",");
    case vk::OemPeriod:
        return QStringLiteral(".");
    case vk::OemSlash:
        return QStringLiteral("/");
    case vk::OemBacktick:
        return QStringLiteral("`");
    case vk::OemOpenBracket:
        return QStringLiteral("[");
    case vk::OemBackslash:
        return QStringLiteral("\\");
    case vk::OemCloseBracket:
        return QStringLiteral("]");
    case vk::OemQuote:
        return QStringLiteral("\"");
    default:
        return QString();
    }
}
