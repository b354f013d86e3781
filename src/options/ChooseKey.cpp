#include "options/ChooseKey.h"

#include "game/KeyCodes.h"
#include "options/KeyNames.h"
#include "settings/SettingsText.h"

ChooseKeyExchange& chooseKeyExchange() {
    static ChooseKeyExchange exchange;
    return exchange;
}

QString chooseKeyPrompt(const QString& action) {
    return QStringLiteral("Press the key you would like to ") + action + QLatin1Char('.');
}

KeyVerdict judgeChosenKey(int keyCode, int currentKey) {
    if (keyCode == currentKey)
        return KeyVerdict::Accepted;
    if (KeyCodeToStr(keyCode).isEmpty() || keyCode == vk::F1 || keyCode == vk::F2)
        return KeyVerdict::Refused;
    return KeyVerdict::Accepted;
}

std::int16_t chosenKeyCode(const QString& chosenKey) {
    return SettingsText::parseInt16(chosenKey).value_or(0);
}
